// The desktop's light or dark preference on Windows: the apps' light-theme
// value of the user's personalisation (0 dark, anything else or none light),
// read again when the system says the colour set changed.
#include "platform/appearance.h"
#include "platform/win32/win32_window.h"
#include "viewer/themes.h"

namespace yomite::platform {

namespace {

constexpr const wchar_t* PERSONALIZE_KEY =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr const wchar_t* LIGHT_VALUE = L"AppsUseLightTheme";

int g_scheme = SCHEME_UNKNOWN;
bool g_read = false;

// Without the value the system has no dark setting: nothing is said.
int read_scheme() {
  DWORD light = 1, size = sizeof light;
  if (RegGetValueW(HKEY_CURRENT_USER, PERSONALIZE_KEY, LIGHT_VALUE, RRF_RT_REG_DWORD, nullptr,
                   &light, &size) != ERROR_SUCCESS)
    return SCHEME_UNKNOWN;
  return light == 0 ? SCHEME_DARK : SCHEME_LIGHT;
}

}  // namespace

int desktop_color_scheme() {
  if (!g_read) {
    g_scheme = read_scheme();
    g_read = true;
  }
  return g_scheme;
}

// The window procedure passes every WM_SETTINGCHANGE here.
void watch_desktop_color_scheme(ViewContext*) {}

void desktop_settings_changed(Window& w, LPARAM lparam) {
  const auto* area = reinterpret_cast<const wchar_t*>(lparam);
  if (!area || lstrcmpW(area, L"ImmersiveColorSet") != 0) return;
  const int scheme = read_scheme();
  g_read = true;
  if (scheme == g_scheme) return;
  g_scheme = scheme;
  if (w.view) on_desktop_scheme_changed(*w.view);
}

}  // namespace yomite::platform
