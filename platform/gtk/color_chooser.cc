// Choosing a colour (0x00BBGGRR) with GTK's colour chooser.
#include <gtk/gtk.h>

#include <cmath>

#include "platform/choosers.h"
#include "platform/gtk/gtk_window.h"

namespace yomite::platform {

namespace {

constexpr const char* TITLE = "色の選択";

GdkRGBA rgba_of(std::uint32_t bgr) {
  return {(bgr & 0xFF) / 255.0, ((bgr >> 8) & 0xFF) / 255.0, ((bgr >> 16) & 0xFF) / 255.0, 1.0};
}

long bgr_of(const GdkRGBA& c) {
  auto byte = [](double v) {
    return static_cast<long>(std::lround(std::fmin(std::fmax(v, 0.0), 1.0) * 255));
  };
  return byte(c.red) | (byte(c.green) << 8) | (byte(c.blue) << 16);
}

}  // namespace

long choose_color(Window* owner, std::uint32_t initial) {
  if (!gdk_display_get_default()) return -1;
  GtkWidget* d = gtk_color_chooser_dialog_new(TITLE, owner_toplevel(owner));
  gtk_window_set_modal(GTK_WINDOW(d), TRUE);
  gtk_window_set_destroy_with_parent(GTK_WINDOW(d), TRUE);
  gtk_color_chooser_set_use_alpha(GTK_COLOR_CHOOSER(d), FALSE);
  const GdkRGBA start = rgba_of(initial);
  gtk_color_chooser_set_rgba(GTK_COLOR_CHOOSER(d), &start);
  g_object_add_weak_pointer(G_OBJECT(d), reinterpret_cast<gpointer*>(&d));
  const int response = gtk_dialog_run(GTK_DIALOG(d));
  if (!d) return -1;
  long chosen = -1;
  if (response == GTK_RESPONSE_OK) {
    GdkRGBA c;
    gtk_color_chooser_get_rgba(GTK_COLOR_CHOOSER(d), &c);
    chosen = bgr_of(c);
  }
  g_object_remove_weak_pointer(G_OBJECT(d), reinterpret_cast<gpointer*>(&d));
  gtk_widget_destroy(d);
  return chosen;
}

}  // namespace yomite::platform
