// Time for the core: the tick it asks for (a GLib timeout that calls on_tick
// once), the monotonic clock, and the bell.
#include <gtk/gtk.h>

#include "platform/gtk/gtk_window.h"
#include "viewer/program.h"

namespace yomite::platform {

namespace {

gboolean call_on_tick(gpointer data) {
  auto* w = static_cast<Window*>(data);
  w->tick = 0;
  if (w->view) on_tick(*w->view);
  return G_SOURCE_REMOVE;
}

}  // namespace

void window_request_tick(Window* window, int ms) {
  if (!window || !window->toplevel) return;
  clock_stop(*window);
  window->tick = g_timeout_add(static_cast<guint>(ms > 0 ? ms : 0), call_on_tick, window);
}

void clock_stop(Window& w) {
  if (w.tick) g_source_remove(w.tick);
  w.tick = 0;
}

void beep() {
  if (GdkDisplay* display = gdk_display_get_default()) gdk_display_beep(display);
}

unsigned tick_ms() {
  return static_cast<unsigned>(g_get_monotonic_time() / 1000);
}

}  // namespace yomite::platform
