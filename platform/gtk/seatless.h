// A compositor without any input (a headless one) gives GDK no seat, and GTK
// itself then asks that missing seat for its keyboard while it sets up its
// key bindings, with a critical message each time. That message, and only
// that one, is left out; every other goes on as GLib prints it.
#pragma once

namespace yomite::platform {

// Before gtk_init.
void quiet_seatless_keyboard();

}  // namespace yomite::platform
