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
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) return key - VK_NUMPAD0;
  return -1;
}

// A key pressed while scrolling; 1 when it stops the scroll.
int steer(ViewContext& v, int key, int& direction) {
  if (key == VK_ESCAPE || key == VK_SHIFT || key == VK_CONTROL) {
    platform::beep();
    return 1;
  }
  if (key == VK_LEFT) {
    if (v.auto_speed < AUTO_SPEED_MAX) ++v.auto_speed;
    if (v.auto_speed >= 0) direction = 1;
  } else if (key == VK_RIGHT) {
    if (v.auto_speed > -AUTO_SPEED_MAX) --v.auto_speed;
    if (v.auto_speed < 0) direction = -1;
  } else {
    const int digit = digit_of(key);
    // 0 pauses; the direction stays as it was.
    if (digit >= 0 && digit <= AUTO_SPEED_MAX) v.auto_speed = digit * (v.auto_speed >= 0 ? 1 : -1);
  }
  return 0;
}

// Everything pending; 1 when something stopped the scroll.
int drain_pending(ViewContext& v, int& direction) {
  platform::PendingEvent e;
  while (platform::take_pending_event(v.hwnd, &e)) {
    switch (e.kind) {
      case platform::PENDING_KEY_DOWN:
        if (steer(v, e.key, direction)) return 1;
        break;
      case platform::PENDING_BUTTON_DOWN:
        // The click still acts after the scroll stops.
        platform::beep();
        v.auto_speed = 0;
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
  v.auto_speed = direction > 0 ? AUTO_SPEED_MAX : -AUTO_SPEED_MAX;
  if (!v.smooth_scroll) {
    v.smooth_scroll = 1;
    if (v.smooth_dots == 0) v.smooth_dots = 1;
  }
  auto_scroll(v, direction);
}

void auto_scroll(ViewContext& v, int direction) {
  for (;;) {
    if (v.auto_speed != 0 && !scroll_by(v, direction, 1)) {
      platform::beep();
      break;
    }
    if (drain_pending(v, direction)) break;
    platform::sleep_ms(AUTO_LOOP_SLEEP_MS);
  }
  v.auto_speed = 0;
}

}  // namespace yomite
