// Indents, foot alignment and heading ranges of the full notation's lines.
#include "layout/indent.h"

#include <algorithm>
#include <string>
#include <vector>

#include "layout/composition.h"

namespace yomite {

namespace {

constexpr int RECORD_PX_MAX = 65535;   // LineNotation::indent and ::shortened
constexpr int RECORD_CHARS_MAX = 255;  // LineNotation::heading_from and ::heading_to

// Pixels of `cells` full-width cells, at most what leaves the column
// INDENT_KEEPS_CELLS cells of its `limit` px.
int cells_px(const ViewContext& v, int cells, int limit) {
  long most = std::max(0L, static_cast<long>(limit) - INDENT_KEEPS_CELLS * v.typeset.char_height);
  long px = std::min(static_cast<long>(std::max(cells, 0)) * v.typeset.char_height, most);
  return static_cast<int>(std::min(px, static_cast<long>(RECORD_PX_MAX)));
}

std::uint16_t record_px(long px) {
  return static_cast<std::uint16_t>(std::clamp(px, 0L, static_cast<long>(RECORD_PX_MAX)));
}

std::uint8_t record_chars(int n) {
  return static_cast<std::uint8_t>(std::clamp(n, 0, RECORD_CHARS_MAX));
}

}  // namespace

int standard_natural_width(MeasureContext& measure, ViewContext& v, const DisplayLine& line) {
  TextExtent e;
  measure_text(measure, line_text(v.doc, line), -1, e, v);
  return e.cx;
}

int break_indented_line(ViewContext& v, LayoutPass& pass, const char16_t* text, int length,
                        std::uint16_t* codes, int has_codes, int quote_state,
                        const LineIndent& indent, int& heading_line) {
  heading_line = -1;
  const int limit = column_length(v, quote_state);
  const int foot = indent.foot >= 0 ? cells_px(v, indent.foot, limit) : 0;
  const int first = cells_px(v, indent.first, limit - foot);
  const int wrap = cells_px(v, indent.wrap, limit - foot);
  std::vector<int> starts;
  const int begin = pass.line_index;
  if (!break_with_limits(v, pass, text, length, codes, has_codes, quote_state,
                         {limit - first - foot, limit - wrap - foot, &starts}))
    return 0;
  const bool heading = indent.heading_from < indent.heading_to;
  for (int i = begin; i < pass.line_index; ++i) {
    DisplayLine& line = v.doc.lines[i];
    const std::size_t k = static_cast<std::size_t>(i - begin);
    const int lead = k == 0 ? first : wrap;
    LineNotation n;
    n.indent = record_px(lead);
    n.shortened = record_px(lead + foot);
    if (heading && k < starts.size()) {
      const int start = starts[k];
      const int len = line_length(v.doc, line);
      const int from = std::clamp(indent.heading_from - start, 0, len);
      const int to = std::clamp(indent.heading_to - start, 0, len);
      if (from < to) {
        n.heading_from = record_chars(from);
        n.heading_to = record_chars(to);
        if (heading_line < 0) heading_line = i;
      }
    }
    if (!set_line_notation(v.doc, line, n)) return 0;
  }
  // Set against the foot: the last column ends `foot` px above the column's end.
  if (indent.foot >= 0 && pass.line_index > begin) {
    DisplayLine& last = v.doc.lines[pass.line_index - 1];
    long room = static_cast<long>(limit) - foot -
                v.typeset.composition->natural_width(*pass.measure, v, last);
    LineNotation n = line_notation(v.doc, last);
    if (room > n.indent) {
      n.indent = record_px(room);
      if (!set_line_notation(v.doc, last, n)) return 0;
    }
  }
  return 1;
}

}  // namespace yomite
