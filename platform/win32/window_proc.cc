// The window procedure of "YomiteClass": the system's messages become the
// core's calls; every decision is the core's.
#include "platform/win32/win32_window.h"
#include "viewer/keys.h"
#include "viewer/pointer.h"
#include "viewer/scrolling.h"

namespace yomite::platform {

namespace {

// A key or button that arrives while the automatic scroll runs its own loop
// is queued for it rather than acted on.
bool queued(Window& w, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!w.queueing) return false;
  PendingEvent e;
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
    e.kind = PENDING_KEY_DOWN;
    e.key = static_cast<int>(wparam);
  } else if (message >= WM_KEYFIRST && message <= WM_KEYLAST) {
    e.kind = PENDING_KEY_OTHER;
  } else if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) {
    e.kind = PENDING_BUTTON_DOWN;
    e.button = message == WM_LBUTTONDOWN ? BUTTON_LEFT : BUTTON_RIGHT;
    e.x = logical_point(w, GET_X_LPARAM(lparam));
    e.y = logical_point(w, GET_Y_LPARAM(lparam));
  } else {
    return false;
  }
  w.queue.push_back(e);
  return true;
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
  if (queued(w, message, wparam, lparam)) return 0;
  switch (message) {
    case WM_PAINT:
      paint_window(w);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the painter covers every pixel
    case WM_KEYDOWN:
      w.queue.clear();  // what an automatic scroll left untaken is stale now
      on_key(v, static_cast<int>(wparam));
      return 0;
    case WM_CHAR:
      on_char(v, static_cast<int>(wparam));
      return 0;
    case WM_SYSKEYDOWN:
      if (on_system_key(v, static_cast<int>(wparam))) return 0;
      break;
    case WM_SYSCOMMAND:
      if ((wparam & 0xFFF0) == SC_MAXIMIZE) return 0;  // the window keeps its page's size
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
      break;
    case WM_DPICHANGED:
      change_dpi(w, HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
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
