// Measuring text for layout: one platform call per distinct character per
// font setting, through the view's width cache.
#include <cstdint>
#include <utility>

#include "decode/utf16.h"
#include "layout/fonts.h"

namespace yomite {

namespace {

int length_of(const char16_t* text) {
  int n = 0;
  while (text[n]) ++n;
  return n;
}

int direct_width(MeasureContext& measure, const char16_t* text, int count, const ViewContext& view) {
  return measure_direct(measure, text, count, view).cx;
}

// Advance of unit i of a run. A surrogate pair is measured whole on its first
// unit and gives 0 on its second; neither half ever keys the cache, and a
// lone surrogate is measured alone, uncached.
int unit_advance(MeasureContext& measure, const char16_t* text, int count, int i, ViewContext& view) {
  char16_t c = text[i];
  if (is_high_surrogate(c) && i + 1 < count && is_low_surrogate(text[i + 1]))
    return direct_width(measure, text + i, 2, view);
  if (is_low_surrogate(c) && i > 0 && is_high_surrogate(text[i - 1])) return 0;
  if (is_high_surrogate(c) || is_low_surrogate(c)) return direct_width(measure, text + i, 1, view);
  std::uint16_t& entry = view.typeset.width_cache[c];
  if (entry == 0) {
    int w = direct_width(measure, &c, 1, view);
    entry = static_cast<std::uint16_t>(w < 0 ? 0 : (w > 0xFFFF ? 0xFFFF : w));
  }
  return entry;
}

}  // namespace

TextExtent measure_direct(MeasureContext& measure, const char16_t* text, int count,
                          const ViewContext& view) {
  TextExtent e;
  platform::font_text_extent(measure.font, text, count, &e.cx, &e.cy);
  if (view.typeset.extent_swapped) std::swap(e.cx, e.cy);
  return e;
}

void measure_text(MeasureContext& measure, const char16_t* text, int count, TextExtent& extent,
                  ViewContext& view) {
  if (count < 0) count = length_of(text);
  if (!view.typeset.width_cache)
    view.typeset.width_cache =
        static_cast<std::uint16_t*>(alloc_zeroed(WIDTH_CACHE_ENTRIES * sizeof(std::uint16_t)));
  if (!view.typeset.width_cache) {  // slower, still right
    extent = measure_direct(measure, text, count, view);
    return;
  }
  int width = 0;
  for (int i = 0; i < count; ++i) width += unit_advance(measure, text, count, i, view);
  extent.cx = width;
  extent.cy = 0;
}

void axis_probe(MeasureContext& measure, ViewContext& view) {
  view.typeset.extent_swapped = 0;
  TextExtent e = measure_direct(measure, u"1234567890", 10, view);
  if (e.cx < e.cy) view.typeset.extent_swapped = 1;
}

}  // namespace yomite
