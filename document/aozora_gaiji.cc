// Gaiji: a character the text could not hold, described in an annotation by
// its JIS X 0213 cell or its code point.
#include <string>
#include <string_view>

#include "document/aozora.h"

namespace yomite {

namespace {

#include "document/jisx0213_table.inc"

constexpr int JIS_ROWS = 94;
constexpr char32_t PAIR_FLAG = 0x80000000;
constexpr char32_t UNICODE_MAX = 0x10FFFF;

void append_code_point(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
    return;
  }
  c -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

// 0..9 for an ASCII or full-width digit, else -1.
int digit_value(char16_t u) {
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'０' && u <= u'９') return u - u'０';
  return -1;
}

int hex_value(char16_t u) {
  if (digit_value(u) >= 0) return digit_value(u);
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  return -1;
}

bool is_hyphen(char16_t u) {
  return u == u'-' || u == u'－';
}

// A decimal number at text[at..]; advances `at`. -1 when there is no digit.
int read_number(std::u16string_view text, std::size_t& at) {
  int value = -1;
  for (; at < text.size() && digit_value(text[at]) >= 0; ++at) {
    value = (value < 0 ? 0 : value) * 10 + digit_value(text[at]);
    if (value > 9999) value = 9999;  // a page number, not a cell
  }
  return value;
}

// "P-R-C" standing alone (not part of a longer run of digits and hyphens).
std::u16string jis_cell_text(std::u16string_view d) {
  for (std::size_t i = 0; i < d.size(); ++i) {
    if (digit_value(d[i]) < 0 || (i > 0 && (digit_value(d[i - 1]) >= 0 || is_hyphen(d[i - 1]))))
      continue;
    std::size_t at = i;
    int plane = read_number(d, at);
    if (at >= d.size() || !is_hyphen(d[at])) continue;
    ++at;
    int row = read_number(d, at);
    if (row < 0 || at >= d.size() || !is_hyphen(d[at])) continue;
    ++at;
    int cell = read_number(d, at);
    if (cell < 0 || (at < d.size() && is_hyphen(d[at]))) continue;
    std::u16string text = jisx0213_text(plane, row, cell);
    if (!text.empty()) return text;
  }
  return {};
}

// "U+XXXX" with four to six hex digits.
std::u16string code_point_text(std::u16string_view d) {
  for (std::size_t i = 0; i + 2 < d.size(); ++i) {
    if ((d[i] != u'U' && d[i] != u'u') || d[i + 1] != u'+') continue;
    char32_t c = 0;
    std::size_t at = i + 2, digits = 0;
    for (; at < d.size() && hex_value(d[at]) >= 0 && digits < 7; ++at, ++digits)
      c = c * 16 + static_cast<char32_t>(hex_value(d[at]));
    if (digits < 4 || digits > 6 || c > UNICODE_MAX || (c >= 0xD800 && c <= 0xDFFF) || c == 0)
      continue;
    std::u16string text;
    append_code_point(text, c);
    return text;
  }
  return {};
}

}  // namespace

std::u16string jisx0213_text(int plane, int row, int cell) {
  if (plane < 1 || plane > 2 || row < 1 || row > JIS_ROWS || cell < 1 || cell > JIS_ROWS) return {};
  char32_t c = JISX0213_CELLS[plane - 1][row - 1][cell - 1];
  std::u16string text;
  if (c & PAIR_FLAG) {
    std::size_t k = (c & ~PAIR_FLAG) * 2;
    append_code_point(text, JISX0213_PAIRS[k]);
    append_code_point(text, JISX0213_PAIRS[k + 1]);
  } else if (c) {
    append_code_point(text, c);
  }
  return text;
}

std::u16string gaiji_text(std::u16string_view description) {
  std::u16string text = jis_cell_text(description);
  return text.empty() ? code_point_text(description) : text;
}

}  // namespace yomite
