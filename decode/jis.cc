#include "decode/decode.h"

namespace yomite {

// Standard JIS X 0208 to Shift_JIS arithmetic, kept in 8 bits so that the
// bytes of malformed input give the same pairs they always gave.
SjisPair jis_to_sjis(int j1, int j2) {
  auto byte = [](int v) { return static_cast<unsigned char>(v); };
  unsigned char second;
  if (j1 & 1) {
    second = byte(j2 + 0x1F);
    if (second >= 0x7F) second = byte(second + 1);
  } else {
    second = byte(j2 + 0x7E);
  }
  unsigned char first = byte((byte(j1 - 0x1F) >> 1) | 0x80);
  if (first >= 0xA0) first = byte(first + 0x40);
  return {first, second};
}

}  // namespace yomite
