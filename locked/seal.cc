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
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "locked/locked.h"

namespace yomite {

namespace {

constexpr unsigned char LF = 0x0A, CR = 0x0D, FF = 0x0C, BLANK = 0x20;

#if defined(__SSE2__)
constexpr int FAST_BYTES = 16;

// XORs 16 bytes with the keystream into `out`; returns how many of them come
// before the first byte below 0x20 (16 when there is none).
inline int seal_word(const unsigned char* in, const std::uint8_t* ks, unsigned char* out) {
  __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  __m128i ordinary = _mm_cmpeq_epi8(_mm_max_epu8(x, _mm_set1_epi8(BLANK)), x);
  unsigned controls = ~static_cast<unsigned>(_mm_movemask_epi8(ordinary)) & 0xFFFF;
  __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ks));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_xor_si128(x, k));
  return controls ? std::countr_zero(controls) : 16;
}
#else
constexpr int FAST_BYTES = 8;

inline int seal_word(const unsigned char* in, const std::uint8_t* ks, unsigned char* out) {
  std::uint64_t x, k;
  std::memcpy(&x, in, 8);
  std::memcpy(&k, ks, 8);
  // Bit 7 set in each byte below 0x20; bytes above the lowest such byte may
  // be marked too, but the lowest mark is exact.
  std::uint64_t marks = (x - 0x2020202020202020ull) & ~x & 0x8080808080808080ull;
  x ^= k;
  std::memcpy(out, &x, 8);
  return marks ? std::countr_zero(marks) >> 3 : 8;
}
#endif

inline const std::uint8_t* row_for(const std::uint8_t* rows, int line) {
  return rows + static_cast<std::size_t>(line & 0xFF) * KEYSTREAM_ROW_BYTES;
}

// The writer's position, kept in locals while a block is sealed (stores
// through `out` would otherwise force them back to memory at every byte).
struct Cursor {
  const std::uint8_t* rows;
  const std::uint8_t* row;
  int line, column, stored, after_cr;
  unsigned char* out;
  std::size_t o;

  void put(unsigned char b) {
    out[o++] = b ^ row[column % KEYSTREAM_PERIOD];
    ++column;
  }
  void end_line() {
    ++line;
    row = row_for(rows, line);
    column = stored = after_cr = 0;
  }
  // One byte the fast path did not take.
  void byte(unsigned char b) {
    if (b == LF) {
      put(LF);
      end_line();
      return;
    }
    if (b == 0) return;
    if (after_cr) {
      put(LF);  // a bare CR: supply its LF
      end_line();
    }
    if (b == CR) {
      put(CR);
      after_cr = 1;
      return;
    }
    if (b < BLANK && b != FF) b = BLANK;
    put(b);
    if (++stored == LOCKED_LINE_MAX) end_line();
  }
};

Cursor cursor_of(const SealState& s, unsigned char* out) {
  return Cursor{s.rows, row_for(s.rows, s.line), s.line, s.column, s.stored, s.after_cr, out, 0};
}

void save(SealState& s, const Cursor& c) {
  s.line = c.line;
  s.column = c.column;
  s.stored = c.stored;
  s.after_cr = c.after_cr;
}

}  // namespace

void seal_begin(SealState& s, std::uint8_t* rows, int ango, int r, const char* key) {
  for (int m = 0; m < 256; ++m)
    fill_keystream_row(rows + static_cast<std::size_t>(m) * KEYSTREAM_ROW_BYTES, m, ango, r, key);
  s = SealState{};
  s.rows = rows;
}

std::size_t seal_block(SealState& s, const unsigned char* in, std::size_t n, unsigned char* out) {
  Cursor c = cursor_of(s, out);
  std::size_t i = 0;
  while (i < n) {
    // Fast path, a word at a time: the ordinary bytes before the first
    // control byte, while the line stays below its limit. The whole word is
    // stored; bytes past the control byte are overwritten next. (`out` has
    // room: i + FAST_BYTES <= n and o <= 2 * i.)
    while (!c.after_cr && n - i >= FAST_BYTES && c.stored + FAST_BYTES < LOCKED_LINE_MAX) {
      int take = seal_word(in + i, c.row + c.column % KEYSTREAM_PERIOD, out + c.o);
      i += static_cast<std::size_t>(take);
      c.o += static_cast<std::size_t>(take);
      c.column += take;
      c.stored += take;
      if (take < FAST_BYTES) break;
    }
    if (i < n) c.byte(in[i++]);
  }
  save(s, c);
  return c.o;
}

std::size_t seal_end(SealState& s, unsigned char* out) {
  if (!s.after_cr) return 0;
  Cursor c = cursor_of(s, out);
  c.put(LF);
  c.end_line();
  save(s, c);
  return c.o;
}

}  // namespace yomite
