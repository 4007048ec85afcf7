// The window's standard scroll bars: a range of 0..0 hides one.
#include "platform/win32/win32_window.h"

namespace yomite::platform {

namespace {

int bar_code(int bar) {
  return bar == SCROLL_BAR_VERT ? SB_VERT : SB_HORZ;
}

Window* valid(Window* w, int bar) {
  return w && w->hwnd && (bar == SCROLL_BAR_HORZ || bar == SCROLL_BAR_VERT) ? w : nullptr;
}

}  // namespace

void scroll_bar_set_range(Window* window, int bar, int min, int max) {
  Window* w = valid(window, bar);
  if (!w) return;
  SetScrollRange(w->hwnd, bar_code(bar), min, max, TRUE);
  resize_window_canvas(*w);  // a bar shown or hidden changes the client area
}

void scroll_bar_set_thumb(Window* window, int bar, int page, int pos) {
  Window* w = valid(window, bar);
  if (!w) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_PAGE | SIF_POS;
  info.nPage = static_cast<UINT>(page > 0 ? page : 0);
  info.nPos = pos;
  SetScrollInfo(w->hwnd, bar_code(bar), &info, TRUE);
}

int scroll_bar_page(Window* window, int bar) {
  Window* w = valid(window, bar);
  if (!w) return 0;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_PAGE;
  return GetScrollInfo(w->hwnd, bar_code(bar), &info) ? static_cast<int>(info.nPage) : 0;
}

}  // namespace yomite::platform
