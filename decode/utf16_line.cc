// Reading one line of UTF-16 units, and the byte-order marks of both readers.
#include "decode/utf16.h"
#include "decode/decode.h"

namespace yomite {

namespace {

// The next unit as stored little-endian, or -1 at the end of the file (an odd
// byte at the very end counts as the end).
inline int read_unit_le(TextStream& in) {
  int lo = stream_getc(in);
  if (lo < 0) return -1;
  int hi = stream_getc(in);
  if (hi < 0) return -1;
  return lo | (hi << 8);
}

inline int swap_unit(int u) {
  return ((u & 0xFF) << 8) | (u >> 8);
}

}  // namespace

char16_t* read_utf16_line(char16_t* out, int capacity, TextStream& in, int mode) {
  bool swap = mode == ENC_UTF16BE;
  int limit = capacity - 1;
  int i = 0;
  for (;;) {
    // U+FFFF is read like any other unit: only the real end of the file ends
    // the document.
    int u = read_unit_le(in);
    if (u < 0) {
      if (i == 0) return nullptr;
      break;
    }
    if (swap) u = swap_unit(u);
    if (u == 0x000A) break;
    if (u == 0x000D) {
      int u2 = read_unit_le(in);
      if (u2 >= 0 && (swap ? swap_unit(u2) : u2) != 0x000A) stream_unget(in, 2);
      break;
    }
    out[i++] = static_cast<char16_t>(u);
    if (i >= limit) {
      // A longer line goes on as the next line; a surrogate pair stays whole.
      if (is_high_surrogate(u) && i > 1) {
        stream_unget(in, 2);
        --i;
      }
      break;
    }
  }
  out[i] = 0;
  return out;
}

void skip_byte_order_mark(TextStream& in, int mode) {
  if (mode == ENC_UTF16LE || mode == ENC_UTF16BE) {
    int lo = stream_getc(in);
    if (lo < 0) return;
    int hi = stream_getc(in);
    if (hi < 0) {
      stream_unget(in, 1);
      return;
    }
    int u = lo | (hi << 8);
    if (u != 0xFEFF && u != 0xFFFE) stream_unget(in, 2);
  } else if (mode == ENC_UTF8) {
    static const int mark[3] = {0xEF, 0xBB, 0xBF};
    for (std::size_t k = 0; k < 3; ++k) {
      int b = stream_getc(in);
      if (b != mark[k]) {
        stream_unget(in, b < 0 ? k : k + 1);
        return;
      }
    }
  }
}

}  // namespace yomite
