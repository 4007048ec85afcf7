// Helpers shared by painting and hit testing (private to layout/).
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "decode/utf16.h"
#include "layout/break.h"
#include "view/view_context.h"

namespace yomite {

// The advances of display line `index` as painting and hit testing use them,
// in `advances` (grown to length + 1 entries: a line of any length fits).
// Returns 1 when they were stretched.
inline int line_advances(MeasureContext& measure, ViewContext& view, int index,
                         std::vector<int>& advances) {
  std::size_t need = static_cast<std::size_t>(line_length(view.doc, view.doc.lines[index])) + 1;
  if (advances.size() < need) advances.resize(need);
  std::fill(advances.begin(), advances.begin() + static_cast<long>(need), 0);
  return justify_display_line(measure, view, index, advances.data());
}

// Advances of a reading measured a character at a time in the ruby font (not
// through the width cache, which holds the main font); a surrogate pair
// advances whole on its first unit.
inline std::vector<int> reading_advances(platform::Font* font, const char16_t* r, int n) {
  std::vector<int> adv(static_cast<std::size_t>(n), 0);
  for (int k = 0; k < n;) {
    int units = char_units(r, k, n);
    int along = 0, across = 0;
    platform::font_text_extent(font, r + k, units, &along, &across);
    adv[static_cast<std::size_t>(k)] = along;
    k += units;
  }
  return adv;
}

// The search's matches on display line `index` (layout/highlights.cc):
// `across` is the text strip's left edge (vertical) or the row's top
// (horizontal), `along` where its first character starts.
void draw_highlights(ViewContext& view, platform::Canvas& win, int index, const int* advances,
                     int across, int along);

}  // namespace yomite
