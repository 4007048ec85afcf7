// The canvas on GDI: a device context (a window's, or a memory one holding a
// DIB section) driven from the canvas state. Every drawing call selects what
// it needs from the state first, so canvases that share a device context
// (the window canvas and a paint's) never see each other's selections.
#pragma once

#include "platform/canvas.h"
#include "platform/win32/windows_api.h"

namespace yomite::platform {

// A canvas on `dc` (not owned) of w x h pixels.
Canvas* gdi_canvas_create_for(HDC dc, int w, int h);

// An off-screen canvas of w x h pixels: a 32-bit DIB section in a memory
// context compatible with `like` (null: the screen). Null when it cannot be made.
Canvas* gdi_canvas_create_image(HDC like, int w, int h);

// The device context behind a GDI canvas.
HDC gdi_canvas_dc(Canvas& c);

// Pixels of an image canvas, rows top-down, 0x00RRGGBB each (null for a
// canvas on a window).
std::uint32_t* gdi_canvas_bits(Canvas& c);

}  // namespace yomite::platform
