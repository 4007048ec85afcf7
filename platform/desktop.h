// What the desktop around the viewer offers: the user's text editor and the
// notice that tells every running viewer the settings changed.
#pragma once

#include <string>

namespace yomite::platform {

// The settings-changed notice on the session bus: a signal without
// arguments, sent to everyone, on this object path and interface.
constexpr const char* BUS_OBJECT_PATH = "/io/github/yomite/Viewer";
constexpr const char* BUS_INTERFACE = "io.github.yomite.Viewer";
constexpr const char* BUS_SIGNAL_SETTINGS_CHANGED = "SettingsChanged";

// Editors tried on the PATH, in order, when the desktop names none.
constexpr const char* FALLBACK_EDITORS[] = {"gnome-text-editor", "gedit", "kate",
                                            "mousepad",          "xed",   "pluma"};

// Command of the user's text editor (without file argument): the desktop's
// default application for plain text unless that is this viewer, else the
// first fallback editor found. Empty when there is none.
std::string default_text_editor();

// Tells every running viewer, this one included, to re-read the settings.
void notify_settings_changed();

}  // namespace yomite::platform
