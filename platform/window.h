// The viewer's main window as the core sees it: an opaque handle and the few
// services the core asks of it. The toolkit around it (GTK here, Win32 later)
// turns its events into the calls of viewer/; every decision is the core's.
//
// Coordinates are client pixels: x to the right, y downward, from the top-left
// corner of the text area (scroll bars not included).
#pragma once

#include <string>

namespace yomite {
struct ViewContext;
}

namespace yomite::platform {

struct Window;
struct Canvas;

// A rectangle of client pixels; right and bottom are exclusive.
struct WindowRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// --- life of the window -------------------------------------------------------

// The main window, not shown yet: titled "Yomite", 300 x 300 at the place
// the desktop chooses, with a sizing border and a minimize button but no
// maximize; maximize requests are refused. Null when it cannot be made.
Window* window_create();

// Lets the window's events reach the view (until then they are ignored).
void window_attach_view(Window* window, ViewContext* view);

void window_set_title(Window* window, const std::string& title);  // UTF-8

// Files dropped on the window from now on reach on_dropped_files.
void window_accept_drops(Window* window);

// Shows the window; one that still is not visible moves to (0, 0).
void window_show(Window* window);

// Runs the event loop until the main window is gone; returns its exit code.
int run_event_loop();

// Asks the window to close as its close button would (later, from the loop).
void window_post_close(Window* window);

// Destroys a window at once, without telling its view: for a start-up that
// gives up before the loop runs.
void window_destroy(Window* window);

// Gives the window the keyboard focus.
void window_focus(Window* window);

// Left and top of the window's screen rectangle (frame included). 1, or 0
// when the desktop does not tell (the values are then 0).
int window_screen_position(Window* window, int* x, int* y);

// --- size ---------------------------------------------------------------------

// The window's inner (client) size in pixels; 0 x 0 for a null window.
void window_client_size(Window* window, int* width, int* height);

// Sizes of the system's window parts, in pixels. A backend whose window
// manager draws the frame outside the client area reports 0 for the frame,
// edge and caption parts.
struct SystemMeasures {
  int hscroll_height;             // a horizontal scroll bar, across
  int vscroll_width;              // a vertical scroll bar, across
  int frame_width;                // sizing border, left and right each
  int frame_height;               // sizing border, top and bottom each
  int edge_width;                 // sunken client edge, left and right each
  int edge_height;                // sunken client edge, top and bottom each
  int caption_height;             // title bar
  int full_screen_client_height;  // tallest client area a screen-filling window gets
  // The largest outer size a window may take (the monitor's work area); 0
  // when unknown, which leaves the size alone.
  int screen_width;
  int screen_height;
};
void system_measures(SystemMeasures* measures);

// Gives the window an outer size of width x height (frame and caption
// included); with move 1 also puts its top-left corner at screen point (x, y).
// Nothing for a null window.
void window_set_bounds(Window* window, int move, int x, int y, int width, int height);

// Extensions (viewer/window_fit.h). With `allow` 1 the window offers
// maximize and takes it; with 0 (as created) maximize is refused.
void window_allow_maximize(Window* window, int allow);
// Fills the screen (1) or goes back to the size it had (0). A size the
// window takes that the core did not set reaches on_window_resized.
void window_set_full_screen(Window* window, int on);

// --- the scroll bar -----------------------------------------------------------

// The window has one bar of each direction; the core shows one of them.
constexpr int SCROLL_BAR_HORZ = 0;  // along the bottom edge
constexpr int SCROLL_BAR_VERT = 1;  // along the right edge

// Range min..max; a range of 0..0 hides the bar.
void scroll_bar_set_range(Window* window, int bar, int min, int max);
// Thumb size (in range units) and position.
void scroll_bar_set_thumb(Window* window, int bar, int page, int pos);
// The thumb size the bar has now.
int scroll_bar_page(Window* window, int bar);

// --- where the reader is (an extension) -------------------------------------------

// A thin strip along the bottom of the window, outside the client area,
// showing `text` (UTF-8); `shown` 0 hides it. The client area keeps its size:
// the window grows or shrinks by the strip.
void window_set_status(Window* window, int shown, const std::string& text);

// What the scroll bar says when the pointer rests on it (UTF-8).
void scroll_bar_set_tooltip(Window* window, int bar, const std::string& text);

// --- the picture --------------------------------------------------------------

// Asks for the whole client area to be erased and painted again (later, from
// the event loop). Nothing for a null window or a window that is never shown.
void window_request_repaint(Window* window);

// Marks `rect` (null: the whole client area) for painting from the event loop
// or the next window_update; `erase` fills it with the background first
// where the backend erases at all.
void window_invalidate(Window* window, const WindowRect* rect, int erase);

// Takes `rect` out of what is waiting to be painted.
void window_validate(Window* window, const WindowRect& rect);

// Shifts the picture inside `area` by dx, dy pixels (positive: right, down);
// the band it uncovers is marked for painting, and what was waiting to be
// painted moves along.
void window_scroll(Window* window, int dx, int dy, const WindowRect& area);

// Paints what is waiting to be painted now, through on_paint, and shows it.
void window_update(Window* window);

// A canvas on the window's picture (the "window context"), valid until the
// next change of the window's size. What is drawn on it shows at the next
// window_flush or window_update.
Canvas* window_canvas(Window* window);

// Makes every change of the picture so far reach the screen before it returns.
void window_flush(Window* window);

// Asks for on_idle(view) (viewer/program.h) to be called once the event loop
// has nothing else to do, and again for as long as it returns 1. 0 when the
// window has no event loop to do that (the caller then does the work now).
int window_call_when_idle(Window* window);

// Shows the wait cursor over the window while `busy` is 1 (long loads), the
// arrow again with 0. Nothing for a null window.
void window_set_busy(Window* window, int busy);

// --- input and time ------------------------------------------------------------

// Shift and Ctrl, as the keyboard holds them now.
constexpr int KEYMOD_SHIFT = 1;
constexpr int KEYMOD_CTRL = 2;
int modifiers_down();

// Asks for on_tick(view) (viewer/scrolling.h) once, `ms` milliseconds from now
// (0 or less: as soon as the event loop is free); a request replaces one still
// waiting. Nothing for a null window.
void window_request_tick(Window* window, int ms);

void beep();
// Milliseconds on a clock that only moves forward (it wraps after 2^32).
unsigned tick_ms();

}  // namespace yomite::platform
