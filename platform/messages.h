// Messages between viewers: every viewer can be asked by other programs (and
// the other viewers) to run a command number or to tell the file it shows,
// and hears the settings-changed notice (platform/desktop.h) that every
// settings write sends. How they travel is the backend's; without a way to
// travel, nothing arrives and the viewer still runs.
#pragma once

#include <string>

namespace yomite {
struct ViewContext;
}

namespace yomite::platform {

// Makes `view` reachable: its requests go to on_command_message and the
// notices to on_settings_changed (viewer/messages.h). 1, or 0 when there is
// no way to be reached. A backend that connects in the background calls
// on_messages_ready once notices reach the view.
int messages_open(ViewContext* view);
void messages_close();

// Who asked for the file name (a window, or a call waiting for its answer).
struct MessageSender;

// Gives the sender the text. 1 when it was delivered, 0 when the sender is gone.
int send_text_to(MessageSender* sender, const std::string& text);

// The text a request came with (UTF-8; empty without one): what to find,
// a bookmark's name (extensions).
std::string sender_argument(MessageSender* sender);

}  // namespace yomite::platform
