// The queue as the automatic scroll sees it: one GTK event at a time without
// waiting, keys and button presses handed over, everything else served.
#include <gtk/gtk.h>

#include "platform/gtk/gtk_window.h"

namespace yomite::platform {

namespace {

// Sources that are always ready (idle callbacks that re-arm themselves) must
// not keep the automatic scroll from its next step: after this many served
// events in a row the queue reports nothing pending once.
constexpr int SERVED_IN_A_ROW_MAX = 64;

int g_served_in_a_row = 0;

int hand_over(Window& w, PendingEvent* event) {
  *event = w.queue.front();
  w.queue.pop_front();
  return 1;
}

int gone(PendingEvent* event) {
  *event = PendingEvent{};
  event->kind = PENDING_WINDOW_GONE;
  return 1;
}

}  // namespace

int take_pending_event(Window* window, PendingEvent* event) {
  if (!window || !window->toplevel) return gone(event);
  if (!window->queue.empty()) return hand_over(*window, event);
  if (g_served_in_a_row >= SERVED_IN_A_ROW_MAX || !gtk_events_pending()) {
    g_served_in_a_row = 0;
    return 0;
  }
  const int was_queueing = window->queueing;
  window->queueing = 1;
  gtk_main_iteration_do(FALSE);
  window->queueing = was_queueing;
  if (!window->toplevel) return gone(event);
  if (!window->queue.empty()) return hand_over(*window, event);
  ++g_served_in_a_row;
  *event = PendingEvent{};
  event->kind = PENDING_SERVED;
  return 1;
}

void beep() {
  if (GdkDisplay* display = gdk_display_get_default()) gdk_display_beep(display);
}

void sleep_ms(int ms) {
  if (ms > 0) g_usleep(static_cast<gulong>(ms) * 1000);
}

unsigned tick_ms() {
  return static_cast<unsigned>(g_get_monotonic_time() / 1000);
}

}  // namespace yomite::platform
