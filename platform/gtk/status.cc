// The strip under the scroll bar that says where the reader is, and the
// scroll bars' tooltips (an extension). The strip is outside the client area: the
// window grows by it when it shows, so the page keeps its size.
#include "platform/gtk/gtk_window.h"

namespace yomite::platform {

namespace {

// Measured once on the strip itself (the theme does not change meanwhile).
int strip_height(GtkWidget* strip) {
  static int measured = -1;
  if (measured < 0) {
    int minimum = 0, natural = 0;
    gtk_widget_get_preferred_height(strip, &minimum, &natural);
    measured = natural > minimum ? natural : minimum;
  }
  return measured;
}

}  // namespace

GtkWidget* status_init(Window& w) {
  w.status = gtk_label_new("");
  gtk_label_set_xalign(GTK_LABEL(w.status), 0);
  gtk_widget_set_margin_start(w.status, 4);
  gtk_widget_set_margin_end(w.status, 4);
  gtk_widget_set_margin_top(w.status, 1);
  gtk_widget_set_margin_bottom(w.status, 1);
  gtk_widget_set_no_show_all(w.status, TRUE);
  return w.status;
}

int status_height(const Window& w) {
  return w.status && w.status_shown ? strip_height(w.status) : 0;
}

void window_set_status(Window* window, int shown, const std::string& text) {
  if (!window || !window->toplevel || !window->status) return;
  GtkLabel* label = GTK_LABEL(window->status);
  if (text != gtk_label_get_text(label)) gtk_label_set_text(label, text.c_str());
  shown = shown ? 1 : 0;
  if (shown == window->status_shown) return;
  // The page keeps its size: the window takes or gives the strip's height
  // (measured while it shows: GTK gives a hidden widget no size).
  const int before = status_height(*window);
  window->status_shown = shown;
  gtk_widget_set_visible(window->status, shown ? TRUE : FALSE);
  window->outer_height += status_height(*window) - before;
  gtk_window_resize(GTK_WINDOW(window->toplevel), window->outer_width, window->outer_height);
}

void scroll_bar_set_tooltip(Window* window, int bar, const std::string& text) {
  if (!window || !window->toplevel || bar < 0 || bar > 1 || !window->bars[bar]) return;
  if (window->tooltips[bar] == text) return;
  window->tooltips[bar] = text;
  // Without a seat (a compositor may have no input) nothing hovers, and GTK
  // would ask the missing pointer where it is.
  if (!gdk_display_get_default_seat(gtk_widget_get_display(window->bars[bar]))) return;
  gtk_widget_set_tooltip_text(window->bars[bar], text.empty() ? nullptr : text.c_str());
}

}  // namespace yomite::platform
