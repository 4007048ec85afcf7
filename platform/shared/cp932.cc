#include "platform/shared/cp932.h"

#include <cstdint>

#include "platform/codepage.h"

namespace yomite::platform {

namespace {

constexpr std::uint16_t CP932_PAIRS[60 * 189] = {
#include "platform/shared/cp932_table.inc"
};

// Row of a lead byte in CP932_PAIRS, or -1 for a byte that leads nothing.
int cp932_row(unsigned b) {
  if (b >= 0x81 && b <= 0x9F) return static_cast<int>(b - 0x81);
  if (b >= 0xE0 && b <= 0xFC) return static_cast<int>(b - 0xE0 + 31);
  return -1;
}

}  // namespace

int convert_cp932(const unsigned char* src, int len, char16_t* dst, int limit) {
  int i = 0, n = 0;
  while (i < len && n < limit) {
    unsigned b = src[i];
    if (b < 0x80) {
      dst[n++] = static_cast<char16_t>(b);
      ++i;
    } else if (b >= 0xA1 && b <= 0xDF) {
      dst[n++] = static_cast<char16_t>(0xFF61 + (b - 0xA1));  // half-width katakana
      ++i;
    } else if (int row = cp932_row(b);
               row >= 0 && i + 1 < len && src[i + 1] >= 0x40 && src[i + 1] <= 0xFC) {
      dst[n++] = CP932_PAIRS[row * 189 + (src[i + 1] - 0x40)];
      i += 2;
    } else {
      dst[n++] = UNMAPPED_UNIT;  // 0x80, 0xA0, 0xFD-0xFF, or a lead without its trail
      ++i;
    }
  }
  return n;
}

}  // namespace yomite::platform
