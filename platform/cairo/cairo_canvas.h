// Canvases on Cairo surfaces: image surfaces for off-screen pages and strips
// (the window backend keeps one as its backing image), and any other surface
// (a PDF page) for drawing only.
//
// Text follows the font record of cairo_font.h: a run is laid out in a frame
// whose x runs along the baseline and whose y runs from the cell's ascent
// side (0) to its descent side (the cell height S). A font turned down a
// column maps that frame by a quarter turn clockwise, so the column occupies
// [x - S, x] and the text runs downward from y. Upright characters come from
// the EAST font centred on the column's middle line, turned ones from the
// SOUTH font on the baseline: two glyph strings per run and family.
#pragma once

#include <cairo.h>

#include "platform/canvas.h"

namespace yomite::platform {

// A w x h RGB image, black, or null.
Canvas* cairo_canvas_create_image(int w, int h);

// A canvas drawing on `surface` (w x h px), which it keeps a reference to.
// Pixel reads and writes work on image surfaces only; compatible canvases of
// other surfaces are Cairo's similar surfaces (recordings for a PDF).
Canvas* cairo_canvas_create_for(cairo_surface_t* surface, int w, int h);

// The surface a Cairo canvas draws on (no reference is added).
cairo_surface_t* cairo_canvas_surface(Canvas& c);

// Cairo's context of a Cairo canvas, for a caller that needs to finish a page.
cairo_t* cairo_canvas_context(Canvas& c);

}  // namespace yomite::platform
