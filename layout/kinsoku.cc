// The line-breaking character classes: the entry of every UTF-16 unit, and
// standard composition's rules on them.
#include "layout/break.h"
#include "layout/break_chars.h"

namespace yomite {

namespace {

constexpr std::array<BreakEntry, BREAK_ENTRY_COUNT> break_entries() {
  std::array<BreakEntry, BREAK_ENTRY_COUNT> entries{};
  for (int u = 0x21; u < 0x7F; ++u) entries[u] = BK_ASCII;
  for (int u = 0xDC00; u <= 0xDFFF; ++u) entries[u] = BK_PAIR_TAIL;
  for (const BreakChars& row : BREAK_CHARS)
    for (const char16_t* c = row.chars; *c; ++c) entries[*c] = row.entry;
  return entries;
}

// No character is listed twice, or as something its code says it is not.
constexpr bool each_listed_once() {
  std::array<bool, BREAK_ENTRY_COUNT> listed{};
  for (const BreakChars& row : BREAK_CHARS) {
    for (const char16_t* c = row.chars; *c; ++c) {
      const bool ascii = *c > 0x20 && *c < 0x7F;
      if (listed[*c] || ascii != ((row.entry & KIND_BITS) == BK_ASCII) ||
          (*c >= 0xDC00 && *c <= 0xDFFF))
        return false;
      listed[*c] = true;
    }
  }
  return true;
}
static_assert(each_listed_once());

constexpr int listed_with(BreakEntry rule) {
  int n = 0;
  for (const BreakChars& row : BREAK_CHARS)
    if (row.entry & rule)
      for (const char16_t* c = row.chars; *c; ++c) ++n;
  return n;
}
// Standard composition's lists: 51 characters may not begin a display line
// (among them the ASCII space, "…" and "‥"), 14 may not end one (among them
// the apostrophe).
static_assert(listed_with(NEVER_STARTS) == 51);
static_assert(listed_with(NEVER_ENDS) == 14);

}  // namespace

constexpr std::array<BreakEntry, BREAK_ENTRY_COUNT> BREAK_ENTRIES = break_entries();

int is_line_start_forbidden(char16_t c) {
  return (break_entry(c) & NEVER_STARTS) != 0;
}

int is_line_end_forbidden(char16_t c) {
  return (break_entry(c) & NEVER_ENDS) != 0;
}

int is_pair_char(char16_t c) {
  return c < 128 && ((c >= u'0' && c <= u'9') || c == u'!' || c == u'?');
}

int is_ascii_char(char16_t c) {
  return c >= 1 && c <= 127;
}

void find_upright_pairs(const char16_t* text, int length, std::uint8_t* pair_start) {
  for (int i = 0; i < length; ++i) pair_start[i] = 0;
  for (int i = 0; i < length;) {
    bool pair = (i == 0 || !is_ascii_char(text[i - 1])) && is_pair_char(text[i]) &&
                i + 1 < length && is_pair_char(text[i + 1]) &&
                (i + 2 >= length || !is_ascii_char(text[i + 2]));
    if (pair) {
      pair_start[i] = 1;
      i += 3;
    } else {
      i += 1;
    }
  }
}

}  // namespace yomite
