#include "platform/gtk/input_codes.h"

#include <gdk/gdkkeysyms.h>

#include <cmath>

#include "viewer/keys.h"

namespace yomite::platform {

namespace {

struct KeyCode {
  guint keyval;
  int key;
};

// Keys that are neither letters nor digits.
constexpr KeyCode KEY_CODES[] = {
    {GDK_KEY_Escape, KEY_ESCAPE},
    {GDK_KEY_space, KEY_SPACE},
    {GDK_KEY_KP_Space, KEY_SPACE},
    {GDK_KEY_Page_Up, KEY_PAGE_UP},
    {GDK_KEY_KP_Page_Up, KEY_PAGE_UP},
    {GDK_KEY_Page_Down, KEY_PAGE_DOWN},
    {GDK_KEY_KP_Page_Down, KEY_PAGE_DOWN},
    {GDK_KEY_End, KEY_END},
    {GDK_KEY_KP_End, KEY_END},
    {GDK_KEY_Home, KEY_HOME},
    {GDK_KEY_KP_Home, KEY_HOME},
    {GDK_KEY_Left, KEY_LEFT},
    {GDK_KEY_KP_Left, KEY_LEFT},
    {GDK_KEY_Up, KEY_UP},
    {GDK_KEY_KP_Up, KEY_UP},
    {GDK_KEY_Right, KEY_RIGHT},
    {GDK_KEY_KP_Right, KEY_RIGHT},
    {GDK_KEY_Down, KEY_DOWN},
    {GDK_KEY_KP_Down, KEY_DOWN},
    {GDK_KEY_Menu, KEY_MENU},
    {GDK_KEY_F3, KEY_F1 + 2},
    {GDK_KEY_F5, KEY_F5},
    {GDK_KEY_F10, KEY_F10},
    {GDK_KEY_F11, KEY_F11},
    {GDK_KEY_Shift_L, KEY_SHIFT},
    {GDK_KEY_Shift_R, KEY_SHIFT},
    {GDK_KEY_Control_L, KEY_CTRL},
    {GDK_KEY_Control_R, KEY_CTRL},
    {GDK_KEY_slash, KEY_SLASH},
    {GDK_KEY_KP_Divide, KEY_SLASH},
    {GDK_KEY_bracketleft, KEY_OPEN_BRACKET},
    {GDK_KEY_braceleft, KEY_OPEN_BRACKET},
    {GDK_KEY_bracketright, KEY_CLOSE_BRACKET},
    {GDK_KEY_braceright, KEY_CLOSE_BRACKET},
};

}  // namespace

int key_code_of(guint keyval) {
  if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return 'A' + static_cast<int>(keyval - GDK_KEY_a);
  if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return 'A' + static_cast<int>(keyval - GDK_KEY_A);
  if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return '0' + static_cast<int>(keyval - GDK_KEY_0);
  if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9)
    return KEY_NUMPAD0 + static_cast<int>(keyval - GDK_KEY_KP_0);
  for (const KeyCode& k : KEY_CODES)
    if (k.keyval == keyval) return k.key;
  return 0;
}

int character_of(guint keyval) {
  return static_cast<int>(gdk_keyval_to_unicode(keyval));
}

int take_whole_notches(double* rest, double delta) {
  if (!std::isfinite(delta)) return 0;
  *rest += delta;
  const double whole = std::trunc(*rest);
  *rest -= whole;
  // A flick of a touchpad never scrolls more than a screenful at once.
  constexpr double NOTCHES_MAX = 100;
  return static_cast<int>(std::fmax(std::fmin(whole, NOTCHES_MAX), -NOTCHES_MAX));
}

}  // namespace yomite::platform
