// The strip under the scroll bar that says where the reader is, and the
// scroll bars' tooltips (an extension). The strip lies in the frame, below
// the scroll bar, so the client area (the core's page) keeps its size: the
// window grows by the strip when it shows.
#include "platform/win32/dialog_template.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_window.h"

namespace yomite::platform {

namespace {

// Logical pixels: the strip's height and its text's.
constexpr int STRIP_HEIGHT = 18;
constexpr int STRIP_TEXT_HEIGHT = 12;
constexpr int STRIP_PADDING = 4;

HFONT strip_font(int dpi) {
  static HFONT font = nullptr;
  static int font_dpi = 0;
  if (font && font_dpi == dpi) return font;
  if (font) DeleteObject(font);
  LOGFONTW lf{};
  lf.lfHeight = -win32::device_length(STRIP_TEXT_HEIGHT, dpi);
  lf.lfCharSet = DEFAULT_CHARSET;
  const std::wstring face = dialog_font_face();
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  font = CreateFontIndirectW(&lf);
  font_dpi = dpi;
  return font;
}

void frame_changed(Window& w, int grow) {
  RECT r;
  GetWindowRect(w.hwnd, &r);
  SetWindowPos(w.hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + grow,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

int bar_of_hit(int hit) {
  if (hit == HTHSCROLL) return SCROLL_BAR_HORZ;
  if (hit == HTVSCROLL) return SCROLL_BAR_VERT;
  return -1;
}

}  // namespace

int status_device_height(const Window& w) {
  return w.status_shown ? win32::device_length(STRIP_HEIGHT, w.dpi) : 0;
}

void status_calc_size(Window& w, NCCALCSIZE_PARAMS& params, const RECT& window_rect) {
  const int height = status_device_height(w);
  if (!height) return;
  RECT& client = params.rgrc[0];
  client.bottom -= height;
  // The system puts the horizontal bar right below the client area.
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(w.hwnd, GWL_STYLE));
  const int bar = (style & WS_HSCROLL) ? win32::metric_at(SM_CYHSCROLL, w.dpi) : 0;
  const int right = (style & WS_VSCROLL) ? win32::metric_at(SM_CXVSCROLL, w.dpi) : 0;
  w.status_rect = {client.left - window_rect.left, client.bottom + bar - window_rect.top,
                   client.right + right - window_rect.left,
                   client.bottom + bar + height - window_rect.top};
}

void status_paint(Window& w) {
  if (!w.status_shown || !w.hwnd) return;
  HDC dc = GetWindowDC(w.hwnd);
  if (!dc) return;
  const RECT r = w.status_rect;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ old = SelectObject(dc, strip_font(w.dpi));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  RECT text = r;
  text.left += win32::device_length(STRIP_PADDING, w.dpi);
  DrawTextW(dc, w.status_text.c_str(), static_cast<int>(w.status_text.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old);
  ReleaseDC(w.hwnd, dc);
}

void window_set_status(Window* window, int shown, const std::string& text) {
  if (!window || !window->hwnd) return;
  Window& w = *window;
  const std::wstring wide = win32::widen(text);
  shown = shown ? 1 : 0;
  if (shown != w.status_shown) {
    const int before = status_device_height(w);
    w.status_shown = shown;
    w.status_text = wide;
    frame_changed(w, status_device_height(w) - before);
    resize_window_canvas(w);
    return;
  }
  if (wide == w.status_text) return;
  w.status_text = wide;
  status_paint(w);
}

void scroll_bar_set_tooltip(Window* window, int bar, const std::string& text) {
  if (!window || !window->hwnd || bar < 0 || bar > 1) return;
  window->tooltips[bar] = win32::widen(text);
  if (window->tooltip_bar == bar) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = window->hwnd;
    info.uId = 1;
    info.lpszText = window->tooltips[bar].data();
    SendMessageW(window->tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

// A tracking tooltip: the bars lie in the frame, where a tool of the client
// area never hears the pointer.
void tooltip_follow(Window& w, int hit, POINT screen) {
  const int bar = bar_of_hit(hit);
  if (bar < 0 || w.tooltips[bar].empty()) {
    tooltip_hide(w);
    return;
  }
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  info.hwnd = w.hwnd;
  info.uId = 1;
  info.lpszText = w.tooltips[bar].data();
  if (!w.tooltip) {
    w.tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX, 0,
                                0, 0, 0, w.hwnd, nullptr, instance(), nullptr);
    if (!w.tooltip) return;
    SendMessageW(w.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
  SendMessageW(w.tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  const int below = win32::device_length(20, w.dpi);
  SendMessageW(w.tooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y + below));
  if (w.tooltip_bar < 0) {
    SendMessageW(w.tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
    TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE | TME_NONCLIENT, w.hwnd, 0};
    TrackMouseEvent(&leave);
  }
  w.tooltip_bar = bar;
}

void tooltip_hide(Window& w) {
  if (w.tooltip_bar < 0 || !w.tooltip) return;
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = w.hwnd;
  info.uId = 1;
  SendMessageW(w.tooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
  w.tooltip_bar = -1;
}

}  // namespace yomite::platform
