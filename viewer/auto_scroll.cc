// The automatic scroll: one column after the other, each moving a pixel step
// per tick of the shell's clock, until a key, a click or an end stops it.
// Keys that arrive meanwhile steer it instead of acting as they would.
#include <algorithm>

#include "platform/window.h"
#include "viewer/keys.h"
#include "viewer/pointer.h"
#include "viewer/scrolling.h"
#include "viewer/window_fit.h"

namespace yomite {

namespace {

constexpr int AUTO_SPEED_MAX = 5;
// The pause between one column's landing and the next column's start.
constexpr int AUTO_COLUMN_PAUSE_MS = 1;

int digit_of(int key) {
  if (key >= '0' && key <= '9') return key - '0';
  if (key >= KEY_NUMPAD0 && key <= KEY_NUMPAD0 + 9) return key - KEY_NUMPAD0;
  return -1;
}

void request_next_column(ViewContext& v) {
  platform::window_request_tick(v.viewport.window, AUTO_COLUMN_PAUSE_MS);
}

// The end: a click that stopped the scroll acts now.
void stop(ViewContext& v) {
  AutoScroll& a = v.viewport.auto_scroll;
  const AutoScroll was = a;
  a = AutoScroll{};
  v.viewport.auto_speed = 0;
  if (was.click_button) on_mouse_down(v, was.click_button, was.click_x, was.click_y);
}

// A stop comes into effect between columns; a column in flight lands first.
void request_stop(ViewContext& v) {
  v.viewport.auto_scroll.stopping = 1;
  if (!column_in_flight(v)) stop(v);
}

void steer(ViewContext& v, int key) {
  AutoScroll& a = v.viewport.auto_scroll;
  int& speed = v.viewport.auto_speed;
  const int was = speed;
  if (key == KEY_LEFT) {
    if (speed < AUTO_SPEED_MAX) ++speed;
    if (speed >= 0) a.direction = 1;
  } else if (key == KEY_RIGHT) {
    if (speed > -AUTO_SPEED_MAX) --speed;
    if (speed < 0) a.direction = -1;
  } else {
    const int digit = digit_of(key);
    // 0 pauses; the direction stays as it was.
    if (digit >= 0 && digit <= AUTO_SPEED_MAX) speed = digit * (speed >= 0 ? 1 : -1);
  }
  // Out of a pause, the next column starts.
  if (was == 0 && speed != 0 && !column_in_flight(v)) request_next_column(v);
}

}  // namespace

void start_auto_scroll(ViewContext& v, int direction) {
  v.viewport.auto_speed = direction > 0 ? AUTO_SPEED_MAX : -AUTO_SPEED_MAX;
  if (!v.settings.smooth_scroll) {
    v.settings.smooth_scroll = 1;
    if (v.settings.smooth_dots == 0) v.settings.smooth_dots = 1;
  }
  v.viewport.auto_scroll = AutoScroll{1, direction};
  auto_scroll_next(v);
}

void auto_scroll_next(ViewContext& v) {
  AutoScroll& a = v.viewport.auto_scroll;
  if (!a.active || column_in_flight(v)) return;
  if (a.stopping) {
    stop(v);
    return;
  }
  if (v.viewport.auto_speed == 0) return;  // paused: a key sets a speed again
  if (!scroll_by(v, a.direction, 1)) {
    platform::beep();
    stop(v);
    return;
  }
  // A column moved at once (no pixel steps) waits for the next as one that landed.
  if (!column_in_flight(v)) auto_scroll_column_landed(v);
}

void auto_scroll_column_landed(ViewContext& v) {
  const AutoScroll& a = v.viewport.auto_scroll;
  if (!a.active) return;
  if (a.stopping)
    stop(v);
  else
    request_next_column(v);
}

int auto_scroll_takes_key(ViewContext& v, int key) {
  AutoScroll& a = v.viewport.auto_scroll;
  if (!a.active) return 0;
  if (a.stopping) return 1;  // keys after a stop are dropped
  if (key == KEY_ESCAPE || key == KEY_SHIFT || key == KEY_CTRL) {
    platform::beep();
    request_stop(v);
  } else {
    steer(v, key);
  }
  return 1;
}

int auto_scroll_takes_click(ViewContext& v, int button, int x, int y) {
  AutoScroll& a = v.viewport.auto_scroll;
  if (!a.active) return 0;
  if (!a.stopping) {
    // The click still acts, once the scroll has stopped.
    platform::beep();
    v.viewport.auto_speed = 0;
    a.click_button = button;
    a.click_x = x;
    a.click_y = y;
    request_stop(v);
  }
  return 1;
}

}  // namespace yomite
