// The picture is the window's own: painting answers WM_PAINT through the
// core's on_paint, shifting is ScrollWindowEx (the uncovered band becomes
// invalid), validating is ValidateRect, painting now is UpdateWindow. The
// window canvas draws on the window's own device context.
#include "platform/win32/gdi_canvas.h"
#include "platform/win32/win32_window.h"
#include "view/view_context.h"
#include "viewer/program.h"

namespace yomite::platform {

namespace {

RECT rect_of(const WindowRect& r) {
  return {r.left, r.top, r.right, r.bottom};
}

Window* drawable(Window* w) {
  return w && w->hwnd && IsWindow(w->hwnd) ? w : nullptr;
}

}  // namespace

void paint_window(Window& w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w.hwnd, &ps);
  RECT client;
  GetClientRect(w.hwnd, &client);
  if (dc && w.view) {
    // Its own canvas record: the paint may come while the core draws on the
    // window canvas (a smooth-scroll step painting its new column now).
    Canvas* c = gdi_canvas_create_for(dc, client.right, client.bottom);
    on_paint(*w.view, *c, PaintRect{0, 0, client.right, client.bottom},
             PaintRect{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom});
    canvas_destroy(c);
  }
  EndPaint(w.hwnd, &ps);
}

void resize_window_canvas(Window& w) {
  if (!w.hwnd) return;
  RECT client;
  GetClientRect(w.hwnd, &client);
  if (w.canvas && w.canvas->width == client.right && w.canvas->height == client.bottom) return;
  release_window_canvas(w);
  w.canvas = gdi_canvas_create_for(GetDC(w.hwnd), client.right, client.bottom);
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
  const RECT r = rect ? rect_of(*rect) : RECT{};
  InvalidateRect(w->hwnd, rect ? &r : nullptr, erase ? TRUE : FALSE);
}

void window_validate(Window* window, const WindowRect& rect) {
  Window* w = drawable(window);
  if (!w) return;
  const RECT r = rect_of(rect);
  ValidateRect(w->hwnd, &r);
}

void window_scroll(Window* window, int dx, int dy, const WindowRect& area) {
  Window* w = drawable(window);
  if (!w || (dx == 0 && dy == 0)) return;
  const RECT r = rect_of(area);
  ScrollWindowEx(w->hwnd, dx, dy, &r, &r, nullptr, nullptr, SW_INVALIDATE);
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
