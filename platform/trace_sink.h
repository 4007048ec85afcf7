// Transport of trace messages to a receiver outside the program.
#pragma once

namespace yomite::platform {

// Looks for a listening receiver; true when one was found.
bool trace_sink_connect();

// Closes the connection made by trace_sink_connect.
void trace_sink_disconnect();

// Sends one message of `size` bytes (text and its NUL). Failures are silent.
void trace_sink_send(const char* data, unsigned size);

}  // namespace yomite::platform
