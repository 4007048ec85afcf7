// Fonts and metrics of a view: the seven fonts, cached measuring, installed
// faces. (Declarations agreed between the font backend and the layout; the
// definitions live in layout/fonts*.cc.)
#pragma once

#include <string>

#include "platform/font.h"
#include "viewer/view_context.h"

namespace yomite {

// A measuring context: the font text is measured in.
struct MeasureContext {
  platform::Font* font = nullptr;
};

// Width and height of a run, in pixels.
struct TextExtent {
  int cx = 0;
  int cy = 0;
};

// Makes the seven fonts of the view from face_name, font_size and
// ruby_percent, stores the metrics and column_pitch, fills page_lines from the
// window when it is 0, then runs the full load (load_document with a context).
// The previous fonts must have been released.
void create_view_fonts(ViewContext& view);

// Width of `count` characters of `text` (count < 0: up to the terminator)
// through the view's width cache; the height is then 0.
void measure_text(MeasureContext& dc, const char16_t* text, int count, TextExtent& extent,
                  ViewContext& view);

// Sets extent_swapped when the font reports extents with the axes exchanged.
void axis_probe(MeasureContext& dc, ViewContext& view);

// `list` holds face names separated by ";"; on return it holds the first one
// installed, or the default Gothic face (with "@" when the list began with "@"
// or was empty).
void find_installed_face(std::string& list);

// 1 when a font family of that name is installed (never a substitute).
int face_exists(const std::string& face);

// 1 on every platform Yomite runs on now: smoothing needs no calibration.
int is_nt_platform();

}  // namespace yomite
