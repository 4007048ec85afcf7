#include "platform/fake/fake_window.h"

namespace yomite {

void platform::window_client_size(Window* window, int* width, int* height) {
  *width = window ? window->client_width : 0;
  *height = window ? window->client_height : 0;
}

}  // namespace yomite
