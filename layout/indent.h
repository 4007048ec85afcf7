// Indented and foot-aligned lines, and headings, of the full notation: where
// each display line of a logical line starts and how long its column is.
#pragma once

#include <cstdint>

#include "layout/break.h"
#include "view/view_context.h"

namespace yomite {

// What a logical line asks of the layout, in full-width cells.
struct LineIndent {
  int first = 0;         // before the first display line
  int wrap = 0;          // before the display lines that continue it
  int foot = -1;         // >= 0: the last display line ends this many cells above the foot
  int heading_from = 0;  // units of the logical line drawn in the heading face
  int heading_to = 0;
};

// A column keeps at least this many full-width cells after an indent.
constexpr int INDENT_KEEPS_CELLS = 2;

// Cuts the line like break_logical_line, shorter by its indents, and records
// on each display line where its text starts (`indent`), how much shorter it
// is (`shortened`) and which of its characters are a heading. Returns the
// index of the display line holding heading_from (-1 without a heading) in
// `heading_line`. Returns 1, or 0 when the display-line array could not grow.
int break_indented_line(ViewContext& view, LayoutPass& pass, const char16_t* text, int length,
                        std::uint16_t* codes, int has_codes, int quote_state,
                        const LineIndent& indent, int& heading_line);

}  // namespace yomite
