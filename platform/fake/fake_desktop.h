// Desktop services for tests: a scripted editor and counted notices.
#pragma once

#include <string>

namespace yomite::fake {

// What default_text_editor answers (initially "gedit").
void set_default_editor(const std::string& command);

// Settings-changed notices sent since the process started.
int settings_notices();

}  // namespace yomite::fake
