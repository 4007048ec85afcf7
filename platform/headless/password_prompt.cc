// Without a display there is nobody to ask: the prompt cannot be shown.
#include "platform/password_prompt.h"

namespace yomite::platform {

int password_prompt(Window*, const std::string&, std::string&) {
  return -1;
}

}  // namespace yomite::platform
