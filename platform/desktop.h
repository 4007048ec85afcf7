// What the desktop around the viewer offers: the user's text editor, the
// default handler of a link target, and the notice that tells every running
// viewer the settings changed.
#pragma once

#include <string>

namespace yomite::platform {

// Command of the user's text editor (without file argument): the desktop's
// default application for plain text unless that is this viewer, else a
// well-known editor that is installed. Empty when there is none.
std::string default_text_editor();

// Tells every running viewer, this one included, to re-read the settings.
void notify_settings_changed();

// Hands a URI or the path of an existing file to the desktop's default
// handler for it (never through a shell). 1 when a handler was started.
int open_with_default_handler(const std::string& target);

// 1 when opening the file would run it rather than show it: an executable,
// or a launcher entry of the desktop.
int is_runnable_file(const std::string& path);

}  // namespace yomite::platform
