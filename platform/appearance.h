// The desktop's light or dark appearance, for the viewer's "follow the
// desktop" colours: on Linux the settings portal's
// org.freedesktop.appearance color-scheme, on Windows the apps' light-theme
// value of the user's personalisation.
#pragma once

namespace yomite {
struct ViewContext;
}

namespace yomite::platform {

constexpr int SCHEME_UNKNOWN = -1;  // the desktop says nothing
constexpr int SCHEME_LIGHT = 0;
constexpr int SCHEME_DARK = 1;

// What the desktop prefers now (asked once, then kept up to date by the watch).
int desktop_color_scheme();

// From now on a change of the desktop's preference calls
// on_desktop_scheme_changed(*view) (viewer/themes.h).
void watch_desktop_color_scheme(ViewContext* view);

}  // namespace yomite::platform
