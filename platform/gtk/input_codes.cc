#include "platform/gtk/input_codes.h"

#include <gdk/gdkkeysyms.h>

#include <cmath>

#include "viewer/keys.h"

namespace yomite::platform {

namespace {

struct KeyCode {
  guint keyval;
  int vk;
};

// Keys that are neither letters nor digits.
constexpr KeyCode KEY_CODES[] = {
    {GDK_KEY_Escape, VK_ESCAPE},
    {GDK_KEY_space, VK_SPACE},
    {GDK_KEY_KP_Space, VK_SPACE},
    {GDK_KEY_Page_Up, VK_PRIOR},
    {GDK_KEY_KP_Page_Up, VK_PRIOR},
    {GDK_KEY_Page_Down, VK_NEXT},
    {GDK_KEY_KP_Page_Down, VK_NEXT},
    {GDK_KEY_End, VK_END},
    {GDK_KEY_KP_End, VK_END},
    {GDK_KEY_Home, VK_HOME},
    {GDK_KEY_KP_Home, VK_HOME},
    {GDK_KEY_Left, VK_LEFT},
    {GDK_KEY_KP_Left, VK_LEFT},
    {GDK_KEY_Up, VK_UP},
    {GDK_KEY_KP_Up, VK_UP},
    {GDK_KEY_Right, VK_RIGHT},
    {GDK_KEY_KP_Right, VK_RIGHT},
    {GDK_KEY_Down, VK_DOWN},
    {GDK_KEY_KP_Down, VK_DOWN},
    {GDK_KEY_Menu, VK_APPS},
    {GDK_KEY_F5, VK_F5},
    {GDK_KEY_F10, VK_F10},
    {GDK_KEY_Shift_L, VK_SHIFT},
    {GDK_KEY_Shift_R, VK_SHIFT},
    {GDK_KEY_Control_L, VK_CONTROL},
    {GDK_KEY_Control_R, VK_CONTROL},
    {GDK_KEY_bracketleft, VK_OEM_4},
    {GDK_KEY_braceleft, VK_OEM_4},
    {GDK_KEY_bracketright, VK_OEM_6},
    {GDK_KEY_braceright, VK_OEM_6},
};

}  // namespace

int virtual_key_of(guint keyval) {
  if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return 'A' + static_cast<int>(keyval - GDK_KEY_a);
  if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return 'A' + static_cast<int>(keyval - GDK_KEY_A);
  if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return '0' + static_cast<int>(keyval - GDK_KEY_0);
  if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9)
    return VK_NUMPAD0 + static_cast<int>(keyval - GDK_KEY_KP_0);
  for (const KeyCode& k : KEY_CODES)
    if (k.keyval == keyval) return k.vk;
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
