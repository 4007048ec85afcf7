// Moving top_line and keeping the picture and the scroll bar in step with it.
#include "viewer/scrolling.h"

#include <algorithm>
#include <cstdlib>

#include "platform/canvas.h"
#include "platform/window.h"

namespace yomite {

namespace {

int last_line(const ViewContext& v) {
  return std::max(v.doc.line_count - 1, 0);
}

int ctrl_down() {
  return (platform::modifiers_down() & platform::KEYMOD_CTRL) ? 1 : 0;
}

platform::WindowRect client_rect(const ViewContext& v) {
  platform::WindowRect r;
  platform::window_client_size(v.viewport.window, &r.right, &r.bottom);
  return r;
}

// A strip of the client area uncovered by one pixel step: it is filled with
// the background at once and kept out of painting, so only the new column is
// painted when the steps are done.
void fill_uncovered(const ViewContext& v, const platform::WindowRect& strip) {
  platform::window_validate(v.viewport.window, strip);
  platform::Canvas* c = platform::window_canvas(v.viewport.window);
  if (!c) return;
  platform::CanvasColor old = platform::canvas_set_brush(*c, v.settings.back_color);
  c->ops->fill(*c, strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top);
  platform::canvas_set_brush(*c, old);
}

// One pixel step of a column: the picture shifts by smooth_dots and reaches
// the screen.
void pixel_step(const ViewContext& v, const platform::WindowRect& r, int sign, int dots) {
  platform::window_scroll(v.viewport.window, sign * dots, 0, r);
  platform::WindowRect strip = r;
  if (sign > 0)
    strip.right = std::min(r.right, dots);
  else
    strip.left = std::max(0, r.right - dots);
  fill_uncovered(v, strip);
  platform::window_flush(v.viewport.window);
}

// The column's last `rest` pixels; then only the new column is painted.
void land_column(const ViewContext& v, const platform::WindowRect& r, int sign, int rest) {
  const int pitch = v.typeset.column_pitch;
  if (rest > 0) platform::window_scroll(v.viewport.window, sign * rest, 0, r);
  platform::WindowRect column = r;
  if (sign > 0)
    column.right = std::min(r.right, pitch);
  else
    column.left = std::max(0, r.right - pitch);
  platform::window_invalidate(v.viewport.window, &column, 0);
}

// What a move ends with: the bar follows and what is pending is painted.
void finish_move(ViewContext& v) {
  update_scroll_bar(v);
  platform::window_update(v.viewport.window);
}

// One column moved in smooth_dots-pixel steps; `sign` +1 shifts the picture
// right (forward in vertical writing), -1 left. Without a delay the steps
// follow each other at once; with one (the automatic scroll) the column is
// in flight and takes a step per tick, keeping the delay's pace on the clock.
void step_column(ViewContext& v, const platform::WindowRect& r, int sign, int delay) {
  const int dots = v.settings.smooth_dots;
  const int steps = v.typeset.column_pitch / dots;
  if (delay > 0) {
    v.viewport.column = ColumnInFlight{steps, sign, platform::tick_ms(), delay, dots};
    advance_column(v);
    return;
  }
  for (int i = 0; i < steps; ++i) pixel_step(v, r, sign, dots);
  land_column(v, r, sign, v.typeset.column_pitch % dots);
}

// The picture after top_line moved by `moved` lines (signed) on a request of
// `requested` lines.
void move_picture(ViewContext& v, int requested, int moved, int animate, int delay) {
  const platform::WindowRect r = client_rect(v);
  const int visible = (v.typeset.vertical ? r.right : r.bottom) / v.typeset.column_pitch;
  const int count = std::abs(requested);
  const int sign = moved < 0 ? -1 : 1;
  const int distance = std::abs(moved) * v.typeset.column_pitch;
  if (count >= visible / 2) {
    platform::window_invalidate(v.viewport.window, nullptr, 1);
  } else if (!v.typeset.vertical) {
    // Rows: backward pushes the picture down, forward pulls the rest up.
    platform::WindowRect area = r;
    if (sign > 0) area.top = std::min(distance, r.bottom);
    platform::window_scroll(v.viewport.window, 0, sign > 0 ? -distance : distance, area);
  } else if (count != 1 || !v.settings.smooth_scroll || !animate) {
    platform::window_scroll(v.viewport.window, sign * distance, 0, r);
  } else {
    step_column(v, r, sign, delay);
  }
}

}  // namespace

int column_in_flight(const ViewContext& v) {
  return v.viewport.column.sign != 0;
}

void advance_column(ViewContext& v) {
  ColumnInFlight& c = v.viewport.column;
  if (!c.sign) return;
  const platform::WindowRect r = client_rect(v);
  for (;;) {
    const int wait = static_cast<int>(c.due - platform::tick_ms());
    if (wait > 0) {
      platform::window_request_tick(v.viewport.window, wait);
      return;
    }
    if (c.steps_left == 0) break;
    pixel_step(v, r, c.sign, c.dots);
    --c.steps_left;
    c.due += static_cast<unsigned>(c.delay);
  }
  const int sign = c.sign, rest = v.typeset.column_pitch % c.dots;
  c = ColumnInFlight{};
  land_column(v, r, sign, rest);
  finish_move(v);
  auto_scroll_column_landed(v);
}

void settle_column(ViewContext& v) {
  ColumnInFlight& c = v.viewport.column;
  if (!c.sign) return;
  const platform::WindowRect r = client_rect(v);
  const int sign = c.sign;
  const int rest = c.steps_left * c.dots + v.typeset.column_pitch % c.dots;
  c = ColumnInFlight{};
  land_column(v, r, sign, rest);
  finish_move(v);
  auto_scroll_column_landed(v);
}

int dot_delay_ms(int speed) {
  switch (speed) {
    case 1:
      return 50;
    case 2:
      return 40;
    case 3:
      return 15;
    case 4:
      return 10;
    case 5:
      return 1;
    default:
      return 0;
  }
}

int scroll_step(ViewContext& v, int n, int animate) {
  settle_column(v);
  const int delay =
      v.viewport.auto_scroll.active ? dot_delay_ms(std::abs(v.viewport.auto_speed)) : 0;
  if (v.settings.smooth_dots <= 0) animate = 0;
  if ((n < 0 && v.viewport.top_line <= 0) ||
      (n >= 0 && v.viewport.top_line >= v.doc.line_count - 1))
    return 0;
  if (v.typeset.column_pitch <= 0) return 0;
  const int old = v.viewport.top_line;
  if (n < 0)
    v.viewport.top_line =
        std::max(static_cast<int>(std::max(1LL * v.viewport.top_line + n, 0LL)), 0);
  else
    v.viewport.top_line =
        static_cast<int>(std::min(1LL * v.viewport.top_line + n, 1LL * last_line(v)));
  // A move cut short at either end shifts the picture only as far as
  // top_line went.
  move_picture(v, n, v.viewport.top_line - old, animate, delay);
  if (!column_in_flight(v)) finish_move(v);  // else once the column lands
  return 1;
}

int scroll_by(ViewContext& v, int n, int animate) {
  if (n == 0) return 0;
  if (n == 1 || n == -1) return scroll_step(v, n, animate);
  const int stepwise = ctrl_down() ? !v.settings.smooth_scroll : v.settings.smooth_scroll;
  if (!stepwise) return scroll_step(v, n, animate);
  const int sign = n < 0 ? -1 : 1;
  for (int i = 0; i < std::abs(n) / 2; ++i)
    if (!scroll_step(v, sign, animate)) return 0;
  return 1;
}

void jump_to(ViewContext& v, int line) {
  v.viewport.top_line = std::clamp(line, 0, last_line(v));
  platform::window_invalidate(v.viewport.window, nullptr, 0);
  update_scroll_bar(v);
}

int next_page_top(const ViewContext& v) {
  if (v.settings.page_lines <= 0) return -1;
  const long long t =
      (1LL * v.viewport.top_line / v.settings.page_lines + 1) * v.settings.page_lines;
  return t < v.doc.line_count ? static_cast<int>(t) : -1;
}

int previous_page_top(const ViewContext& v) {
  if (v.viewport.top_line <= 0 || v.settings.page_lines <= 0) return -1;
  int q = v.viewport.top_line / v.settings.page_lines;
  if (q == 0) return 0;
  if (v.viewport.top_line % v.settings.page_lines == 0) --q;
  return q * v.settings.page_lines;
}

int page_top(const ViewContext& v, int page) {
  const long long t = (1LL * page - 1) * std::max(v.settings.page_lines, 0);
  return t < v.doc.line_count ? static_cast<int>(std::max(t, 0LL)) : last_line(v);
}

void on_vscroll(ViewContext& v, int code, int pos) {
  settle_column(v);
  switch (code) {
    case BAR_LINE_UP:
      scroll_by(v, -1, 0);
      return;
    case BAR_LINE_DOWN:
      scroll_by(v, 1, 0);
      return;
    case BAR_PAGE_UP:
      scroll_by(v, -v.settings.page_lines, 0);
      return;
    case BAR_PAGE_DOWN:
      scroll_by(v, v.settings.page_lines, 0);
      return;
    case BAR_THUMB_TRACK:
      break;
    default:
      return;  // the thumb let go, top, bottom, end of scroll
  }
  if (v.viewport.thumb_pos != 0 && pos == v.viewport.thumb_pos) return;
  if (v.typeset.vertical) {
    const int page = platform::scroll_bar_page(v.viewport.window, platform::SCROLL_BAR_HORZ);
    pos = page + pos >= SCROLL_RANGE ? 0 : SCROLL_RANGE - page - pos;
  }
  const unsigned long long span =
      static_cast<unsigned>(std::max(v.settings.page_lines + v.doc.line_count - 1, 0));
  const unsigned long long top = static_cast<unsigned>(std::max(pos, 0)) * span / SCROLL_RANGE;
  const int line = static_cast<int>(std::min<unsigned long long>(top, last_line(v)));
  if (line == v.viewport.top_line) return;
  v.viewport.top_line = line;
  platform::window_invalidate(v.viewport.window, nullptr, 1);
  update_scroll_bar(v);
}

void on_hscroll(ViewContext& v, int code, int pos) {
  if (!v.typeset.vertical) return;
  // Columns run right to left: the bar's left is forward.
  switch (code) {
    case BAR_LINE_UP:
      code = BAR_LINE_DOWN;
      break;
    case BAR_LINE_DOWN:
      code = BAR_LINE_UP;
      break;
    case BAR_PAGE_UP:
      code = BAR_PAGE_DOWN;
      break;
    case BAR_PAGE_DOWN:
      code = BAR_PAGE_UP;
      break;
    default:
      break;
  }
  on_vscroll(v, code, pos);
}

}  // namespace yomite
