// Windows of the fake backend: a record with a scripted client size.
#pragma once

#include "platform/window.h"

namespace yomite::platform {

struct Window {
  int client_width = 0;
  int client_height = 0;
  int busy = 0;        // the wait cursor is shown
  int busy_shown = 0;  // times it was shown
};

}  // namespace yomite::platform
