// The automatic scroll: a loop of its own that moves a line at a time and
// takes the keys from the queue, while the backend goes on serving paints and
// other programs' messages.
#include <algorithm>

#include "platform/window.h"
#include "viewer/keys.h"
#include "viewer/pointer.h"
#include "viewer/scrolling.h"

namespace yomite {

namespace {

constexpr int AUTO_SPEED_MAX = 5;
constexpr int AUTO_LOOP_SLEEP_MS = 1;

int digit_of(int key) {
  if (key >= '0' && key <= '9') return key - '0';
  if (key >= KEY_NUMPAD0 && key <= KEY_NUMPAD0 + 9) return key - KEY_NUMPAD0;
  return -1;
}

// A key pressed while scrolling; 1 when it stops the scroll.
int steer(ViewContext& v, int key, int& direction) {
  if (key == KEY_ESCAPE || key == KEY_SHIFT || key == KEY_CTRL) {
    platform::beep();
    return 1;
  }
  if (key == KEY_LEFT) {
    if (v.viewport.auto_speed < AUTO_SPEED_MAX) ++v.viewport.auto_speed;
    if (v.viewport.auto_speed >= 0) direction = 1;
  } else if (key == KEY_RIGHT) {
    if (v.viewport.auto_speed > -AUTO_SPEED_MAX) --v.viewport.auto_speed;
    if (v.viewport.auto_speed < 0) direction = -1;
  } else {
    const int digit = digit_of(key);
    // 0 pauses; the direction stays as it was.
    if (digit >= 0 && digit <= AUTO_SPEED_MAX) v.viewport.auto_speed = digit * (v.viewport.auto_speed >= 0 ? 1 : -1);
  }
  return 0;
}

// Everything pending; 1 when something stopped the scroll.
int drain_pending(ViewContext& v, int& direction) {
  platform::PendingEvent e;
  while (platform::take_pending_event(v.viewport.window, &e)) {
    switch (e.kind) {
      case platform::PENDING_KEY_DOWN:
        if (steer(v, e.key, direction)) return 1;
        break;
      case platform::PENDING_BUTTON_DOWN:
        // The click still acts after the scroll stops.
        platform::beep();
        v.viewport.auto_speed = 0;
        on_mouse_down(v, e.button, e.x, e.y);
        return 1;
      case platform::PENDING_WINDOW_GONE:
        return 1;
      default:
        break;
    }
  }
  return 0;
}

}  // namespace

void start_auto_scroll(ViewContext& v, int direction) {
  v.viewport.auto_speed = direction > 0 ? AUTO_SPEED_MAX : -AUTO_SPEED_MAX;
  if (!v.settings.smooth_scroll) {
    v.settings.smooth_scroll = 1;
    if (v.settings.smooth_dots == 0) v.settings.smooth_dots = 1;
  }
  auto_scroll(v, direction);
}

void auto_scroll(ViewContext& v, int direction) {
  for (;;) {
    if (v.viewport.auto_speed != 0 && !scroll_by(v, direction, 1)) {
      platform::beep();
      break;
    }
    if (drain_pending(v, direction)) break;
    platform::sleep_ms(AUTO_LOOP_SLEEP_MS);
  }
  v.viewport.auto_speed = 0;
}

}  // namespace yomite
