// Windows of the fake backend: a record with a scripted client size that
// records how the core sized, moved and repainted it.
#pragma once

#include "platform/window.h"

namespace yomite::platform {

struct Window {
  int client_width = 0;
  int client_height = 0;
  int busy = 0;               // the wait cursor is shown
  int busy_shown = 0;         // times it was shown
  int x = -1, y = -1;         // screen position last moved to
  int width = 0, height = 0;  // outer size last set
  int bounds_set = 0;         // times sized
  int moved = 0;              // times moved
  int repaints = 0;           // repaint requests
};

// The measures system_measures reports; tests may change them.
SystemMeasures& fake_system_measures();

}  // namespace yomite::platform
