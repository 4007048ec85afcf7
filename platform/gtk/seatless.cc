#include "platform/gtk/seatless.h"

#include <gtk/gtk.h>

#include <cstring>

namespace yomite::platform {

namespace {

void gdk_message(const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer) {
  GdkDisplay* display = gdk_display_get_default();
  const bool seatless = display && !gdk_display_get_default_seat(display);
  if (seatless && message && std::strstr(message, "gdk_seat_get_keyboard")) return;
  g_log_default_handler(domain, level, message, nullptr);
}

}  // namespace

void quiet_seatless_keyboard() {
  g_log_set_handler("Gdk", G_LOG_LEVEL_CRITICAL, gdk_message, nullptr);
}

}  // namespace yomite::platform
