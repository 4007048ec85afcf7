// DPI through the functions of Windows 10 (1607) where they exist; before
// them a process has the system's DPI only, which the older functions give.
#include "platform/win32/dpi.h"

namespace yomite::platform::win32 {

namespace {

template <typename F>
F from_user32(const char* name) {
  // Through void (*)(): the one cast between function types GCC does not warn of.
  FARPROC f = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(f));
}

int system_dpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : STANDARD_DPI;
}

}  // namespace

int dpi_of(HWND hwnd) {
  static const auto for_window = from_user32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  const int dpi = for_window && hwnd ? static_cast<int>(for_window(hwnd)) : 0;
  return dpi > 0 ? dpi : system_dpi();
}

int metric_at(int index, int dpi) {
  static const auto for_dpi = from_user32<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
  return for_dpi ? for_dpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

RECT frame_at(DWORD style, DWORD ex_style, int dpi) {
  static const auto for_dpi =
      from_user32<BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  RECT r{0, 0, 0, 0};
  if (!for_dpi || !for_dpi(&r, style, FALSE, ex_style, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&r, style, FALSE, ex_style);
  return r;
}

}  // namespace yomite::platform::win32
