// A composition as a record: what standard composition and book composition
// each do at the steps where they differ. create_view_fonts chooses the
// view's record once, from settings.book_composition, into
// typeset.composition; the steps call through it, so nothing after that asks
// which composition is in force.
#pragma once

#include <cstdint>
#include <vector>

#include "layout/break.h"
#include "view/view_context.h"

namespace yomite {

struct DecoratedLine;  // layout/decorated_line.h

struct Composition {
  // Cuts a logical line into display lines with the column lengths of
  // `limits` (break_with_limits).
  int (*break_line)(ViewContext& view, LayoutPass& pass, const char16_t* text, int length,
                    std::uint16_t* codes, int has_codes, int quote_state,
                    const BreakLimits& limits);
  // The advances of display line `index` as it is drawn and hit-tested
  // (justify_display_line).
  int (*justify)(MeasureContext& measure, ViewContext& view, int index, int* advances);
  // Width of a display line at its natural spacing, px (a line set against
  // the foot).
  int (*natural_width)(MeasureContext& measure, ViewContext& view, const DisplayLine& line);
  // Readies display line `index` for placing its readings, before any of its
  // decorations is drawn; null when they are placed by the advances the line
  // is drawn with.
  void (*set_ruby_line)(DecoratedLine& line, int index);
  // Where the reading of the ruby head at unit `head` (a base of `units`
  // units) begins, px along the line; `reading` holds the reading's advances
  // and may be spread over a wider base.
  int (*place_ruby)(DecoratedLine& line, int head, int units, const char16_t* reading_text,
                    std::vector<int>& reading);
  // px between a column's text and the next slot's ruby band.
  int (*slot_gap)(int char_height);
  // The ruby size the fonts are made at, in percent of the main size, for
  // the setting `ruby_percent`.
  int (*ruby_percent)(int ruby_percent);
};

extern const Composition STANDARD_COMPOSITION;
extern const Composition BOOK_COMPOSITION;

}  // namespace yomite
