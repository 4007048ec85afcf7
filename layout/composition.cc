// The two compositions as records.
#include "layout/composition.h"

#include "layout/book.h"
#include "layout/decorated_line.h"
#include "layout/paint.h"

namespace yomite {

namespace {

int standard_slot_gap(int) {
  return SLOT_GAP;
}

int standard_ruby_percent(int ruby_percent) {
  return ruby_percent;
}

}  // namespace

constinit const Composition STANDARD_COMPOSITION = {
    .break_line = standard_break_logical_line,
    .justify = standard_justify_display_line,
    .natural_width = standard_natural_width,
    .set_ruby_line = nullptr,  // readings go by the advances the line is drawn with
    .place_ruby = standard_place_ruby,
    .slot_gap = standard_slot_gap,
    .ruby_percent = standard_ruby_percent,
};

constinit const Composition BOOK_COMPOSITION = {
    .break_line = book_break_logical_line,
    .justify = book_justify_display_line,
    .natural_width = book_natural_width,
    .set_ruby_line = book_set_ruby_line,
    .place_ruby = book_place_line_ruby,
    .slot_gap = book_slot_gap,
    .ruby_percent = book_ruby_percent,
};

}  // namespace yomite
