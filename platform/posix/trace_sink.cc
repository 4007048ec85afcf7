// Trace transport: a connected Unix datagram socket to the receiver's path.
#include "platform/trace_sink.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/posix/trace_path.h"

namespace yomite::platform {

namespace {
int g_socket = -1;
}  // namespace

std::string trace_socket_path() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return std::string(runtime) + "/yomite-trace.sock";
  return "/tmp/yomite-trace-" + std::to_string(getuid()) + ".sock";
}

bool trace_sink_connect() {
  if (g_socket >= 0) return true;
  std::string path = trace_socket_path();
  sockaddr_un addr{};
  if (path.size() >= sizeof addr.sun_path) return false;
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  // connect fails unless a receiver has bound the path: that is the lookup.
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    close(fd);
    return false;
  }
  g_socket = fd;
  return true;
}

void trace_sink_disconnect() {
  if (g_socket >= 0) close(g_socket);
  g_socket = -1;
}

void trace_sink_send(const char* data, unsigned size) {
  if (g_socket < 0) return;
  // Blocking, like the synchronous send it replaces: a slow receiver slows the
  // program down rather than losing messages. A vanished one fails at once.
  (void)send(g_socket, data, size, MSG_NOSIGNAL);
}

}  // namespace yomite::platform
