// The canvas on GDI: a device context (a window's, or a memory one holding a
// DIB section) driven from the canvas state. Every drawing call selects what
// it needs from the state first, so canvases that share a device context
// (the window canvas and a paint's) never see each other's selections.
#pragma once

#include "platform/canvas.h"
#include "platform/win32/dpi.h"
#include "platform/win32/windows_api.h"

namespace yomite::platform {

// A canvas on `dc` (not owned) of w x h logical pixels drawn at `dpi`: above
// 96 the context gets a world transform that scales every call, so text is
// drawn by fonts of that many more pixels, never stretched.
Canvas* gdi_canvas_create_for(HDC dc, int w, int h, int dpi = win32::STANDARD_DPI);

// An off-screen canvas of w x h logical pixels at `dpi`: a 32-bit DIB section
// of as many device pixels in a memory context compatible with `like` (null:
// the screen). Null when it cannot be made. Its pixels (get, read, write) are
// logical ones, each standing for its block of device pixels; copies between
// canvases of one DPI move device pixels one to one.
Canvas* gdi_canvas_create_image(HDC like, int w, int h, int dpi = win32::STANDARD_DPI);

// The device context behind a GDI canvas.
HDC gdi_canvas_dc(Canvas& c);

// Device pixels of an image canvas, rows top-down, 0x00RRGGBB each (null
// for a canvas on a window).
std::uint32_t* gdi_canvas_bits(Canvas& c);

}  // namespace yomite::platform
