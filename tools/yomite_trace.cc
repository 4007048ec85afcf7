// yomite-trace: the trace receiver. Listens on the per-user trace socket and
// prints every message that arrives as one running text (messages carry their
// own blanks and line breaks). Start it before the program to be watched.
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/posix/trace_path.h"

namespace {

volatile sig_atomic_t g_stop = 0;

void on_signal(int) {
  g_stop = 1;
}

int usage(std::FILE* out, int code) {
  std::fprintf(out,
               "usage: yomite-trace [--socket PATH]\n"
               "Prints the trace messages of Yomite programs started after it.\n"
               "Default socket: %s\n",
               yomite::platform::trace_socket_path().c_str());
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  std::string path = yomite::platform::trace_socket_path();
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") return usage(stdout, 0);
    if (arg == "--socket" && i + 1 < argc) {
      path = argv[++i];
    } else {
      std::fprintf(stderr, "yomite-trace: unknown argument %s\n", argv[i]);
      return usage(stderr, 1);
    }
  }
  sockaddr_un addr{};
  if (path.size() >= sizeof addr.sun_path) {
    std::fprintf(stderr, "yomite-trace: socket path too long: %s\n", path.c_str());
    return 1;
  }
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    std::perror("yomite-trace: socket");
    return 1;
  }
  unlink(path.c_str());  // a socket left by a receiver that was killed
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    std::fprintf(stderr, "yomite-trace: cannot listen on %s: %s\n", path.c_str(),
                 std::strerror(errno));
    return 1;
  }
  struct sigaction sa {};
  sa.sa_handler = on_signal;  // no SA_RESTART: recv must return on a signal
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);

  static char message[65536];
  while (!g_stop) {
    ssize_t n = recv(fd, message, sizeof message, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      std::perror("yomite-trace: recv");
      break;
    }
    // Each message ends with its NUL; print the text before it.
    std::size_t len = strnlen(message, static_cast<std::size_t>(n));
    std::fwrite(message, 1, len, stdout);
    std::fflush(stdout);
  }
  close(fd);
  unlink(path.c_str());
  return 0;
}
