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

void append_display_line(std::string& out, const Document& doc, int index,
                         const DisplayLine& line) {
  out += std::to_string(index);
  out += '\t';
  out += flag_letters(line.flags);
  out += '\t';
  const std::size_t text = out.size();
  if (const char16_t* t = line_text(doc, line))
    append_utf8(out, t, static_cast<std::size_t>(line_length(doc, line)));
  // One output line per display line, whatever the text holds.
  for (std::size_t i = text; i < out.size(); ++i)
    if (static_cast<unsigned char>(out[i]) < 0x20 || out[i] == 0x7F) out[i] = ' ';
}

std::string format_display_line(const Document& doc, int index, const DisplayLine& line) {
  std::string s;
  append_display_line(s, doc, index, line);
  return s;
}

void dump_lines(const ViewContext& view, std::FILE* out) {
  // Written in blocks of about 64 KiB: a million characters is over 2 MiB.
  std::string block;
  for (int i = 0; i < view.doc.line_count; ++i) {
    append_display_line(block, view.doc, i, view.doc.lines[i]);
    block += '\n';
    if (block.size() >= (64u << 10) || i + 1 == view.doc.line_count) {
      std::fwrite(block.data(), 1, block.size(), out);
      block.clear();
    }
  }
}

}  // namespace yomite::render
