// Recording trace sink for tests: messages are kept in memory.
#pragma once

#include <string>
#include <vector>

namespace yomite::fake {

// Whether the next trace_sink_connect finds a "receiver".
void set_trace_receiver(bool present);

// Every message sent since the last clear, without its NUL.
std::vector<std::string>& trace_messages();

// All messages joined into one running text, as a receiver shows them.
std::string trace_text();

}  // namespace yomite::fake
