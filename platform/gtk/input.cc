// Keys, buttons and the wheel, translated for the core.
#include <gtk/gtk.h>

#include "platform/gtk/gtk_window.h"
#include "platform/gtk/input_codes.h"
#include "viewer/keys.h"
#include "viewer/pointer.h"

namespace yomite::platform {

namespace {

// A key value the viewer knows nothing of may still be a letter key of the
// first keyboard layout (a Cyrillic or Greek layout is active).
int key_code_of_event(const GdkEventKey* e) {
  int key = key_code_of(e->keyval);
  if (key) return key;
  guint plain = 0;
  GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_window_get_display(e->window));
  if (gdk_keymap_translate_keyboard_state(keymap, e->hardware_keycode,
                                          static_cast<GdkModifierType>(0), 0, &plain, nullptr,
                                          nullptr, nullptr))
    key = key_code_of(plain);
  // Only letters are taken from there: other keys keep their own meaning.
  return key >= 'A' && key <= 'Z' ? key : 0;
}

gboolean on_key_press(GtkWidget*, GdkEventKey* e, gpointer data) {
  auto* w = static_cast<Window*>(data);
  if (!w->view) return FALSE;
  const int key = key_code_of_event(e);
  // A character follows its key, as typed without Ctrl or Alt.
  const int c = (e->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) ? 0 : character_of(e->keyval);
  if (key) on_key(*w->view, key);
  if (c && w->view) on_char(*w->view, c);
  return key || c ? TRUE : FALSE;
}

gboolean on_button_press(GtkWidget*, GdkEventButton* e, gpointer data) {
  auto* w = static_cast<Window*>(data);
  // A double click also reports its second press: that one is enough.
  if (e->type != GDK_BUTTON_PRESS || !w->view) return FALSE;
  if (e->button != BUTTON_LEFT && e->button != BUTTON_RIGHT) return FALSE;
  const int x = static_cast<int>(e->x), y = static_cast<int>(e->y);
  on_mouse_down(*w->view, static_cast<int>(e->button), x, y);
  return TRUE;
}

}  // namespace

gboolean on_wheel_event(GtkWidget*, GdkEventScroll* e, gpointer data) {
  auto* w = static_cast<Window*>(data);
  int notches = 0;
  switch (e->direction) {
    case GDK_SCROLL_UP:
      notches = -1;
      break;
    case GDK_SCROLL_DOWN:
      notches = 1;
      break;
    case GDK_SCROLL_SMOOTH:
      if (gdk_event_is_scroll_stop_event(reinterpret_cast<GdkEvent*>(e))) w->wheel_rest = 0;
      notches = take_whole_notches(&w->wheel_rest, e->delta_y);
      break;
    default:
      return FALSE;
  }
  if (notches && w->view) on_wheel(*w->view, notches);
  return TRUE;
}

void input_init(Window& w) {
  gtk_widget_add_events(w.area, GDK_BUTTON_PRESS_MASK | GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK |
                                    GDK_KEY_PRESS_MASK);
  g_signal_connect(w.toplevel, "key-press-event", G_CALLBACK(on_key_press), &w);
  g_signal_connect(w.area, "button-press-event", G_CALLBACK(on_button_press), &w);
  g_signal_connect(w.area, "scroll-event", G_CALLBACK(on_wheel_event), &w);
}

// Shift and Ctrl of the event being handled, else as the keyboard holds them
// (none without a seat: a compositor may have no input at all).
int modifiers_down() {
  GdkModifierType state = static_cast<GdkModifierType>(0);
  if (!gtk_get_current_event_state(&state)) {
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !gdk_display_get_default_seat(display)) return 0;
    state = static_cast<GdkModifierType>(
        gdk_keymap_get_modifier_state(gdk_keymap_get_for_display(display)));
  }
  int m = 0;
  if (state & GDK_SHIFT_MASK) m |= KEYMOD_SHIFT;
  if (state & GDK_CONTROL_MASK) m |= KEYMOD_CTRL;
  return m;
}

}  // namespace yomite::platform
