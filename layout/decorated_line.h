// A display line as its decorations (side lines, emphasis marks, ruby) are
// placed and drawn over its slot (private to layout/).
#pragma once

#include <cstdint>
#include <vector>

#include "layout/book_line.h"
#include "layout/fonts.h"
#include "platform/canvas.h"

namespace yomite {

struct DecoratedLine {
  ViewContext& v;
  MeasureContext& measure;
  platform::Canvas& win;
  const char16_t* text;
  const std::uint16_t* codes;
  int length;
  const int* use;  // the advances decorations are placed by, or null for plain widths
  int x0;          // vertical: the slot's right edge; horizontal: top of the text row
  int indent;      // px before the text: quotation (vertical) and full-notation indents
  // Book composition places the readings by the line its layout set, and
  // `use` by that line's advances.
  BookLine book{};
  std::vector<int> book_advances{};
};

// Standard composition: a reading spread over its base, or overhanging it
// evenly after plain text.
int standard_place_ruby(DecoratedLine& line, int head, int units, const char16_t* reading_text,
                        std::vector<int>& reading);

// Book composition: lays the line out again to place its readings, and where
// one goes in it.
void book_set_ruby_line(DecoratedLine& line, int index);
int book_place_line_ruby(DecoratedLine& line, int head, int units, const char16_t* reading_text,
                         std::vector<int>& reading);

}  // namespace yomite
