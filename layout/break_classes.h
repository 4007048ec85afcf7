// What each UTF-16 unit is to line breaking, in both compositions: one
// entry per unit, worked out at compile time from the character lists of
// layout/break_chars.h (private to layout/). The rules that read the entries
// are in kinsoku.cc (standard composition) and book_kinsoku.cc (book
// composition).
#pragma once

#include <array>
#include <cstdint>

namespace yomite {

// What a character is to book composition's spacing.
enum BookKind : std::uint8_t {
  BK_OTHER = 0,  // kanji, kana, symbols
  BK_OPENER,     // opening bracket: space before its ink
  BK_CLOSER,     // closing bracket: space after its ink
  BK_COMMA,      // 、，
  BK_STOP,       // 。．
  BK_MIDDLE,     // ・：； a quarter em on each side
  BK_SPACE,      // U+0020, U+3000
  BK_ASCII,      // any other printable ASCII: Latin words, numbers, signs
  BK_DIGIT,      // full-width digits
  BK_DASH,       // ― —, never split from each other
  BK_ELLIPSIS,   // … ‥
  BK_PAIR_TAIL,  // the second unit of a surrogate pair
};

// An entry: the BookKind in the low bits, the rules above them.
using BreakEntry = std::uint16_t;
constexpr BreakEntry KIND_BITS = 0x000F;
constexpr BreakEntry NEVER_STARTS = 1 << 4;       // may not begin a line
constexpr BreakEntry NEVER_ENDS = 1 << 5;         // may not end a line
constexpr BreakEntry BOOK_NEVER_STARTS = 1 << 6;  // nor begin a column in book composition
constexpr BreakEntry BOOK_NEVER_ENDS = 1 << 7;    // nor end one in book composition
constexpr BreakEntry HANGS = 1 << 8;  // book composition: may hang past the column end
constexpr BreakEntry DIGIT = 1 << 9;
constexpr BreakEntry POSTFIX = 1 << 10;  // a sign that stays with the number before it
constexpr BreakEntry PREFIX = 1 << 11;   // a sign that stays with the number after it

constexpr int BREAK_ENTRY_COUNT = 65536;
extern const std::array<BreakEntry, BREAK_ENTRY_COUNT> BREAK_ENTRIES;

inline BreakEntry break_entry(char16_t c) {
  return BREAK_ENTRIES[c];
}

}  // namespace yomite
