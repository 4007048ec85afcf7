// Windows of the fake backend: a record with a scripted client size that
// records how the core sized, moved, scrolled and repainted it, and the
// keyboard, clock and sounds around it.
//
// `log` has one line per picture call, for example
//   scroll 4 0 0 0 600 450      (dx dy, then the area: left top right bottom)
//   validate 0 0 4 450
//   invalidate 0 0 27 450 0     (the rect, then erase; "invalidate all 1")
//   update                      flush
// Drawing on the window's canvas goes to `canvas_log` ("win fill x y w h").
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/appearance.h"
#include "platform/canvas.h"
#include "platform/fake/fake_canvas.h"
#include "platform/window.h"

namespace yomite::platform {

struct ScrollBarState {
  int min = 0, max = 0;
  int page = 0, pos = 0;
  int range_sets = 0, thumb_sets = 0;
};

struct Window {
  explicit Window(int width = 0, int height = 0) : client_width(width), client_height(height) {}
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  ~Window() {
    if (canvas) canvas_destroy(canvas);
  }

  int client_width = 0;
  int client_height = 0;
  int busy = 0;               // the wait cursor is shown
  int busy_shown = 0;         // times it was shown
  int x = -1, y = -1;         // screen position last moved to
  int width = 0, height = 0;  // outer size last set
  int bounds_set = 0;         // times sized
  int moved = 0;              // times moved
  int repaints = 0;           // whole-window repaint requests
  std::string title;
  ScrollBarState bars[2];   // SCROLL_BAR_HORZ, SCROLL_BAR_VERT
  std::string tooltips[2];  // what each bar says under the pointer
  int status_shown = 0;     // the strip under the page, and its text
  std::string status;
  std::vector<std::string> log;
  int focused = 0;       // times given the focus
  int close_posted = 0;  // close requests
  int drops_accepted = 0;
  int shown = 0;
  int maximize_allowed = 0;  // window_allow_maximize
  int full_screen = 0;       // window_set_full_screen
  int idle_calls = 0;        // 1: window_call_when_idle accepts (the test then calls on_idle)
  int idle_requests = 0;     // calls it accepted
  ViewContext* view = nullptr;
  // The clock: the tick asked for (window_request_tick), and every request's ms.
  int tick_pending = 0;
  unsigned tick_due = 0;  // on the fake clock (tick_ms)
  std::vector<int> tick_requests;
  std::shared_ptr<fake::Recording> canvas_log;
  platform::Canvas* canvas = nullptr;  // made on first use, kept for the window's life
};

// The measures system_measures reports; tests may change them.
SystemMeasures& fake_system_measures();

}  // namespace yomite::platform

namespace yomite::fake {

// Shift and Ctrl as modifiers_down reports them (KEYMOD_*).
void set_modifiers(int modifiers);

// How long showing the picture takes on the fake clock (tick_ms); 0 after a
// reset.
void set_flush_ms(int ms);

// Moves the fake clock on (a test runs the tick a window asks for once the
// clock reaches tick_due: tests/viewer/viewer_fixture.h).
void advance_clock(int ms);

// Beeps since the last reset.
int beeps();
void reset_sounds_and_clock();

// The desktop's light or dark preference desktop_color_scheme reports
// (SCHEME_UNKNOWN after a reset), and the view a watch was asked for.
void set_color_scheme(int scheme);
ViewContext* color_scheme_watcher();

// The window that window_create made last (the fake makes a fresh record).
platform::Window* last_created_window();

// Log lines of `window` that begin with `prefix`.
std::vector<std::string> window_log_with(const platform::Window& window, const std::string& prefix);

}  // namespace yomite::fake
