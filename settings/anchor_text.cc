#include "settings/anchor_text.h"

#include "decode/decode.h"

namespace yomite {

namespace {

// Decimal digits from `at` up to the next comma, at most `max`; -1 otherwise.
long long field(const std::string& text, std::size_t& at, long long max) {
  const std::size_t comma = text.find(',', at);
  if (comma == std::string::npos || comma == at) return -1;
  long long n = 0;
  for (std::size_t i = at; i < comma; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    n = n * 10 + (text[i] - '0');
    if (n > max) return -1;
  }
  at = comma + 1;
  return n;
}

}  // namespace

std::string format_anchor(const TextAnchor& a) {
  if (a.logical < 0) return "";
  return std::to_string(a.logical) + "," + std::to_string(a.offset) + "," +
         utf16_to_utf8(a.excerpt.data(), a.excerpt.size());
}

int parse_anchor(const std::string& text, TextAnchor& a) {
  a = TextAnchor{};
  std::size_t at = 0;
  const long long logical = field(text, at, ANCHOR_LOGICAL_MAX);
  const long long offset = logical < 0 ? -1 : field(text, at, ANCHOR_OFFSET_MAX);
  if (offset < 0) return 0;
  const std::string rest = text.substr(at);
  std::u16string wide(rest.size() + 1, u'\0');
  const int n =
      utf8_to_utf16(reinterpret_cast<const unsigned char*>(rest.data()),
                    static_cast<int>(rest.size()), wide.data(), static_cast<int>(wide.size()));
  for (int i = 0; i < n && static_cast<int>(a.excerpt.size()) < ANCHOR_EXCERPT_MAX; ++i) {
    const char16_t c = wide[static_cast<std::size_t>(i)];
    if (c < 0x20 || c == 0x7F || is_excerpt_blank(c)) continue;
    a.excerpt += c;
  }
  a.logical = static_cast<int>(logical);
  a.offset = static_cast<int>(offset);
  return 1;
}

}  // namespace yomite
