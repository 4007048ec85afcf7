// Attribute codes: one 16-bit code per character of a resolved line, saying
// what markup the character carries.
#pragma once

#include <cstdint>

namespace yomite {

constexpr std::uint16_t CODE_PLAIN = 0;
constexpr std::uint16_t LINE_STYLE_FIRST = 16;  // 16..35: side lines and emphasis marks
constexpr std::uint16_t LINE_STYLE_LAST = 35;
constexpr std::uint16_t CODE_EMPHASIS_DOTS = 16;  // also the bracket notation's emphasis
// Extension (the full notation only): a warichu character, set inline at the
// ruby font's size. An unused code between the line styles and 64.
constexpr std::uint16_t CODE_WARICHU = 36;
// Extension (the full notation only): side lines drawn as they are named
// (line, double, chain, dashed, wavy), beside the text where ruby goes, then
// the same on its other side. Unused codes between the warichu and 64.
constexpr std::uint16_t CODE_NAMED_LINE_FIRST = 37;
constexpr int NAMED_LINE_KINDS = 5;
constexpr std::uint16_t CODE_NAMED_LINE_LAST = CODE_NAMED_LINE_FIRST + 2 * NAMED_LINE_KINDS - 1;
// Extension (the full notation only): characters set smaller or larger than
// the main font (小さな文字, 大きな文字), at the same column pitch.
constexpr std::uint16_t CODE_SMALLER = 47;
constexpr std::uint16_t CODE_LARGER = 48;
constexpr std::uint16_t CONTINUATION_CODE = 64;  // belongs to the ruby base begun earlier
constexpr std::uint16_t RUBY_CODE_FIRST = 65;    // reading: annotation_texts[code - 65]
constexpr std::uint16_t RUBY_CODE_LAST = 16448;
constexpr std::uint16_t NOTE_CODE_FIRST = 16584;  // entry: annotation_texts[16384 + code - 16584]
constexpr std::uint16_t NOTE_CODE_LAST = 17095;

constexpr bool is_named_line_code(int code) {
  return code >= CODE_NAMED_LINE_FIRST && code <= CODE_NAMED_LINE_LAST;
}
constexpr bool is_line_style_code(int code) {
  return (code >= LINE_STYLE_FIRST && code <= LINE_STYLE_LAST) || is_named_line_code(code);
}
// Characters set in a font of another size: warichu, smaller, larger.
constexpr bool is_sized_code(int code) {
  return code == CODE_WARICHU || code == CODE_SMALLER || code == CODE_LARGER;
}
constexpr bool is_ruby_code(int code) {
  return code >= RUBY_CODE_FIRST && code <= RUBY_CODE_LAST;
}
constexpr bool is_note_code(int code) {
  return code >= NOTE_CODE_FIRST && code <= NOTE_CODE_LAST;
}

}  // namespace yomite
