#include "platform/desktop.h"
#include "platform/fake/fake_desktop.h"

namespace yomite {

namespace {
std::string g_editor = "gedit";
int g_notices = 0;
}  // namespace

void fake::set_default_editor(const std::string& command) {
  g_editor = command;
}

int fake::settings_notices() {
  return g_notices;
}

std::string platform::default_text_editor() {
  return g_editor;
}

void platform::notify_settings_changed() {
  ++g_notices;
}

}  // namespace yomite
