// Random bytes from the kernel (getrandom).
#include "platform/random.h"

#include <sys/random.h>

#include <cerrno>

namespace yomite::platform {

int random_bytes(void* out, std::size_t n) {
  auto* p = static_cast<unsigned char*>(out);
  while (n > 0) {
    const ssize_t got = getrandom(p, n, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return 0;
    p += got;
    n -= static_cast<std::size_t>(got);
  }
  return 1;
}

}  // namespace yomite::platform
