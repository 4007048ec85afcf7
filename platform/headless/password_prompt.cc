// Without a display there is nobody to ask: the prompt cannot be shown.
#include "platform/password_prompt.h"

namespace yomite::platform {

int password_prompt(Window*, std::string&) {
  return -1;
}

}  // namespace yomite::platform
