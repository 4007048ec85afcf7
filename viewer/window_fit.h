// Fit to window and full screen (extensions). With "fit to window" on
// (settings Window/FitToWindow, off by default) the window may be maximized
// and sized freely, and the page follows it: the column length from the
// window's height (its width in horizontal writing), the columns per page
// from the other side, laid out again where the reader is. F11 fills the
// screen in either mode, the page with it. Off, the window keeps the size
// the open step gives it and refuses maximize, as specified.
#pragma once

#include "view/view_context.h"

namespace yomite {

constexpr int CMD_FIT_WINDOW = 3030;
constexpr int CMD_FULL_SCREEN = 3031;
constexpr const char* FIT_WINDOW_LABEL = "ウィンドウに合わせて組む(&G)";
constexpr const char* FULL_SCREEN_LABEL = "全画面表示\tF11";

// The user's resizing is laid out once it has rested this long, ms.
constexpr int RESIZE_SETTLE_MS = 40;

// The page follows the window now (fit to window or full screen).
int page_follows_window(const ViewContext& view);

// Column length and columns per page for the window's client size; 0 when
// they are what the view has already.
int fit_geometry_to_window(ViewContext& view);

// The shell saw the window take a size it did not ask for (the user, the
// window manager, full screen): the page follows once the size rests.
void on_window_resized(ViewContext& view);

// From on_tick: the relayout a resize asked for, once it is due.
void run_due_relayout(ViewContext& view);

// A place in the text: the logical line (counted by the display lines that
// end one) and the unit offset in it, as the display lines hold it.
struct TextPlace {
  int paragraph = 0;
  int offset = 0;
};
// Walks the display lines once, as they are laid out, to the one holding a
// place: scan() looks at the lines laid out since the last call.
struct PlaceFinder {
  explicit PlaceFinder(const TextPlace& place) : want(place) {}
  int scan(const ViewContext& view);  // the line found, or -1 so far
  TextPlace want;
  int scanned = 0;
  TextPlace at;  // the place of display line `scanned`
  int found = -1;
};
// The place of the first character of display line `line`.
TextPlace place_of_line(const ViewContext& view, int line);
// The display line holding `place`, or -1 when it is not laid out (yet).
int line_of_place(const ViewContext& view, const TextPlace& place);

// Lays the document out again for the view's geometry with the fonts it
// has, keeping the first character shown and the mark where they are: what
// the picture shows first, the rest in idle time.
void relayout_keeping_place(ViewContext& view);

// The window's mode from the view's settings (start-up).
void apply_window_fit(ViewContext& view);

// Fit to window on or off (the menu's check item, the settings dialog):
// written to the settings at once.
void set_fit_to_window(ViewContext& view, int on);

}  // namespace yomite
