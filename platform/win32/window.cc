// The main window's life: the class "YomiteClass", the window made, titled,
// shown, closed; its size and place, the system's measures, and the loop.
#include <string>

#include "platform/win32/gdi_canvas.h"
#include "platform/win32/resources.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_window.h"
#include "viewer/program.h"
#include "viewer/window_fit.h"

namespace yomite::platform {

namespace {

constexpr int INITIAL_SIZE = 300;
constexpr const wchar_t* INITIAL_TITLE = L"Yomite";
// Caption, system menu, sizing border and minimize box; no maximize box.
constexpr DWORD WINDOW_STYLE = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
constexpr DWORD WINDOW_EX_STYLE = WS_EX_CLIENTEDGE;

Window g_main;
int g_made = 0;

bool register_class() {
  WNDCLASSEXW c{};
  c.cbSize = sizeof c;
  // CS_OWNDC: the window canvas keeps one device context for the window's life.
  c.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_BYTEALIGNWINDOW | CS_OWNDC;
  c.lpfnWndProc = window_proc;
  c.cbWndExtra = sizeof(LONG_PTR);  // slot 0: the ViewContext
  c.hInstance = instance();
  c.hIcon = LoadIconW(instance(), MAKEINTRESOURCEW(RESOURCE_ICON));
  if (!c.hIcon) c.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  c.lpszClassName = WINDOW_CLASS;
  return RegisterClassExW(&c) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

Window* main_window() {
  return g_made ? &g_main : nullptr;
}

// A window opened while a dialog is up (the program chooser of the settings)
// belongs to that dialog: owned by the main window, it would enable the main
// window again when it closes, under a dialog still open, and the focus would
// not come back to the dialog.
HWND owner_hwnd(Window* owner) {
  if (!owner) owner = main_window();
  if (!owner || !owner->hwnd || !IsWindow(owner->hwnd)) return nullptr;
  HWND popup = GetLastActivePopup(owner->hwnd);
  return popup && IsWindowVisible(popup) && IsWindowEnabled(popup) ? popup : owner->hwnd;
}

HINSTANCE instance() {
  return GetModuleHandleW(nullptr);
}

Window* window_create() {
  register_messages();
  if (!register_class()) return nullptr;
  HWND hwnd =
      CreateWindowExW(WINDOW_EX_STYLE, WINDOW_CLASS, INITIAL_TITLE, WINDOW_STYLE, CW_USEDEFAULT, 0,
                      INITIAL_SIZE, INITIAL_SIZE, nullptr, nullptr, instance(), nullptr);
  if (!hwnd) return nullptr;
  g_main = Window{};
  g_main.hwnd = hwnd;
  g_main.dpi = win32::dpi_of(hwnd);
  g_made = 1;
  resize_window_canvas(g_main);
  return &g_main;
}

void window_attach_view(Window* window, ViewContext* view) {
  if (!window || !window->hwnd) return;
  window->view = view;
  SetWindowLongPtrW(window->hwnd, 0, reinterpret_cast<LONG_PTR>(view));
}

void window_set_title(Window* window, const std::string& title) {
  if (window && window->hwnd) SetWindowTextW(window->hwnd, win32::widen(title).c_str());
}

void window_show(Window* window) {
  if (!window || !window->hwnd) return;
  ShowWindow(window->hwnd, SW_SHOWDEFAULT);
  if (!IsWindowVisible(window->hwnd))
    SetWindowPos(window->hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  UpdateWindow(window->hwnd);
}

int window_call_when_idle(Window* window) {
  if (!window || !window->hwnd) return 0;
  window->idle_work = 1;
  return 1;
}

// A tick that is due runs first; work the core leaves for idle time (a long
// text being laid out) runs only when no message, paints included, is
// waiting; then the loop sleeps until a message comes or the tick is due.
int run_event_loop() {
  MSG msg{};
  for (;;) {
    Window& w = g_main;
    const bool ready = w.hwnd && w.view;
    if (ready && w.tick_wanted && tick_wait(w) == 0) {
      w.tick_wanted = 0;
      on_tick(*w.view);
      continue;
    }
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) break;
      if (modeless_takes_message(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      continue;
    }
    if (ready && w.idle_work) {
      w.idle_work = on_idle(*w.view);
      continue;
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, ready ? tick_wait(w) : INFINITE, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
  return static_cast<int>(msg.wParam);
}

void window_post_close(Window* window) {
  if (window && window->hwnd) PostMessageW(window->hwnd, WM_CLOSE, 0, 0);
}

void window_destroy(Window* window) {
  if (!window || !window->hwnd) return;
  window->view = nullptr;
  DestroyWindow(window->hwnd);
}

void window_focus(Window* window) {
  if (window && window->hwnd) SetFocus(window->hwnd);
}

int window_screen_position(Window* window, int* x, int* y) {
  *x = *y = 0;
  RECT r;
  if (!window || !window->hwnd || !GetWindowRect(window->hwnd, &r)) return 0;
  *x = r.left;
  *y = r.top;
  return 1;
}

void window_client_size(Window* window, int* width, int* height) {
  *width = *height = 0;
  RECT r;
  if (!window || !window->hwnd || !GetClientRect(window->hwnd, &r)) return;
  *width = win32::logical_length(r.right, window->dpi);
  *height = win32::logical_length(r.bottom, window->dpi);
}

namespace {

// The system's measures for this window's style at `dpi`, in device pixels.
SystemMeasures device_measures(int dpi) {
  SystemMeasures m{};
  m.hscroll_height = win32::metric_at(SM_CYHSCROLL, dpi);
  m.vscroll_width = win32::metric_at(SM_CXVSCROLL, dpi);
  m.edge_width = win32::metric_at(SM_CXEDGE, dpi);
  m.edge_height = win32::metric_at(SM_CYEDGE, dpi);
  const RECT frame = win32::frame_at(WINDOW_STYLE, WINDOW_EX_STYLE, dpi);
  m.frame_width = -frame.left - m.edge_width;
  m.frame_height = frame.bottom - m.edge_height;
  m.caption_height = -frame.top - frame.bottom;
  m.full_screen_client_height = win32::metric_at(SM_CYFULLSCREEN, dpi);
  RECT work;
  if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
    m.screen_width = work.right - work.left;
    m.screen_height = work.bottom - work.top;
  }
  return m;
}

int window_dpi(Window* window) {
  return window && window->hwnd ? window->dpi : win32::dpi_of(nullptr);
}

// What the frame, the client edge and the scroll bars shown add to the
// client area, across and down, in the measures `m`.
SIZE non_client(const SystemMeasures& m, DWORD style) {
  SIZE s{2 * (m.frame_width + m.edge_width),
         m.caption_height + 2 * (m.frame_height + m.edge_height)};
  if (style & WS_VSCROLL) s.cx += m.vscroll_width;
  if (style & WS_HSCROLL) s.cy += m.hscroll_height;
  return s;
}

}  // namespace

// The frame parts as the system adds them to this window's style, so that a
// size the core computes gives exactly the client area it asked for; in
// logical pixels.
void system_measures(SystemMeasures* m) {
  const int dpi = window_dpi(main_window());
  *m = device_measures(dpi);
  for (int* part : {&m->hscroll_height, &m->vscroll_width, &m->frame_width, &m->frame_height,
                    &m->edge_width, &m->edge_height, &m->caption_height,
                    &m->full_screen_client_height, &m->screen_width, &m->screen_height})
    *part = win32::logical_length(*part, dpi);
}

// The client area the core asked for, scaled; the frame as the system draws
// it at this DPI around it.
void window_set_bounds(Window* window, int move, int x, int y, int width, int height) {
  if (!window || !window->hwnd || width <= 0 || height <= 0) return;
  const int dpi = window->dpi;
  if (dpi != win32::STANDARD_DPI) {
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window->hwnd, GWL_STYLE));
    SystemMeasures logical;
    system_measures(&logical);
    const SIZE nc_logical = non_client(logical, style);
    const SIZE nc_device = non_client(device_measures(dpi), style);
    width = win32::device_length(width - nc_logical.cx, dpi) + nc_device.cx;
    height = win32::device_length(height - nc_logical.cy, dpi) + nc_device.cy;
  }
  // The strip under the scroll bar is the platform's, not the core's.
  height += status_device_height(*window);
  ++window->core_sizing;
  SetWindowPos(window->hwnd, nullptr, x, y, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | (move ? 0 : SWP_NOMOVE));
  --window->core_sizing;
  resize_window_canvas(*window);
}

void center_over_owner(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT o, d;
  if (!owner || !GetWindowRect(owner, &o) || !GetWindowRect(dialog, &d)) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  const int w = d.right - d.left, h = d.bottom - d.top;
  int x = (o.left + o.right - w) / 2, y = (o.top + o.bottom - h) / 2;
  x = x + w > work.right ? work.right - w : x;
  y = y + h > work.bottom ? work.bottom - h : y;
  x = x < work.left ? work.left : x;
  y = y < work.top ? work.top : y;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void window_resized(Window& w) {
  if (!w.core_sizing && w.view && !IsIconic(w.hwnd)) on_window_resized(*w.view);
}

void window_allow_maximize(Window* window, int allow) {
  if (!window || !window->hwnd) return;
  window->may_maximize = allow;
  HWND hwnd = window->hwnd;
  if (!allow && IsZoomed(hwnd)) ShowWindow(hwnd, SW_RESTORE);
  if (window->full_screen) return;  // the frame comes back as it was asked for now
  LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  style = allow ? (style | WS_MAXIMIZEBOX) : (style & ~static_cast<LONG_PTR>(WS_MAXIMIZEBOX));
  SetWindowLongPtrW(hwnd, GWL_STYLE, style);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// The monitor's whole rectangle, without frame or caption; back to the
// place and frame the window had.
void window_set_full_screen(Window* window, int on) {
  if (!window || !window->hwnd || on == window->full_screen) return;
  HWND hwnd = window->hwnd;
  window->full_screen = on;
  if (on) {
    window->windowed_style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    window->windowed_ex_style = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    window->windowed_place.length = sizeof(WINDOWPLACEMENT);
    GetWindowPlacement(hwnd, &window->windowed_place);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& r = monitor.rcMonitor;
    SetWindowLongPtrW(hwnd, GWL_STYLE,
                      window->windowed_style & ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME));
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE,
                      window->windowed_ex_style & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    SetWindowPos(hwnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE);
    return;
  }
  LONG_PTR style = window->windowed_style;
  style = window->may_maximize ? (style | WS_MAXIMIZEBOX)
                               : (style & ~static_cast<LONG_PTR>(WS_MAXIMIZEBOX));
  SetWindowLongPtrW(hwnd, GWL_STYLE, style);
  SetWindowLongPtrW(hwnd, GWL_EXSTYLE, window->windowed_ex_style);
  SetWindowPlacement(hwnd, &window->windowed_place);
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void change_dpi(Window& w, int dpi, const RECT& suggested) {
  w.dpi = dpi;
  SetWindowPos(w.hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  resize_window_canvas(w);
  InvalidateRect(w.hwnd, nullptr, FALSE);
}

void window_set_busy(Window* window, int busy) {
  if (!window || !window->hwnd) return;
  window->busy = busy;
  POINT p;
  RECT r;
  // Shown at once when the pointer is over the window; WM_SETCURSOR keeps it.
  if (GetCursorPos(&p) && GetWindowRect(window->hwnd, &r) && PtInRect(&r, p))
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

}  // namespace yomite::platform
