// The writer's side of the body: the source bytes are normalised, cut into
// lines where the reader will end them, and XORed with the keystream.
//
// Normalising (applied to the byte stream, before lines are cut):
//   NUL                  dropped
//   CR not followed by LF  gets an LF, so that reader and writer agree on
//                        every line number after it
//   other bytes < 0x20   a blank, except LF, CR and form feed
// A line ends after its LF, or once LOCKED_LINE_MAX bytes other than CR and LF
// are in it (the next byte then starts the next line, even an LF). The reader
// stores neither CR nor LF, so a CR LF whose CR would be the line's last byte
// stays in the line: cutting between them would leave the reader to decode
// the LF with the wrong line's keystream.
#include <cstring>

#include "locked/locked.h"

namespace yomite {

namespace {

constexpr unsigned char LF = 0x0A, CR = 0x0D, FF = 0x0C, BLANK = 0x20;

// Whether any of the 8 bytes in `x` is below 0x20 (exact for "any").
inline bool has_control(std::uint64_t x) {
  return ((x - 0x2020202020202020ull) & ~x & 0x8080808080808080ull) != 0;
}

inline const std::uint8_t* row_of(const SealState& s) {
  return s.rows + static_cast<std::size_t>(s.line & 0xFF) * KEYSTREAM_ROW_BYTES;
}

inline void end_line(SealState& s) {
  ++s.line;
  s.column = 0;
  s.stored = 0;
  s.after_cr = 0;
}

inline unsigned char put(SealState& s, unsigned char b) {
  unsigned char out = b ^ row_of(s)[s.column % KEYSTREAM_PERIOD];
  ++s.column;
  return out;
}

// One byte of the slow path; returns the bytes written to `out` (0 to 2).
inline std::size_t seal_byte(SealState& s, unsigned char b, unsigned char* out) {
  std::size_t o = 0;
  if (b == 0) return 0;
  if (s.after_cr && b != LF) {
    out[o++] = put(s, LF);  // a bare CR: supply its LF
    end_line(s);
  }
  if (b == LF) {
    out[o++] = put(s, LF);
    end_line(s);
    return o;
  }
  if (b == CR) {
    out[o++] = put(s, CR);
    s.after_cr = 1;
    return o;
  }
  if (b < BLANK && b != FF) b = BLANK;
  out[o++] = put(s, b);
  if (++s.stored == LOCKED_LINE_MAX) end_line(s);
  return o;
}

}  // namespace

void seal_begin(SealState& s, std::uint8_t* rows, int ango, int r, const char* key) {
  for (int m = 0; m < 256; ++m)
    fill_keystream_row(rows + static_cast<std::size_t>(m) * KEYSTREAM_ROW_BYTES, m, ango, r, key);
  s = SealState{};
  s.rows = rows;
}

std::size_t seal_block(SealState& s, const unsigned char* in, std::size_t n, unsigned char* out) {
  std::size_t i = 0, o = 0;
  while (i < n) {
    // Fast path: 8 ordinary bytes that do not reach the end of the line.
    while (!s.after_cr && n - i >= 8 && s.stored + 8 < LOCKED_LINE_MAX) {
      std::uint64_t x, k;
      std::memcpy(&x, in + i, 8);
      if (has_control(x)) break;
      std::memcpy(&k, row_of(s) + s.column % KEYSTREAM_PERIOD, 8);
      x ^= k;
      std::memcpy(out + o, &x, 8);
      i += 8;
      o += 8;
      s.column += 8;
      s.stored += 8;
    }
    if (i < n) o += seal_byte(s, in[i++], out + o);
  }
  return o;
}

std::size_t seal_end(SealState& s, unsigned char* out) {
  if (!s.after_cr) return 0;
  out[0] = put(s, LF);
  end_line(s);
  return 1;
}

}  // namespace yomite
