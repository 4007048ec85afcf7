// How the scroll bars' requests reach the core: GTK's scroll types as the
// request codes of viewer/scrolling.h.
#pragma once

#include <gtk/gtk.h>

namespace yomite::platform {

// The request code for a scroll type (SB_*), or -1 for types that request
// nothing. A jump drags the thumb: the code is BAR_THUMB_TRACK.
int scroll_request_code(GtkScrollType type);

// A bar's value as a thumb position in range units.
int scroll_position_of(double value);

}  // namespace yomite::platform
