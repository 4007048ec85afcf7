// The scale of a window on its monitor. The core lays out and draws in
// logical pixels of 96 per inch; at 150 % or 200 % the window is that many
// times larger, and painting draws the same page through a world transform
// (gdi_canvas.h), so the columns, breaks and pages stay those of 100 %.
#pragma once

#include "platform/win32/windows_api.h"

namespace yomite::platform::win32 {

constexpr int STANDARD_DPI = 96;

// The window's DPI (the system's before Windows 10, or without a window).
int dpi_of(HWND hwnd);
// A system measure (SM_*) at `dpi`.
int metric_at(int index, int dpi);
// What the frame of a window of `style` adds around its client area at `dpi`.
RECT frame_at(DWORD style, DWORD ex_style, int dpi);

// Logical and device pixels at `dpi`: a length scaled and rounded; a point
// (or a rectangle's start) towards the origin and a rectangle's end away from
// it, so that a device rectangle covers the logical one.
inline int device_length(int logical, int dpi) {
  return MulDiv(logical, dpi, STANDARD_DPI);
}
inline int logical_length(int device, int dpi) {
  return MulDiv(device, STANDARD_DPI, dpi);
}
inline int floor_div(long long a, long long b) {
  return static_cast<int>(a >= 0 ? a / b : -((-a + b - 1) / b));
}
inline int device_start(int logical, int dpi) {
  return floor_div(1LL * logical * dpi, STANDARD_DPI);
}
inline int device_end(int logical, int dpi) {
  return -floor_div(-1LL * logical * dpi, STANDARD_DPI);
}
inline int logical_start(int device, int dpi) {
  return floor_div(1LL * device * STANDARD_DPI, dpi);
}
inline int logical_end(int device, int dpi) {
  return -floor_div(-1LL * device * STANDARD_DPI, dpi);
}

}  // namespace yomite::platform::win32
