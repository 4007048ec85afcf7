#include "platform/fake/fake_window.h"

namespace yomite {

platform::SystemMeasures& platform::fake_system_measures() {
  static SystemMeasures measures = {17, 17, 4, 4, 2, 2, 19, 1000, 1920, 1050};
  return measures;
}

void platform::window_client_size(Window* window, int* width, int* height) {
  *width = window ? window->client_width : 0;
  *height = window ? window->client_height : 0;
}

void platform::window_set_busy(Window* window, int busy) {
  if (!window) return;
  if (busy && !window->busy) ++window->busy_shown;
  window->busy = busy;
}

void platform::system_measures(SystemMeasures* measures) {
  *measures = fake_system_measures();
}

// The client area is what the frame, edges and caption leave of the outer size.
void platform::window_set_bounds(Window* window, int move, int x, int y, int width, int height) {
  if (!window) return;
  const SystemMeasures& m = fake_system_measures();
  ++window->bounds_set;
  if (move) {
    window->x = x;
    window->y = y;
    ++window->moved;
  }
  window->width = width;
  window->height = height;
  window->client_width = width - 2 * m.frame_width - 2 * m.edge_width;
  window->client_height = height - m.caption_height - 2 * m.frame_height - 2 * m.edge_height;
}

void platform::window_request_repaint(Window* window) {
  if (window) ++window->repaints;
}

}  // namespace yomite
