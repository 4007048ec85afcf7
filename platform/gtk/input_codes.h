// What the keyboard and the wheel mean to the core: GDK key values as the
// key codes of viewer/keys.h, and wheel deltas as whole notches.
#pragma once

#include <gdk/gdk.h>

namespace yomite::platform {

// The key code of a key value, or 0 when the viewer has none for it.
// Letters count whatever their case (a modifier held changes nothing), '['
// and ']' (with '{' and '}' on the same keys) by the character typed, keypad
// digits as keypad digits, keypad arrows and pages as the plain ones.
int key_code_of(guint keyval);

// The character a key value types (0 for none).
int character_of(guint keyval);

// Adds a smooth wheel delta (1.0 = one notch, positive towards the user) to
// `rest` and returns the whole notches it now holds, leaving the remainder.
int take_whole_notches(double* rest, double delta);

}  // namespace yomite::platform
