// Book composition (an extension beside standard composition, switched on by
// settings.book_composition and in force as BOOK_COMPOSITION, the view's
// composition record: layout/composition.h): line composition as Japanese
// books are set.
//
// - Columns are exactly column_length long: a full column ends on the grid.
// - Strict kinsoku: besides the standard marks, small kana, iteration marks
//   and hyphens never begin a column, opening brackets never end one.
// - Only 。、，．｡､ hang, one at most, past the column end. Another mark that
//   may not begin a column is pushed in (the column's punctuation gives up
//   some of its space) or the character before it is pushed out (the column
//   is spread), whichever changes the spacing less.
// - Never split: "――", "……", a number, a run of ASCII (a Latin word), a ruby
//   base with a group reading; a space at a break belongs to neither column.
//   A jukugo reading (two morae per kanji) divides between its kanji, each
//   part keeping its own kanji's morae.
// - Adjacent brackets and punctuation share their half-em spaces (」「, 。」).
// - Justification spreads a column first at its punctuation, then between
//   kana and kanji, never inside a Latin word or a number; the last column of
//   a paragraph keeps its natural spacing.
// - A ruby reading longer than its base may overhang kana and punctuation
//   beside it by one ruby character; otherwise, and at a column's ends, the
//   base takes more room instead.
//
// Units: px along the line (down a column, or rightward in a row). A
// full-width cell is 2 x half_width; brackets and punctuation of exactly that
// width have half of it (a quarter on each side for middle dots) as space
// beside their ink.
#pragma once

#include <cstdint>
#include <vector>

#include "layout/break.h"
#include "view/view_context.h"

namespace yomite {

// Ruby is this share of the text when the ruby size is left at its default.
constexpr int BOOK_RUBY_PERCENT = 50;
constexpr int RUBY_PERCENT_DEFAULT = 60;
// Characters a column may take in beyond its length by pushing in.
constexpr int BOOK_MAX_PUSH_IN = 4;

// The ruby size fonts use: the default size means BOOK_RUBY_PERCENT.
int book_ruby_percent(int ruby_percent);

// px between a column's text and the next slot's ruby band: a quarter em, so
// that the ruby never touches the column beside it (the standard gap at least).
constexpr int BOOK_SLOT_GAP_MIN = 2;
int book_slot_gap(int char_height);

// Why a column ended where it did (for tests and the vectors).
enum BookBreakReason : int {
  BOOK_BREAK_FITS = 0,  // the next character may begin a column
  BOOK_BREAK_HANG,      // one 。、，．｡､ hangs past the end
  BOOK_BREAK_PUSH_IN,   // characters taken in, the column's punctuation set tighter
  BOOK_BREAK_PUSH_OUT,  // characters moved on, the column spread
  BOOK_BREAK_FORCED,    // no place to break at all: cut where the column ends
};

struct BookBreak {
  int position;  // units from the logical line's start where the next column begins
  int reason;    // BookBreakReason
};

// Book composition's column breaking (break_with_limits, and so
// break_logical_line, dispatches here), with the column lengths of `limits`.
int book_break_logical_line(ViewContext& view, LayoutPass& pass, const char16_t* text, int length,
                            std::uint16_t* codes, int has_codes, int quote_state,
                            const BreakLimits& limits);

// Width of display line `line` at its natural spacing in book composition
// (before it is set to the column length), px.
int book_natural_width(MeasureContext& measure, ViewContext& view, const DisplayLine& line);

// Book composition's advances (justify_display_line dispatches here).
int book_justify_display_line(MeasureContext& measure, ViewContext& view, int index, int* advances);

// --- character classes ----------------------------------------------------

// Marks that may not begin a column, and that may not end one.
int book_no_start(char16_t c);
int book_no_end(char16_t c);
// The marks that may hang past the column end.
int book_hangs(char16_t c);

// Whether a column may end before text[p] (0 < p < length): p is not inside
// a surrogate pair, a ruby base (`codes` may be null), "――", a number or a run
// of ASCII, text[p] may begin a column and the last character before it
// (spaces skipped) may end one. A break never falls before a space: a column
// ends after the spaces, which belong to neither column.
int book_break_allowed(const char16_t* text, const std::uint16_t* codes, int length, int p);

// Where the reading of a ruby base divides before base character k
// (0 < k < base_length): the reading's unit that begins the later part, or
// -1 when the reading is a group reading that stays whole. A reading divides
// when the base is kanji alone and the reading hiragana with two morae per
// kanji (東京 とうきょう: とう|きょう); a small kana (ゃゅょ…) belongs to the
// mora before it. Readings given per character are bases of their own
// already; katakana readings (倫敦 ロンドン) are taken for a loanword's.
int book_reading_division(const char16_t* base, int base_length, const char16_t* reading, int k);

}  // namespace yomite
