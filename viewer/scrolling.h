// Scrolling: the only scroll state is top_line, the first display line shown.
// Forward is towards higher top_line: in vertical writing the picture moves
// right (new columns come in at the left edge), in horizontal writing up.
//
//   scroll_by / scroll_step   moves by display lines, shifting the picture
//                             and painting only the uncovered band; one line
//                             may go in smooth_dots-pixel steps
//   jump_to                   sets top_line and repaints
//   page boundaries           next / previous page, page n
//   on_hscroll / on_vscroll   the scroll bar's requests
//   update_scroll_bar         the bar from top_line (0..1000)
//   on_tick, the automatic scroll   a column in pixel steps on the shell's
//                             clock; the automatic scroll, until a key stops it
#pragma once

#include "view/view_context.h"

namespace yomite {

// The scroll bar's range; page size and position are per mille of it.
constexpr int SCROLL_RANGE = 1000;

// Requests of the scroll bar (the horizontal bar's left is "up").
constexpr int BAR_LINE_UP = 0;
constexpr int BAR_LINE_DOWN = 1;
constexpr int BAR_PAGE_UP = 2;
constexpr int BAR_PAGE_DOWN = 3;
constexpr int BAR_THUMB_POSITION = 4;  // the thumb let go
constexpr int BAR_THUMB_TRACK = 5;     // the thumb dragged to `pos`
constexpr int BAR_TOP = 6;
constexpr int BAR_BOTTOM = 7;
constexpr int BAR_END_SCROLL = 8;

// Display lines wholly visible across the window (V).
int visible_lines(const ViewContext& view);

// Shows the used bar (horizontal in vertical writing), hides the other, and
// sets its thumb from top_line; returns the position set.
int update_scroll_bar(ViewContext& view);

// Moves by n display lines (signed). One line goes through scroll_step (in
// pixel steps when `animate` allows); more lines go one at a time, half of n
// of them, when stepping (smooth_scroll, inverted while Ctrl is down), else at
// once. 1 when every step moved, 0 when one did not (start or end) or n is 0.
int scroll_by(ViewContext& view, int n, int animate);

// One move by n lines (0 counts as forward). 0 when already at the start
// (n < 0) or at the last line (n >= 0), else 1.
int scroll_step(ViewContext& view, int n, int animate);

// Sets top_line (kept in 0..line_count - 1), repaints, updates the bar.
void jump_to(ViewContext& view, int line);

// First display line of the next page, or -1 when there is none.
int next_page_top(const ViewContext& view);
// First line of the page holding top_line, or of the page before when top_line
// already is one; -1 at line 0.
int previous_page_top(const ViewContext& view);
// First line of page n (1-based), or the last display line beyond the end.
int page_top(const ViewContext& view, int page);

void on_vscroll(ViewContext& view, int code, int pos);
// Vertical writing maps the horizontal bar onto on_vscroll (left is forward);
// in horizontal writing the horizontal bar does nothing.
void on_hscroll(ViewContext& view, int code, int pos);

// Milliseconds each pixel step waits at an automatic-scroll speed (0..5).
int dot_delay_ms(int speed);

// A column in flight (the automatic scroll's pixel steps) ...
int column_in_flight(const ViewContext& view);
// ... takes the steps whose time has come, asks for a tick for the next, and
// lands once the last step's wait is over.
void advance_column(ViewContext& view);
// ... lands at once: anything else that changes the view settles it first.
void settle_column(ViewContext& view);

// Starts the automatic scroll as Shift+Ctrl+Left (+1) or Right (-1) does:
// speed 5 that way, smooth scrolling switched on when it was off. It runs
// until Esc, Shift, Ctrl, a click, or either end: Left and Right change
// speed and direction, digits 0..5 set the speed (0 pauses).
void start_auto_scroll(ViewContext& view, int direction);

// Between columns: the next column, or the end when a stop came.
void auto_scroll_next(ViewContext& view);
// A column of the automatic scroll landed: the next after a pause.
void auto_scroll_column_landed(ViewContext& view);

// A key or click while the automatic scroll runs steers or stops it; 1 when
// it was taken (then it does nothing else). A click that stops the scroll
// acts once the scroll has stopped.
int auto_scroll_takes_key(ViewContext& view, int key);
int auto_scroll_takes_click(ViewContext& view, int button, int x, int y);

}  // namespace yomite
