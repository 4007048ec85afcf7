// The picture is the window's own: painting answers WM_PAINT through the
// core's on_paint, shifting is ScrollWindowEx (the uncovered band becomes
// invalid), validating is ValidateRect, painting now is UpdateWindow. The
// window canvas draws on the window's own device context. The core's
// rectangles and sizes are logical pixels (dpi.h), the window's device ones.
#include "platform/win32/gdi_canvas.h"
#include "platform/win32/win32_window.h"
#include "view/view_context.h"
#include "viewer/program.h"

namespace yomite::platform {

namespace {

// The device pixels that show a logical rectangle.
RECT device_rect(const WindowRect& r, int dpi) {
  return {win32::device_start(r.left, dpi), win32::device_start(r.top, dpi),
          win32::device_end(r.right, dpi), win32::device_end(r.bottom, dpi)};
}

Window* drawable(Window* w) {
  return w && w->hwnd && IsWindow(w->hwnd) ? w : nullptr;
}

}  // namespace

void paint_window(Window& w) {
  // The update region's box in device pixels, taken before BeginPaint: its
  // rcPaint may come in the own context's transformed coordinates.
  RECT r{0, 0, 0, 0};
  if (HRGN update = CreateRectRgn(0, 0, 0, 0)) {
    if (GetUpdateRgn(w.hwnd, update, FALSE) != ERROR) GetRgnBox(update, &r);
    DeleteObject(update);
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w.hwnd, &ps);
  int width = 0, height = 0;
  window_client_size(&w, &width, &height);
  if (dc && w.view) {
    // Its own canvas record: the paint may come while the core draws on the
    // window canvas (a smooth-scroll step painting its new column now).
    Canvas* c = gdi_canvas_create_for(dc, width, height, w.dpi);
    on_paint(*w.view, *c, PaintRect{0, 0, width, height},
             PaintRect{win32::logical_start(r.left, w.dpi), win32::logical_start(r.top, w.dpi),
                       win32::logical_end(r.right, w.dpi), win32::logical_end(r.bottom, w.dpi)});
    canvas_destroy(c);
  }
  EndPaint(w.hwnd, &ps);
}

void resize_window_canvas(Window& w) {
  if (!w.hwnd) return;
  int width = 0, height = 0;
  window_client_size(&w, &width, &height);
  if (w.canvas && w.canvas->width == width && w.canvas->height == height &&
      w.canvas_dpi == w.dpi)
    return;
  release_window_canvas(w);
  w.canvas = gdi_canvas_create_for(GetDC(w.hwnd), width, height, w.dpi);
  w.canvas_dpi = w.dpi;
}

void release_window_canvas(Window& w) {
  if (!w.canvas) return;
  HDC dc = gdi_canvas_dc(*w.canvas);
  canvas_destroy(w.canvas);
  w.canvas = nullptr;
  if (w.hwnd) ReleaseDC(w.hwnd, dc);
}

void window_request_repaint(Window* window) {
  window_invalidate(window, nullptr, 1);
}

void window_invalidate(Window* window, const WindowRect* rect, int erase) {
  Window* w = drawable(window);
  if (!w) return;
  const RECT r = rect ? device_rect(*rect, w->dpi) : RECT{};
  InvalidateRect(w->hwnd, rect ? &r : nullptr, erase ? TRUE : FALSE);
}

void window_validate(Window* window, const WindowRect& rect) {
  Window* w = drawable(window);
  if (!w) return;
  // Only the device pixels the logical rectangle covers whole.
  const RECT r{win32::device_end(rect.left, w->dpi), win32::device_end(rect.top, w->dpi),
               win32::device_start(rect.right, w->dpi), win32::device_start(rect.bottom, w->dpi)};
  if (r.left < r.right && r.top < r.bottom) ValidateRect(w->hwnd, &r);
}

void window_scroll(Window* window, int dx, int dy, const WindowRect& area) {
  Window* w = drawable(window);
  if (!w || (dx == 0 && dy == 0)) return;
  const RECT r = device_rect(area, w->dpi);
  // A shift by whole device pixels moves the picture; one that falls between
  // them (1 px at 150 %) is drawn again instead.
  const int ddx = win32::device_length(dx, w->dpi), ddy = win32::device_length(dy, w->dpi);
  if (1LL * ddx * win32::STANDARD_DPI == 1LL * dx * w->dpi &&
      1LL * ddy * win32::STANDARD_DPI == 1LL * dy * w->dpi)
    ScrollWindowEx(w->hwnd, ddx, ddy, &r, &r, nullptr, nullptr, SW_INVALIDATE);
  else
    InvalidateRect(w->hwnd, &r, FALSE);
}

void window_update(Window* window) {
  if (Window* w = drawable(window)) UpdateWindow(w->hwnd);
}

Canvas* window_canvas(Window* window) {
  Window* w = drawable(window);
  if (!w) return nullptr;
  resize_window_canvas(*w);
  return w->canvas;
}

void window_flush(Window* window) {
  if (drawable(window)) GdiFlush();
}

}  // namespace yomite::platform
