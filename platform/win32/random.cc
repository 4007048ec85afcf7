// Random bytes and random names from the system's generator.
#include <windows.h>

// after <windows.h>, whose types it uses
#include <ntsecapi.h>

#include "platform/random.h"
#include "platform/win32/random_names.h"

namespace yomite::platform {

// RtlGenRandom, from a library every window program loads anyway: the
// settings' place is probed with a random name at every start, and a
// library of its own for that (bcrypt, with its start-up) would be paid
// before the first page.
int random_bytes(void* out, std::size_t n) {
  return RtlGenRandom(out, static_cast<ULONG>(n)) ? 1 : 0;
}

namespace win32 {

std::string random_suffix(int count) {
  static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string out;
  unsigned char bytes[64];
  if (count > static_cast<int>(sizeof bytes)) count = sizeof bytes;
  if (!random_bytes(bytes, static_cast<std::size_t>(count))) {
    // No generator: the tick count and the process id still differ between
    // the callers that could meet.
    unsigned long long mix = GetTickCount64() * 0x9E3779B97F4A7C15ull ^ GetCurrentProcessId();
    for (int i = 0; i < count; ++i, mix = mix * 6364136223846793005ull + 1442695040888963407ull)
      bytes[i] = static_cast<unsigned char>(mix >> 56);
  }
  for (int i = 0; i < count; ++i) out += digits[bytes[i] % 36];
  return out;
}

}  // namespace win32
}  // namespace yomite::platform
