// The viewer's main window as the core sees it: an opaque handle.
#pragma once

namespace yomite::platform {

struct Window;

// The window's inner (client) size in pixels; 0 x 0 for a null window.
void window_client_size(Window* window, int* width, int* height);

// Shows the wait cursor over the window while `busy` is 1 (long loads), the
// arrow again with 0. Nothing for a null window.
void window_set_busy(Window* window, int busy);

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

// Asks for the whole client area to be erased and painted again (later, from
// the event loop). Nothing for a null window or a window that is never shown.
void window_request_repaint(Window* window);

}  // namespace yomite::platform
