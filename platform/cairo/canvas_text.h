// Text runs on a Cairo context (private to the Cairo canvas).
#pragma once

#include <cairo.h>

#include "platform/canvas.h"

namespace yomite::platform {

void set_source_color(cairo_t* cr, CanvasColor color);

// Draws `count` UTF-16 units in state.font at (x, y) (the top-left of the
// first cell in the font's frame) with the state's colours and background
// mode; `advances` as for CanvasOps::text. Returns the end point.
CanvasPoint draw_text_run(cairo_t* cr, const CanvasState& state, int x, int y, const char16_t* text,
                          int count, const int* advances);

}  // namespace yomite::platform
