// Book composition's character classes and where a column may end.
#include "decode/utf16.h"
#include "layout/book_line.h"
#include "view/attr_codes.h"

namespace yomite {

namespace {

// Marks that may not begin a column besides the standard ones: small kana,
// 〻 ゠, the hyphens ‐ – 〜, the closing brackets, middle dots and
// exclamation marks the standard list lacks, and the ASCII : ; / that a
// column of Latin text may not begin with either.
constexpr char16_t NO_START_MORE[] =
    u"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶ〻゠‐–〜”〟〙〗｠：；‼⁇⁈⁉:;/";
// Small katakana for Ainu, U+31F0..U+31FF, also may not begin a column.
constexpr char16_t SMALL_KANA_EXT_FIRST = 0x31F0;
constexpr char16_t SMALL_KANA_EXT_LAST = 0x31FF;
// Opening brackets besides the standard ones.
constexpr char16_t NO_END_MORE[] = u"〘〖〝‘“｟";

constexpr char16_t HANGING[] = u"。、，．｡､";

constexpr char16_t OPENERS[] = u"「『（〔［｛〈《【〘〖〝‘“｟";
constexpr char16_t CLOSERS[] = u"」』）〕］｝〉》】〙〗〟’”｠";
constexpr char16_t COMMAS[] = u"、，";
constexpr char16_t STOPS[] = u"。．";
constexpr char16_t MIDDLES[] = u"・：；";
constexpr char16_t DASHES[] = u"―—";
constexpr char16_t ELLIPSES[] = u"…‥";
// Signs that stay with the number they follow or precede.
constexpr char16_t POSTFIXES[] = u"%％‰℃°′″¢円";
constexpr char16_t PREFIXES[] = u"$＄￥￡¥#＃№";

bool in(const char16_t* list, char16_t c) {
  if (c == 0) return false;
  for (; *list; ++list)
    if (*list == c) return true;
  return false;
}

bool is_digit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９');
}

// Letters, digits and signs of a Latin word or a number: printable ASCII.
bool is_ascii_print(char16_t c) {
  return c > 0x20 && c < 0x7F;
}

BookKind kind_of(char16_t c) {
  if (c == u' ' || c == 0x3000) return BK_SPACE;
  if (is_ascii_print(c)) return BK_ASCII;
  if (is_low_surrogate(c)) return BK_PAIR_TAIL;  // corrected by the caller for a lone one
  if (in(OPENERS, c)) return BK_OPENER;
  if (in(CLOSERS, c)) return BK_CLOSER;
  if (in(COMMAS, c)) return BK_COMMA;
  if (in(STOPS, c)) return BK_STOP;
  if (in(MIDDLES, c)) return BK_MIDDLE;
  if (c >= u'０' && c <= u'９') return BK_DIGIT;
  if (in(DASHES, c)) return BK_DASH;
  if (in(ELLIPSES, c)) return BK_ELLIPSIS;
  return BK_OTHER;
}

constexpr std::uint8_t KIND_BITS = BOOK_KIND_BITS;
constexpr std::uint8_t NO_START = 0x10;
constexpr std::uint8_t NO_END = 0x20;
constexpr std::uint8_t HANGS = 0x40;
constexpr std::uint8_t NUMBER_SIGN = 0x80;  // a digit, or a sign that stays with one

// Everything book composition asks of a character, worked out from the lists
// above before main runs.
struct Table {
  std::uint8_t entry[65536];
  Table() {
    for (int u = 0; u < 65536; ++u) {
      const char16_t c = static_cast<char16_t>(u);
      std::uint8_t e = kind_of(c);
      if (is_line_start_forbidden(c) || in(NO_START_MORE, c) ||
          (c >= SMALL_KANA_EXT_FIRST && c <= SMALL_KANA_EXT_LAST))
        e |= NO_START;
      if (is_line_end_forbidden(c) || in(NO_END_MORE, c)) e |= NO_END;
      if (in(HANGING, c)) e |= HANGS;
      if (is_digit(c) || in(POSTFIXES, c) || in(PREFIXES, c)) e |= NUMBER_SIGN;
      entry[u] = e;
    }
  }
};

const Table TABLE;

std::uint8_t lookup(char16_t c) {
  return TABLE.entry[c];
}

}  // namespace

const std::uint8_t* const BOOK_CLASSES = TABLE.entry;

bool book_is_kana(char16_t c) {
  return (c >= 0x3041 && c <= 0x309F) || (c >= 0x30A0 && c <= 0x30FF && c != 0x30FB) ||
         (c >= SMALL_KANA_EXT_FIRST && c <= SMALL_KANA_EXT_LAST);
}

int book_no_start(char16_t c) {
  return c != 0 && (lookup(c) & NO_START) != 0;
}

int book_no_end(char16_t c) {
  return c != 0 && (lookup(c) & NO_END) != 0;
}

int book_hangs(char16_t c) {
  return (lookup(c) & HANGS) != 0;
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
  const std::uint8_t e0 = lookup(c0), e1 = lookup(c1);
  const int k0 = e0 & KIND_BITS, k1 = e1 & KIND_BITS;
  if (k0 == BK_DASH && k1 == BK_DASH) return 0;
  if (k0 == BK_ASCII && k1 == BK_ASCII) return 0;
  if (!(e0 & NUMBER_SIGN) || !(e1 & NUMBER_SIGN)) return 1;
  if (is_digit(c0) && (is_digit(c1) || in(POSTFIXES, c1))) return 0;
  if (in(PREFIXES, c0) && is_digit(c1)) return 0;
  return 1;
}

}  // namespace yomite
