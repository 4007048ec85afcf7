// The context menu: the core's items as a GtkMenu at a point of the window,
// run in a loop of its own until it closes.
#include <gtk/gtk.h>

#include "platform/gtk/gtk_window.h"
#include "platform/gtk/mnemonics.h"
#include "platform/menu.h"

namespace yomite::platform {

namespace {

struct Tracking {
  GMainLoop* loop = nullptr;
  int chosen = 0;
};

// A hint of one key is shown where GTK shows accelerators, at the right.
guint hint_key(const std::string& hint) {
  if (hint.empty()) return 0;
  const gunichar c = g_utf8_get_char_validated(hint.c_str(), static_cast<gssize>(hint.size()));
  if (c != static_cast<gunichar>(-1) && c != static_cast<gunichar>(-2) &&
      g_utf8_next_char(hint.c_str()) == hint.c_str() + hint.size())
    return gdk_unicode_to_keyval(c);
  const guint named = gdk_keyval_from_name(hint.c_str());
  return named == GDK_KEY_VoidSymbol ? 0 : named;
}

void on_item_activate(GtkMenuItem* item, gpointer data) {
  static_cast<Tracking*>(data)->chosen = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), "id"));
}

GtkWidget* make_menu(const std::vector<MenuItem>& items, Tracking& t);

GtkWidget* make_item(const MenuItem& m, Tracking& t) {
  if (m.separator) return gtk_separator_menu_item_new();
  const MenuLabel label = menu_label(m.label);
  const guint key = hint_key(label.hint);
  // A hint that is no key is written after the text.
  const std::string text = key || label.hint.empty() ? label.text : label.text + "  " + label.hint;
  GtkWidget* item = m.submenu.empty() && m.checked
                        ? gtk_check_menu_item_new_with_mnemonic(text.c_str())
                        : gtk_menu_item_new_with_mnemonic(text.c_str());
  if (m.submenu.empty() && m.checked)
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item), TRUE);
  if (key)
    gtk_accel_label_set_accel(GTK_ACCEL_LABEL(gtk_bin_get_child(GTK_BIN(item))), key,
                              static_cast<GdkModifierType>(0));
  if (m.grayed) gtk_widget_set_sensitive(item, FALSE);
  if (!m.submenu.empty()) {
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), make_menu(m.submenu, t));
  } else {
    g_object_set_data(G_OBJECT(item), "id", GINT_TO_POINTER(m.id));
    g_signal_connect(item, "activate", G_CALLBACK(on_item_activate), &t);
  }
  return item;
}

GtkWidget* make_menu(const std::vector<MenuItem>& items, Tracking& t) {
  GtkWidget* menu = gtk_menu_new();
  for (const MenuItem& m : items) gtk_menu_shell_append(GTK_MENU_SHELL(menu), make_item(m, t));
  gtk_widget_show_all(menu);
  return menu;
}

void on_deactivate(GtkMenuShell*, gpointer data) {
  g_main_loop_quit(static_cast<Tracking*>(data)->loop);
}

// A menu opened from a bus call has no event behind it; GTK grabs the
// pointer and keyboard for an event of the main window's pointer.
GdkEvent* trigger_event(GdkWindow* on) {
  if (GdkEvent* current = gtk_get_current_event()) return current;
  GdkEvent* e = gdk_event_new(GDK_BUTTON_PRESS);
  e->button.window = GDK_WINDOW(g_object_ref(on));
  e->button.time = GDK_CURRENT_TIME;
  e->button.button = 3;
  gdk_event_set_device(
      e, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_window_get_display(on))));
  return e;
}

}  // namespace

int track_popup_menu(Window* owner, const std::vector<MenuItem>& items, int x, int y) {
  Window* w = owner ? owner : main_window();
  if (!w || !w->area || items.empty()) return 0;
  GdkWindow* on = gtk_widget_get_window(w->area);
  if (!on) return 0;
  Tracking t;
  t.loop = g_main_loop_new(nullptr, FALSE);
  GtkWidget* menu = make_menu(items, t);
  gtk_menu_attach_to_widget(GTK_MENU(menu), w->area, nullptr);
  g_signal_connect(menu, "deactivate", G_CALLBACK(on_deactivate), &t);
  const GdkRectangle at = {x, y, 1, 1};
  GdkEvent* event = trigger_event(on);
  gtk_menu_popup_at_rect(GTK_MENU(menu), on, &at, GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST,
                         event);
  gdk_event_free(event);
  if (gtk_widget_get_visible(menu)) g_main_loop_run(t.loop);
  gtk_widget_destroy(menu);
  g_main_loop_unref(t.loop);
  return t.chosen;
}

}  // namespace yomite::platform
