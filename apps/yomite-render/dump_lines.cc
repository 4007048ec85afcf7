#include "apps/yomite-render/dump_lines.h"

#include "decode/decode.h"

namespace yomite::render {

std::string flag_letters(std::uint16_t flags) {
  std::string s;
  if (flags & DL_PARAGRAPH_END) s += 'P';
  if (flags & DL_MARK) s += 'M';
  if (flags & DL_QUOTE) s += 'Q';
  return s.empty() ? "-" : s;
}

namespace {

// One output line per display line, whatever the text holds.
void blank_controls(std::string& s) {
  for (char& c : s)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
}

}  // namespace

std::string format_display_line(int index, const DisplayLine& line) {
  std::string text;
  if (line.text) text = utf16_to_utf8(line.text, std::char_traits<char16_t>::length(line.text));
  blank_controls(text);
  return std::to_string(index) + "\t" + flag_letters(line.flags) + "\t" + text;
}

void dump_lines(const ViewContext& view, std::FILE* out) {
  for (int i = 0; i < view.doc.line_count; ++i) {
    std::string s = format_display_line(i, view.doc.lines[i]);
    s += '\n';
    std::fwrite(s.data(), 1, s.size(), out);
  }
}

}  // namespace yomite::render
