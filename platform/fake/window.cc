#include "platform/fake/fake_window.h"

namespace yomite {

void platform::window_client_size(Window* window, int* width, int* height) {
  *width = window ? window->client_width : 0;
  *height = window ? window->client_height : 0;
}

void platform::window_set_busy(Window* window, int busy) {
  if (!window) return;
  if (busy && !window->busy) ++window->busy_shown;
  window->busy = busy;
}

}  // namespace yomite
