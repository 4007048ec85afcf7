// Where the trace receiver listens: a Unix datagram socket per user.
#pragma once

#include <string>

namespace yomite::platform {

// $XDG_RUNTIME_DIR/yomite-trace.sock, or /tmp/yomite-trace-<uid>.sock when
// the runtime directory is not set.
std::string trace_socket_path();

}  // namespace yomite::platform
