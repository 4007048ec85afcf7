// Column layout: cutting a resolved logical line into display lines (columns
// in vertical writing, rows in horizontal writing) with the Japanese
// line-breaking rules, and the advances of a display line when it is drawn.
#pragma once

#include <cstdint>
#include <vector>

#include "layout/fonts.h"
#include "view/view_context.h"

namespace yomite {

// Margin along the text before the first character, in pixels.
constexpr int TEXT_MARGIN = 10;
// Characters that may hang past the column length, and opening brackets
// that may move to the next column, at most.
constexpr int MAX_HANGING = 3;
constexpr int MAX_MOVED_OPENERS = 3;
// Advances arrays hold this many entries; longer display lines are drawn
// without upright pairs.
constexpr int MAX_ADVANCES = 1024;

struct BookBreak;  // layout/book.h

// Values of one layout pass (one full load).
struct LayoutPass {
  MeasureContext* measure = nullptr;
  int half_cell = 0;   // px, width of "a": the cell of the counting rule
  int ruby_count = 0;  // ruby readings made so far in this load
  int line_index = 0;  // display lines stored so far
  // The logical line being laid out, as the loader resolved it: every display
  // line cut from it records its offset there (view/line_origins.h). Null:
  // the lines have no origin in the text.
  const char16_t* logical_text = nullptr;
  int logical_length = 0;
  // Book composition notes here why each column ended, when it is set.
  std::vector<BookBreak>* book_breaks = nullptr;
};

// Sets up a pass: measures the half-width cell and traces the column length.
LayoutPass begin_layout_pass(ViewContext& view, MeasureContext& measure);

// Column length in pixels for a logical line; a quotation block is indented
// two full-width cells and so is that much shorter.
int column_length(const ViewContext& view, int quote_state);

// Cuts `text` (length units, characters of code 32 or below already spaces)
// into display lines appended at pass.line_index. `codes` holds a code per
// character (modified: ruby divided at a break gets its own reading);
// `has_codes` says whether the line carried markup at all. Returns 1, or 0
// when the display-line array could not grow (the load stops there).
int break_logical_line(ViewContext& view, LayoutPass& pass, const char16_t* text, int length,
                       std::uint16_t* codes, int has_codes, int quote_state);

// Column lengths in px for the first display line of a logical line and for
// those that continue it; `starts`, when given, gets the unit offset in the
// logical line of each display line appended.
struct BreakLimits {
  int first;
  int rest;
  std::vector<int>* starts;
};

// break_logical_line with lengths of its own (indented lines).
int break_with_limits(ViewContext& view, LayoutPass& pass, const char16_t* text, int length,
                      std::uint16_t* codes, int has_codes, int quote_state,
                      const BreakLimits& limits);

// Fills advances[0..length] (length + 1 entries; the last repeats the last
// character's advance for the space drawing appends). Returns 1 when the line
// was stretched to the column length, 0 when the advances are plain widths.
int justify_display_line(MeasureContext& measure, ViewContext& view, int index, int* advances);

// Standard composition's steps (break_with_limits and justify_display_line
// call those of the view's composition, layout/composition.h): the width walk
// with hanging punctuation and moving brackets; full columns stretched to end
// flush; the width of a line as measured.
int standard_break_logical_line(ViewContext& view, LayoutPass& pass, const char16_t* text,
                                int length, std::uint16_t* codes, int has_codes, int quote_state,
                                const BreakLimits& limits);
int standard_justify_display_line(MeasureContext& measure, ViewContext& view, int index,
                                  int* advances);
int standard_natural_width(MeasureContext& measure, ViewContext& view, const DisplayLine& line);

// Kinsoku lists: characters that may not begin, or not end, a display line.
int is_line_start_forbidden(char16_t c);
int is_line_end_forbidden(char16_t c);

// An ASCII digit, "!" or "?": two of them alone between non-ASCII characters
// stand upright side by side in one cell.
int is_pair_char(char16_t c);
// A code from 1 to 127.
int is_ascii_char(char16_t c);

// Marks the upright pairs of a vertical display line: pair_start[i] = 1 when
// characters i and i + 1 form a pair. `text` is 0-terminated.
void find_upright_pairs(const char16_t* text, int length, std::uint8_t* pair_start);

}  // namespace yomite
