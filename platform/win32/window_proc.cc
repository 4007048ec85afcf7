// The window procedure of "YomiteClass": the system's messages become the
// core's calls; every decision is the core's.
#include "platform/win32/win32_window.h"
#include "viewer/keys.h"
#include "viewer/pointer.h"
#include "viewer/scrolling.h"

namespace yomite::platform {

namespace {

// The core's key codes and scroll-bar requests keep the values of the
// virtual-key codes and SB_ requests, so both pass to the core as they are;
// these hold the two together.
static_assert(KEY_SHIFT == VK_SHIFT && KEY_CTRL == VK_CONTROL && KEY_ESCAPE == VK_ESCAPE &&
              KEY_SPACE == VK_SPACE && KEY_PAGE_UP == VK_PRIOR && KEY_PAGE_DOWN == VK_NEXT &&
              KEY_END == VK_END && KEY_HOME == VK_HOME && KEY_LEFT == VK_LEFT && KEY_UP == VK_UP &&
              KEY_RIGHT == VK_RIGHT && KEY_DOWN == VK_DOWN && KEY_MENU == VK_APPS &&
              KEY_NUMPAD0 == VK_NUMPAD0 && KEY_F1 == VK_F1 && KEY_F5 == VK_F5 &&
              KEY_F10 == VK_F10 && KEY_F11 == VK_F11 && KEY_OPEN_BRACKET == VK_OEM_4 &&
              KEY_CLOSE_BRACKET == VK_OEM_6 && KEY_SLASH == VK_OEM_2);
static_assert(BAR_LINE_UP == SB_LINEUP && BAR_LINE_DOWN == SB_LINEDOWN &&
              BAR_PAGE_UP == SB_PAGEUP && BAR_PAGE_DOWN == SB_PAGEDOWN &&
              BAR_THUMB_POSITION == SB_THUMBPOSITION && BAR_THUMB_TRACK == SB_THUMBTRACK &&
              BAR_TOP == SB_TOP && BAR_BOTTOM == SB_BOTTOM && BAR_END_SCROLL == SB_ENDSCROLL);

int key_code(WPARAM virtual_key) {
  return static_cast<int>(virtual_key);
}

// Whole notches of the wheel; a notch towards the user (a negative delta) is forward.
int take_notches(Window& w, WPARAM wparam) {
  w.wheel_rest += GET_WHEEL_DELTA_WPARAM(wparam);
  const int notches = w.wheel_rest / WHEEL_DELTA;
  w.wheel_rest -= notches * WHEEL_DELTA;
  return -notches;
}

LRESULT dispatch(Window& w, HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  ViewContext& v = *w.view;
  switch (message) {
    case WM_PAINT:
      paint_window(w);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the painter covers every pixel
    case WM_KEYDOWN:
      on_key(v, key_code(wparam));
      return 0;
    case WM_CHAR:
      on_char(v, static_cast<int>(wparam));
      return 0;
    case WM_SYSKEYDOWN:
      if (on_system_key(v, key_code(wparam))) return 0;
      break;
    case WM_SYSCOMMAND:
      // The window keeps its page's size, unless the page follows the window.
      if ((wparam & 0xFFF0) == SC_MAXIMIZE && !w.may_maximize) return 0;
      break;
    case WM_HSCROLL:
      on_hscroll(v, LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_VSCROLL:
      on_vscroll(v, LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_LBUTTONDOWN:
      on_mouse_down(v, BUTTON_LEFT, logical_point(w, GET_X_LPARAM(lparam)),
                    logical_point(w, GET_Y_LPARAM(lparam)));
      return 0;
    case WM_RBUTTONDOWN:
      on_mouse_down(v, BUTTON_RIGHT, logical_point(w, GET_X_LPARAM(lparam)),
                    logical_point(w, GET_Y_LPARAM(lparam)));
      return 0;
    case WM_MOUSEWHEEL:
      if (const int notches = take_notches(w, wparam)) on_wheel(v, notches);
      return 0;
    case WM_MOUSEMOVE:
      return 0;
    case WM_DROPFILES:
      handle_dropped_files(w, reinterpret_cast<HDROP>(wparam));
      return 0;
    case WM_SETCURSOR:
      if (w.busy && LOWORD(lparam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_SIZE:
      resize_window_canvas(w);
      window_resized(w);
      break;
    case WM_SETTINGCHANGE:
      desktop_settings_changed(w, lparam);
      break;
    case WM_DPICHANGED:
      change_dpi(w, HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    // The strip under the scroll bar and the bars' tooltips (an extension).
    case WM_NCCALCSIZE: {
      if (!wparam) break;
      auto& params = *reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam);
      const RECT window_rect = params.rgrc[0];
      const LRESULT result = DefWindowProcW(hwnd, message, wparam, lparam);
      status_calc_size(w, params, window_rect);
      return result;
    }
    case WM_NCPAINT:
    case WM_NCACTIVATE: {
      const LRESULT result = DefWindowProcW(hwnd, message, wparam, lparam);
      status_paint(w);
      return result;
    }
    case WM_NCMOUSEMOVE:
      tooltip_follow(w, static_cast<int>(wparam),
                     POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
      break;
    case WM_NCMOUSELEAVE:
      tooltip_hide(w);
      break;
    default: {
      LRESULT result = 0;
      if (handle_viewer_message(w, message, wparam, lparam, &result)) return result;
      break;
    }
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* w = main_window();
  if (message == WM_DESTROY) {
    if (w && w->hwnd == hwnd) {
      release_window_canvas(*w);
      w->hwnd = nullptr;
    }
    PostQuitMessage(0);
    return 0;
  }
  if (!w || w->hwnd != hwnd || !GetWindowLongPtrW(hwnd, 0) || !w->view)
    return DefWindowProcW(hwnd, message, wparam, lparam);
  return dispatch(*w, hwnd, message, wparam, lparam);
}

}  // namespace yomite::platform
