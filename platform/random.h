// Bytes from the system's random source (not the locked format's generator,
// which every reader of locked texts must reproduce).
#pragma once

#include <cstddef>

namespace yomite::platform {

// Fills `n` bytes; 1, or 0 when the system gave none.
int random_bytes(void* out, std::size_t n);

}  // namespace yomite::platform
