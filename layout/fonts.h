// Fonts and metrics of a view: its fonts, cached measuring, installed
// faces. (Declarations agreed between the font backend and the layout; the
// definitions live in layout/fonts.cc, measure.cc and faces.cc.)
#pragma once

#include <string>

#include "platform/font.h"
#include "view/view_context.h"

namespace yomite {

// --- limits and fixed faces ------------------------------------------------

constexpr int RUBY_HEIGHT_MIN = 8;  // px; smaller ruby fonts are raised to this
// Page numbers are 2/3 of the main size; below this they get a character
// height (negative request) of this many px.
constexpr int PAGE_NUMBER_HEIGHT_MIN = 10;
// Columns per page when the window gives none (narrower than one column, or
// no window at all, as when laying out without a screen).
constexpr int PAGE_LINES_FALLBACK = 20;
// One 16-bit width per UTF-16 code unit: widths up to 65535 px.
constexpr int WIDTH_CACHE_ENTRIES = 65536;

constexpr const char* FACE_GOTHIC = "ＭＳ ゴシック";
constexpr const char* FACE_GOTHIC_VERTICAL = "@ＭＳ ゴシック";
constexpr const char* FACE_MINCHO = "ＭＳ 明朝";
constexpr const char* FACE_MINCHO_VERTICAL = "@ＭＳ 明朝";

// A measuring context: the font text is measured in. Selecting a null font
// leaves the current one in place. A context that never had a font reads
// default metrics (a 16 px cell, 8 px half width) and measures text 0 wide.
struct MeasureContext {
  platform::Font* font = nullptr;
};

// Width and height of a run, in pixels.
struct TextExtent {
  int cx = 0;
  int cy = 0;
};

// Makes the fonts of the view from face_name, font_size and
// ruby_percent, stores the metrics and column_pitch, and fills page_lines from
// the window when it is 0. The previous fonts must have been released.
void create_view_fonts(ViewContext& view);

// The font of emphasis marks, made the first time one is drawn after the
// view's fonts were made (null when the face cannot be made).
platform::Font* emphasis_font(ViewContext& view);

// A measuring context holding the view's main font, as layout measures in it.
MeasureContext view_measure_context(const ViewContext& view);

// Width of `count` characters of `text` (count < 0: up to the terminator)
// through the view's width cache; the height is then 0. A surrogate pair is
// one character: its whole advance counts on the first unit, 0 on the second.
void measure_text(MeasureContext& measure, const char16_t* text, int count, TextExtent& extent,
                  ViewContext& view);

// Width and height of a run in the context's font, not through the cache
// (axes exchanged back when the view says extents come swapped).
TextExtent measure_direct(MeasureContext& measure, const char16_t* text, int count,
                          const ViewContext& view);

// Sets extent_swapped when the font reports extents with the axes exchanged.
void axis_probe(MeasureContext& measure, ViewContext& view);

// `list` holds face names separated by ";"; on return it holds the first one
// installed, or the default Gothic face (with "@" when the list began with "@"
// or was empty).
void find_installed_face(std::string& list);

// 1 when a font family of that name is installed (never a substitute).
int face_exists(const std::string& face);

}  // namespace yomite
