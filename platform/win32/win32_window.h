// The Win32 window behind platform::Window: one main window of the class
// "YomiteClass", its own device context (CS_OWNDC) that the window canvas
// draws on, and the tick the core asked for.
#pragma once

#include <string>

#include "platform/canvas.h"
#include "platform/win32/dpi.h"
#include "platform/win32/windows_api.h"
#include "platform/window.h"

namespace yomite {
struct ViewContext;
}

namespace yomite::platform {

constexpr const wchar_t* WINDOW_CLASS = L"YomiteClass";

struct Window {
  HWND hwnd = nullptr;  // null once destroyed
  ViewContext* view = nullptr;
  // The monitor's DPI: the core's logical pixels are dpi / 96 device pixels.
  int dpi = win32::STANDARD_DPI;
  Canvas* canvas = nullptr;  // on the window's own device context
  int canvas_dpi = win32::STANDARD_DPI;
  int busy = 0;
  int idle_work = 0;    // on_idle is wanted once the queue is empty
  int wheel_rest = 0;   // wheel delta not yet a whole notch (WHEEL_DELTA)
  int tick_wanted = 0;  // on_tick is asked for, at GetTickCount() == tick_due
  DWORD tick_due = 0;
  // The strip under the scroll bar and the bars' tooltips (status.cc).
  int status_shown = 0;
  std::wstring status_text;
  RECT status_rect{};  // in window coordinates
  HWND tooltip = nullptr;
  std::wstring tooltips[2];
  int tooltip_bar = -1;  // the bar the tooltip shows for, -1: hidden
  // Fit to window and full screen (extensions).
  int may_maximize = 0;
  int full_screen = 0;
  LONG_PTR windowed_style = 0, windowed_ex_style = 0;  // before full screen
  WINDOWPLACEMENT windowed_place{};
  int core_sizing = 0;  // a size the core sets is no resize of the user's
};

// The main window, or null before window_create.
Window* main_window();
// The window a modal window should be owned by (null: none).
HWND owner_hwnd(Window* owner);
HINSTANCE instance();

// The registered messages "Yomite-Init" and "Yomite-Command" (0 when
// registering failed: they are then never matched).
UINT init_message();
UINT command_message();
void register_messages();

// clock.cc: how long the event loop may wait for a message before the tick
// asked for is due (INFINITE: none is asked for).
DWORD tick_wait(const Window& w);

// A point of the client area in device pixels as the core's logical one.
inline int logical_point(const Window& w, int device) {
  return win32::logical_start(device, w.dpi);
}

// WM_DPICHANGED: the window takes the size the system suggests for the new
// DPI (the same logical size) and is drawn again at its scale.
void change_dpi(Window& w, int dpi, const RECT& suggested);

// window.cc: a dialog stands centred over the window that owns it, inside
// that monitor's work area.
void center_over_owner(HWND dialog);

// appearance.cc: WM_SETTINGCHANGE; the light or dark preference may have changed.
void desktop_settings_changed(Window& w, LPARAM lparam);

// window.cc: WM_SIZE; the core hears of a size it did not set itself.
void window_resized(Window& w);

// window_proc.cc: the window procedure of "YomiteClass".
LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

// picture.cc: WM_PAINT through the core's on_paint; the window canvas
// follows a change of the client size.
void paint_window(Window& w);
void resize_window_canvas(Window& w);
void release_window_canvas(Window& w);

// messages.cc: a registered message for the viewer; 1 with `result` set when
// it was one.
int handle_viewer_message(Window& w, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);

// dialogs.cc: a message for the window beside the main one (the find
// window), taken before the loop dispatches it: 1 when it was.
int modeless_takes_message(MSG& msg);

// status.cc: the strip under the scroll bar (an extension), in the frame
// below the client area; and the scroll bars' tooltips.
// WM_NCCALCSIZE, after the system's: the client area gives up the strip.
void status_calc_size(Window& w, NCCALCSIZE_PARAMS& params, const RECT& window_rect);
// WM_NCPAINT and WM_NCACTIVATE, after the system's: the strip drawn.
void status_paint(Window& w);
// Device pixels the strip takes (0 while hidden).
int status_device_height(const Window& w);
// WM_NCMOUSEMOVE and WM_NCMOUSELEAVE: the tooltip of the bar under the pointer.
void tooltip_follow(Window& w, int hit, POINT screen);
void tooltip_hide(Window& w);

// drops.cc: WM_DROPFILES.
void handle_dropped_files(Window& w, HDROP drop);

}  // namespace yomite::platform
