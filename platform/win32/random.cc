// Random bytes and random names from the system's preferred generator.
#include <windows.h>

// after <windows.h>, whose types it uses
#include <bcrypt.h>

#include "platform/random.h"
#include "platform/win32/late_library.h"
#include "platform/win32/random_names.h"

namespace yomite::platform {

// Looked up when first needed: no start-up loads the library for the few
// callers that want random names.
int random_bytes(void* out, std::size_t n) {
  static const auto generate =
      win32::late_function<decltype(&BCryptGenRandom)>(L"bcrypt.dll", "BCryptGenRandom");
  return generate && generate(nullptr, static_cast<PUCHAR>(out), static_cast<ULONG>(n),
                         BCRYPT_USE_SYSTEM_PREFERRED_RNG) == 0
             ? 1
             : 0;
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
