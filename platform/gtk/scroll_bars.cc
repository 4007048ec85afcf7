// The two scroll bars: ranges, thumbs and the requests the user makes with
// them. The core alone moves a thumb: GTK's own move is always refused.
#include "platform/gtk/gtk_window.h"
#include "platform/gtk/scroll_codes.h"
#include "viewer/scrolling.h"

namespace yomite::platform {

namespace {

int bar_index(const Window& w, GtkRange* range) {
  return GTK_WIDGET(range) == w.bars[SCROLL_BAR_VERT] ? SCROLL_BAR_VERT : SCROLL_BAR_HORZ;
}

gboolean on_change_value(GtkRange* range, GtkScrollType type, double value, gpointer data) {
  auto* w = static_cast<Window*>(data);
  const int code = scroll_request_code(type);
  if (code < 0 || !w->view) return TRUE;
  const int pos = scroll_position_of(value);
  if (bar_index(*w, range) == SCROLL_BAR_HORZ)
    on_hscroll(*w->view, code, pos);
  else
    on_vscroll(*w->view, code, pos);
  return TRUE;
}

GtkWidget* make_bar(Window& w, GtkOrientation orientation, int bar) {
  w.adjustments[bar] = gtk_adjustment_new(0, 0, SCROLL_RANGE, 1, 1, 1);
  GtkWidget* b = gtk_scrollbar_new(orientation, w.adjustments[bar]);
  gtk_widget_set_can_focus(b, FALSE);
  g_signal_connect(b, "change-value", G_CALLBACK(on_change_value), &w);
  // The wheel over a bar scrolls as it does over the text.
  g_signal_connect(b, "scroll-event", G_CALLBACK(on_wheel_event), &w);
  return b;
}

Window* valid(Window* w, int bar) {
  return w && w->toplevel && bar >= 0 && bar <= 1 && w->bars[bar] ? w : nullptr;
}

}  // namespace

void scroll_bars_init(Window& w) {
  w.bars[SCROLL_BAR_HORZ] = make_bar(w, GTK_ORIENTATION_HORIZONTAL, SCROLL_BAR_HORZ);
  w.bars[SCROLL_BAR_VERT] = make_bar(w, GTK_ORIENTATION_VERTICAL, SCROLL_BAR_VERT);
  gtk_widget_set_hexpand(w.bars[SCROLL_BAR_HORZ], TRUE);
  gtk_widget_set_vexpand(w.bars[SCROLL_BAR_VERT], TRUE);
}

// Measured on a bar of its own: GTK gives a hidden widget no size. The
// theme does not change while the viewer runs, so once is enough.
int scroll_bar_thickness(int bar) {
  static int measured[2] = {-1, -1};
  const int b = bar == SCROLL_BAR_HORZ ? SCROLL_BAR_HORZ : SCROLL_BAR_VERT;
  if (measured[b] >= 0) return measured[b];
  GtkWidget* probe = gtk_scrollbar_new(
      b == SCROLL_BAR_HORZ ? GTK_ORIENTATION_HORIZONTAL : GTK_ORIENTATION_VERTICAL, nullptr);
  g_object_ref_sink(probe);
  gtk_widget_show(probe);
  int minimum = 0, natural = 0;
  if (b == SCROLL_BAR_HORZ)
    gtk_widget_get_preferred_height(probe, &minimum, &natural);
  else
    gtk_widget_get_preferred_width(probe, &minimum, &natural);
  gtk_widget_destroy(probe);
  g_object_unref(probe);
  measured[b] = natural > minimum ? natural : minimum;
  return measured[b];
}

void scroll_bar_set_range(Window* window, int bar, int min, int max) {
  Window* w = valid(window, bar);
  if (!w) return;
  const int show = !(min == 0 && max == 0);
  if (show) {
    GtkAdjustment* a = w->adjustments[bar];
    gtk_adjustment_set_lower(a, min);
    gtk_adjustment_set_upper(a, max);
  }
  if (show == w->bar_shown[bar]) return;
  w->bar_shown[bar] = show;
  gtk_widget_set_visible(w->bars[bar], show);
}

void scroll_bar_set_thumb(Window* window, int bar, int page, int pos) {
  Window* w = valid(window, bar);
  if (!w) return;
  GtkAdjustment* a = w->adjustments[bar];
  gtk_adjustment_configure(a, pos, gtk_adjustment_get_lower(a), gtk_adjustment_get_upper(a), 1,
                           page > 0 ? page : 1, page);
}

int scroll_bar_page(Window* window, int bar) {
  Window* w = valid(window, bar);
  return w ? static_cast<int>(gtk_adjustment_get_page_size(w->adjustments[bar])) : 0;
}

}  // namespace yomite::platform
