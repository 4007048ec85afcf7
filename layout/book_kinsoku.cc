// Book composition's rules on the line-breaking character classes: what may
// begin, end or hang past a column, and where a column may end.
#include "decode/utf16.h"
#include "layout/book_line.h"
#include "view/attr_codes.h"

namespace yomite {

namespace {

// Small katakana for Ainu: kana too.
constexpr char16_t SMALL_KANA_EXT_FIRST = 0x31F0;
constexpr char16_t SMALL_KANA_EXT_LAST = 0x31FF;

// Book composition's lists hold the standard ones and more.
constexpr BreakEntry NO_START = NEVER_STARTS | BOOK_NEVER_STARTS;
constexpr BreakEntry NO_END = NEVER_ENDS | BOOK_NEVER_ENDS;
constexpr BreakEntry NUMBER_SIGN = DIGIT | POSTFIX | PREFIX;

}  // namespace

bool book_is_kana(char16_t c) {
  return (c >= 0x3041 && c <= 0x309F) || (c >= 0x30A0 && c <= 0x30FF && c != 0x30FB) ||
         (c >= SMALL_KANA_EXT_FIRST && c <= SMALL_KANA_EXT_LAST);
}

int book_no_start(char16_t c) {
  return (break_entry(c) & NO_START) != 0;
}

int book_no_end(char16_t c) {
  return (break_entry(c) & NO_END) != 0;
}

int book_hangs(char16_t c) {
  return (break_entry(c) & HANGS) != 0;
}

int book_break_allowed(const char16_t* text, const std::uint16_t* codes, int length, int p) {
  if (p <= 0 || p >= length) return 1;
  const char16_t c1 = text[p];
  if (c1 == u' ' || c1 == 0x3000) return 0;  // the column ends after the spaces
  if (is_low_surrogate(c1) && is_high_surrogate(text[p - 1])) return 0;
  if (book_no_start(c1)) return 0;
  if (codes && codes[p] == CONTINUATION_CODE) return 0;  // inside a ruby base
  int k = p - 1;
  while (k >= 0 && (text[k] == u' ' || text[k] == 0x3000)) --k;
  if (k < 0) return 1;
  const char16_t c0 = text[k];
  if (book_no_end(c0)) return 0;  // an opening bracket, even before spaces
  if (k < p - 1) return 1;        // spaces between: a place to break
  const BreakEntry e0 = break_entry(c0), e1 = break_entry(c1);
  const int k0 = e0 & KIND_BITS, k1 = e1 & KIND_BITS;
  if (k0 == BK_DASH && k1 == BK_DASH) return 0;
  if (k0 == BK_ASCII && k1 == BK_ASCII) return 0;
  if (!(e0 & NUMBER_SIGN) || !(e1 & NUMBER_SIGN)) return 1;
  if ((e0 & DIGIT) && (e1 & (DIGIT | POSTFIX))) return 0;
  if ((e0 & PREFIX) && (e1 & DIGIT)) return 0;
  return 1;
}

}  // namespace yomite
