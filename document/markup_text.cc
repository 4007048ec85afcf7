#include "document/markup_text.h"

#include <algorithm>
#include <cstring>

#include "document/markup.h"

namespace yomite::markup {

int find(const Line& line, int from, std::u16string_view literal) {
  if (from < 0) from = 0;
  std::u16string_view text(line.text, static_cast<std::size_t>(line.length));
  if (static_cast<std::size_t>(from) > text.size()) return -1;
  std::size_t at = text.find(literal, static_cast<std::size_t>(from));
  return at == std::u16string_view::npos ? -1 : static_cast<int>(at);
}

int find_last(const Line& line, int from, int end, std::u16string_view literal) {
  int n = static_cast<int>(literal.size());
  if (end > line.length) end = line.length;
  for (int at = end - n; at >= from && at >= 0; --at)
    if (std::u16string_view(line.text + at, literal.size()) == literal) return at;
  return -1;
}

void remove_span(Line& line, int from, int to) {
  if (from < 0) from = 0;
  if (to > line.length) to = line.length;
  if (to <= from) return;
  int tail = line.length - to;  // units after the span, without the terminator
  std::memmove(line.text + from, line.text + to, (static_cast<std::size_t>(tail) + 1) * 2);
  std::memmove(line.codes + from, line.codes + to, static_cast<std::size_t>(tail) * 2);
  // Cells freed at the end read as plain, as cleared cells past the text do.
  std::fill(line.codes + from + tail, line.codes + line.length, CODE_PLAIN);
  line.length -= to - from;
}

int resume_after_removal(int first_unremoved, int removed_at, std::u16string_view literal) {
  int joined = removed_at - static_cast<int>(literal.size()) + 1;
  return std::max(0, std::min(first_unremoved, joined));
}

int remove_all(Line& line, std::u16string_view literal) {
  int removed = 0;
  int from = 0;
  for (int at; (at = find(line, from, literal)) >= 0; ++removed) {
    remove_span(line, at, at + static_cast<int>(literal.size()));
    from = resume_after_removal(at, at, literal);
  }
  return removed;
}

int units_back(const Line& line, int end, int chars) {
  int at = end;
  for (; chars > 0 && at > 0; --chars) {
    --at;
    if (at > 0 && is_low_surrogate(line.text[at]) && is_high_surrogate(line.text[at - 1])) --at;
  }
  return end - at;
}

int count_chars(const Line& line, int from, int to) {
  int chars = 0;
  for (int at = from; at < to; ++at, ++chars)
    if (at + 1 < to && is_high_surrogate(line.text[at]) && is_low_surrogate(line.text[at + 1]))
      ++at;
  return chars;
}

void mark_continuations(const Line& line) {
  for (int at = 0; at < line.length; ++at) {
    std::uint16_t code = line.codes[at];
    if (!is_ruby_code(code)) continue;
    while (at + 1 < line.length && line.codes[at + 1] == code) line.codes[++at] = CONTINUATION_CODE;
  }
}

char16_t* store_entry(ViewContext& view, const char16_t* text, int n) {
  return arena_copy_text(view.doc.arena, text, static_cast<std::size_t>(n));
}

Line begin_line(char16_t* text, std::uint16_t* codes) {
  Line line{text, codes, static_cast<int>(std::char_traits<char16_t>::length(text))};
  fill_codes(codes, CODE_PLAIN, line.length + CODES_SLACK);
  return line;
}

}  // namespace yomite::markup
