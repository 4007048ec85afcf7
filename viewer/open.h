// The open step: the road of every file into the window, at start-up and at
// every reload.
//
//   probe load -> options -> font-size clamp -> defaults -> fonts and full
//   load -> window geometry -> J/R jump (or the kept place) -> loaded -> mark
//   restore (and the mark's kept place) -> repaint
// The kept places are an extension (viewer/place.h).
#pragma once

#include <vector>

#include "platform/window.h"
#include "view/view_context.h"
#include "viewer/command_line.h"

namespace yomite {

// Opens view.doc.file_name in the view's window. `font_size` is a requested size
// (0 = keep), kept in OPTION_FONT_SIZE_MIN..MAX; x and y place the window
// when both are >= 0; `options` are the command line's (null on a reload).
// Does nothing when a document is loaded, there is no file name or no window.
void open_document(ViewContext& view, int font_size, int x, int y,
                   const std::vector<ViewerOption>* options);

// Empty or 0 layout values taken from the standard settings (or their fallbacks).
void fill_layout_defaults(ViewContext& view);

// A column is this many half widths longer than its text: room for the
// hanging punctuation and the margins at both ends.
constexpr int COLUMN_MARGIN_HALF_WIDTHS = 8;

// Largest window edge the open step works out, px.
constexpr int WINDOW_SIZE_MAX = 32767;
struct WindowSize {
  int width, height;
};

// The outer window size for the laid-out view: a column of column_chars + 8
// half widths across the text, and as many columns as fit 3/2 of that (or
// page_lines in page mode) along it, plus scroll bar, frame and caption;
// never more than WINDOW_SIZE_MAX a side.
WindowSize window_size_for(const ViewContext& view, const platform::SystemMeasures& m);

// `size` kept within the screen (screen_width x screen_height, when known):
// the window the open step asks for never exceeds the screen.
WindowSize fit_to_screen(WindowSize size, const platform::SystemMeasures& m);

// Whether fit_to_screen cuts `size`.
int exceeds_screen(WindowSize size, const platform::SystemMeasures& m);

// J: display line n (1-based) at the top, the last one when beyond the end;
// else R: the first display line of logical line n.
void jump_to_requested_line(ViewContext& view, const OptionRequests& requests);

// Puts the mark on the first display line of page mark_page, when it exists.
void restore_mark(ViewContext& view);

}  // namespace yomite
