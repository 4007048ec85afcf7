// Reading one line of a byte encoding: the reading phase gathers the raw bytes
// of the line (unscrambling a locked text's line as it goes), the conversion
// phase rewrites them into Shift_JIS bytes, or copies them in the raw and
// UTF-8 modes.
#include <cstring>

#include "decode/decode.h"
#include "decode/keystream.h"
#include "platform/codepage.h"
#include "trace/trace.h"

namespace yomite {

namespace {

constexpr int LF = 0x0A, CR = 0x0D, TAB = 0x09, ESC = 0x1B, SO = 0x0E, SI = 0x0F, DEL = 0x7F;

// Number of bytes at the end of raw[0..n) that begin a UTF-8 sequence the line
// cut broke off (0 when the last sequence is complete).
int broken_utf8_tail(const unsigned char* raw, int n) {
  for (int back = 1; back <= 3 && back <= n; ++back) {
    unsigned b = raw[n - back];
    if ((b & 0xC0) == 0x80) continue;  // continuation byte: look further back
    int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return length > back ? back : 0;
  }
  return 0;
}

// Copies the bytes before the next CR or LF that are already in the stream's
// buffer: the whole line, mostly, without a test per byte. Returns the new
// count of stored bytes (at most `limit`).
int copy_until_line_end(unsigned char* raw, int i, int limit, TextStream& in) {
  std::size_t room = static_cast<std::size_t>(limit - i);
  std::size_t avail = in.end - in.pos;
  std::size_t window = avail < room ? avail : room;
  if (window == 0) return i;
  const unsigned char* start = in.data + in.pos;
  const void* lf = std::memchr(start, LF, window);
  if (lf) window = static_cast<std::size_t>(static_cast<const unsigned char*>(lf) - start);
  const void* cr = std::memchr(start, CR, window);
  if (cr) window = static_cast<std::size_t>(static_cast<const unsigned char*>(cr) - start);
  std::memcpy(raw + i, start, window);
  in.pos += window;
  return i + static_cast<int>(window);
}

// A line that reached capacity - 1 bytes: the rest of the physical line is
// read as the next line. In UTF-8 the cut moves back to the start of a
// character broken off by it (unless that would leave nothing of the line).
// Returns the bytes kept.
int cut_long_line(unsigned char* raw, int i, int capacity, TextStream& in, int mode) {
  if (mode == ENC_UTF8) {
    int tail = broken_utf8_tail(raw, i);
    if (tail == i) tail = 0;
    stream_unget(in, static_cast<std::size_t>(tail));
    i -= tail;
  }
  raw[i] = 0;
  trace("%x too long line %d  \n", raw[i - 1], capacity);
  trace("[%s]", reinterpret_cast<const char*>(raw));
  return i;
}

// Reading phase. Stores at most capacity - 1 bytes of one physical line in
// raw; returns the count, or -1 at the end of the file before the first byte.
int read_raw_line(unsigned char* raw, int capacity, TextStream& in, int mode, std::uint32_t key,
                  int r, const char* key_string) {
  const std::uint8_t* ks = nullptr;
  if ((key & 0xFF) != 0) {
    if (KeystreamRowFn row = current_keystream()) ks = row(key, r, key_string);
  }
  int limit = capacity - 1;
  int i = 0;
  for (;;) {
    if (!ks) i = copy_until_line_end(raw, i, limit, in);
    if (i >= limit) {
      i = cut_long_line(raw, i, capacity, in, mode);
      break;
    }
    int c = stream_getc(in);
    if (c < 0) {
      if (i == 0) return -1;
      break;
    }
    if (ks) c ^= ks[i % KEYSTREAM_PERIOD];
    if (c == LF) break;
    if (c == CR) {
      // CR LF, or a lone CR: either ends the line. A byte other than LF after
      // the CR begins the next line, so it goes back into the stream as read.
      int c2 = stream_getc(in);
      if (c2 >= 0) {
        int plain = ks ? c2 ^ ks[(i + 1) % KEYSTREAM_PERIOD] : c2;
        if (plain != LF) stream_unget(in);
      }
      break;
    }
    raw[i++] = static_cast<unsigned char>(c);
    if (i >= limit) {
      i = cut_long_line(raw, i, capacity, in, mode);
      break;
    }
  }
  return i;
}

// A control byte or ASCII byte outside a JIS kanji run: TAB is one space, DEL
// is dropped, everything else is written as it is. Returns bytes written.
inline int put_single_byte(unsigned char* out, int b) {
  if (b == TAB) {
    *out = 0x20;
    return 1;
  }
  if (b == DEL) return 0;
  *out = static_cast<unsigned char>(b);
  return 1;
}

// What a byte is in Shift_JIS, looked up once per byte.
enum SjisClass : unsigned char { SJ_TEXT, SJ_CONTROL, SJ_DROP, SJ_LEAD };

constexpr SjisClass sjis_class(int b) {
  if (b < 0x20 || b == DEL) return SJ_CONTROL;
  if (b < 0x80) return SJ_TEXT;
  if (b == 0x80 || b >= 0xFD) return SJ_DROP;  // bytes that begin nothing
  if (is_sjis_lead_byte(b)) return SJ_LEAD;
  return SJ_TEXT;  // half-width katakana and the rest
}

struct SjisClassTable {
  SjisClass of[256];
  constexpr SjisClassTable() : of() {
    for (int b = 0; b < 256; ++b) of[b] = sjis_class(b);
  }
};
constexpr SjisClassTable SJIS_CLASS;

int convert_sjis(const unsigned char* raw, int n, unsigned char* out) {
  int o = 0;
  for (int k = 0; k < n;) {
    int b = raw[k];
    switch (SJIS_CLASS.of[b]) {
      case SJ_TEXT:
        out[o++] = static_cast<unsigned char>(b);
        k += 1;
        break;
      case SJ_CONTROL:
        o += put_single_byte(out + o, b);
        k += 1;
        break;
      case SJ_DROP:
        k += 1;
        break;
      case SJ_LEAD:
        if (k + 1 < n && is_sjis_trail_byte(raw[k + 1])) {
          out[o++] = static_cast<unsigned char>(b);
          out[o++] = raw[k + 1];
          k += 2;
        } else {
          out[o++] = '?';  // the byte after the lead is processed on its own
          k += 1;
        }
        break;
    }
  }
  return o;
}

inline int put_jis_pair(unsigned char* out, int j1, int j2) {
  SjisPair p = jis_to_sjis(j1 & 0x7F, j2 & 0x7F);
  out[0] = p.first;
  out[1] = p.second;
  return 2;
}

int convert_euc(const unsigned char* raw, int n, unsigned char* out) {
  int o = 0;
  for (int k = 0; k < n;) {
    int b = raw[k];
    int next = k + 1 < n ? raw[k + 1] : -1;
    if (b < 0x80) {
      o += put_single_byte(out + o, b);
      k += 1;
    } else if (b == 0x8E) {  // single shift 2: one half-width katakana byte
      if (next >= 0xA0 && next <= 0xDF) out[o++] = static_cast<unsigned char>(next);
      k += 2;
    } else if (b >= 0xA1 && b <= 0xFE && next >= 0xA1 && next <= 0xFE) {
      o += put_jis_pair(out + o, b, next);
      k += 2;
    } else {
      k += 2;  // 0x8F, 0xFF, a lead without its second byte: both dropped
    }
  }
  return o;
}

int convert_jis(const unsigned char* raw, int n, unsigned char* out) {
  int o = 0;
  int state = JIS_ROMAN;
  for (int k = 0; k < n;) {
    int b = raw[k];
    if (b == ESC) {
      int b1 = k + 1 < n ? raw[k + 1] : -1, b2 = k + 2 < n ? raw[k + 2] : -1;
      int to = -1;
      if (b1 == 0x24 && (b2 == 0x42 || b2 == 0x40)) to = JIS_KANJI;
      if (b1 == 0x28 && (b2 == 0x42 || b2 == 0x4A)) to = JIS_ROMAN;
      if (b1 == 0x28 && b2 == 0x49) to = JIS_KANA;
      if (to >= 0) {
        state = to;
        k += 3;
      } else {
        k += 1;  // an unknown escape: the bytes after ESC are ordinary bytes
      }
    } else if (b == SO || b == SI) {
      state = b == SO ? JIS_KANA : JIS_ROMAN;
      k += 1;
    } else if (b < 0x20) {
      o += put_single_byte(out + o, b);
      k += 1;
    } else if (state == JIS_KANJI) {
      if (k + 1 < n) o += put_jis_pair(out + o, b, raw[k + 1]);
      k += 2;
    } else if (b >= 0x80) {
      k += 1;
    } else if (state == JIS_KANA) {
      out[o++] = static_cast<unsigned char>(b | 0x80);
      k += 1;
    } else {
      o += put_single_byte(out + o, b);
      k += 1;
    }
  }
  return o;
}

// Raw and UTF-8 lines are copied; UTF-8 gets the TAB and DEL rules of the
// other byte encodings so that a text reads the same in every encoding.
int convert_copy(const unsigned char* raw, int n, unsigned char* out, int mode) {
  if (mode == ENC_RAW) {
    std::memcpy(out, raw, static_cast<std::size_t>(n));
    return n;
  }
  int o = 0;
  for (int k = 0; k < n; ++k) o += put_single_byte(out + o, raw[k]);
  return o;
}

}  // namespace

int read_byte_line(unsigned char* out, int capacity, TextStream& in, int mode, std::uint32_t key,
                   int r, const char* key_string) {
  unsigned char raw[LINE_CAPACITY];
  if (capacity > LINE_CAPACITY) capacity = LINE_CAPACITY;
  int n = read_raw_line(raw, capacity, in, mode, key, r, key_string);
  if (n < 0) return -1;
  // Output is never longer than the raw line, so nothing needs cutting here.
  int written;
  switch (mode) {
    case ENC_EUC:
      written = convert_euc(raw, n, out);
      break;
    case ENC_JIS:
      written = convert_jis(raw, n, out);
      break;
    case ENC_RAW:
    case ENC_UTF8:
      written = convert_copy(raw, n, out, mode);
      break;
    default:
      written = convert_sjis(raw, n, out);
      break;
  }
  out[written] = 0;
  return written;
}

int byte_line_to_utf16(int mode, int code_page, const unsigned char* line, int len, char16_t* out,
                       int capacity) {
  if (mode == ENC_UTF8) return utf8_to_utf16(line, len, out, capacity);
  return platform::multibyte_to_utf16(code_page, line, len, out, capacity);
}

}  // namespace yomite
