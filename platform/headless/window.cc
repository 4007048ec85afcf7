// Windows without a display: a client size and nothing else; no desktop
// around them says light or dark.
#include "platform/appearance.h"
#include "platform/headless/headless_window.h"

namespace yomite::platform {

struct Window {
  int client_width = HEADLESS_INITIAL_SIZE;
  int client_height = HEADLESS_INITIAL_SIZE;
  int fixed = 0;  // the size was given and sizing requests are ignored
};

Window* headless_window_create(int fixed_width, int fixed_height) {
  Window* window = new Window;
  if (fixed_width > 0 && fixed_height > 0) {
    window->client_width = fixed_width;
    window->client_height = fixed_height;
    window->fixed = 1;
  }
  return window;
}

void headless_window_destroy(Window* window) {
  delete window;
}

void window_client_size(Window* window, int* width, int* height) {
  *width = window ? window->client_width : 0;
  *height = window ? window->client_height : 0;
}

void window_set_busy(Window*, int) {}

void system_measures(SystemMeasures* m) {
  *m = {HEADLESS_SCROLL_BAR,  HEADLESS_SCROLL_BAR, 0, 0, 0, 0, 0, HEADLESS_SCREEN_CLIENT_HEIGHT,
        HEADLESS_SCREEN_SIZE, HEADLESS_SCREEN_SIZE};
}

// Without frame or caption the outer size is the client size.
void window_set_bounds(Window* window, int, int, int, int width, int height) {
  if (!window || window->fixed) return;
  window->client_width = width;
  window->client_height = height;
}

void window_request_repaint(Window*) {}
void window_allow_maximize(Window*, int) {}
void window_set_full_screen(Window*, int) {}
int desktop_color_scheme() {
  return SCHEME_UNKNOWN;
}
void watch_desktop_color_scheme(ViewContext*) {}

// No picture and no user: the scroll bar, the picture calls and the queue
// have nothing to act on. The open step sets the scroll bar all the same.
void scroll_bar_set_range(Window*, int, int, int) {}
void scroll_bar_set_thumb(Window*, int, int, int) {}
int scroll_bar_page(Window*, int) {
  return 0;
}
void window_set_status(Window*, int, const std::string&) {}
void scroll_bar_set_tooltip(Window*, int, const std::string&) {}
void window_invalidate(Window*, const WindowRect*, int) {}
void window_validate(Window*, const WindowRect&) {}
void window_scroll(Window*, int, int, const WindowRect&) {}
void window_update(Window*) {}
Canvas* window_canvas(Window*) {
  return nullptr;
}
void window_flush(Window*) {}
// No event loop: everything is done at once.
int window_call_when_idle(Window*) {
  return 0;
}
int modifiers_down() {
  return 0;
}
// Nothing animates without an event loop.
void window_request_tick(Window*, int) {}
void beep() {}
unsigned tick_ms() {
  return 0;
}

}  // namespace yomite::platform
