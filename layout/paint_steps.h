// Helpers shared by painting and hit testing (private to layout/).
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "layout/break.h"
#include "view/view_context.h"

namespace yomite {

inline int line_length(const DisplayLine& line) {
  return line.text ? static_cast<int>(std::char_traits<char16_t>::length(line.text)) : 0;
}

// The advances of display line `index` as painting and hit testing use them,
// in `advances` (grown to length + 1 entries: a line of any length fits).
// Returns 1 when they were stretched.
inline int line_advances(MeasureContext& dc, ViewContext& view, int index,
                         std::vector<int>& advances) {
  std::size_t need = static_cast<std::size_t>(line_length(view.lines[index])) + 1;
  if (advances.size() < need) advances.resize(need);
  std::fill(advances.begin(), advances.begin() + static_cast<long>(need), 0);
  return justify_display_line(dc, view, index, advances.data());
}

}  // namespace yomite
