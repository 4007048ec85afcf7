// Encoding detection: byte-order marks, JIS escapes, then which of UTF-8,
// Shift_JIS and EUC-JP the first bytes of the file are valid under.
#include <cstdio>

#include "decode/decode.h"
#include "platform/files.h"
#include "trace/trace.h"

namespace yomite {

// The last byte is never examined as a lead, so a character cut off by the
// detection limit does not fail the test.
int is_valid_sjis(const unsigned char* buf, std::size_t n) {
  for (std::size_t i = 0; i + 1 < n;) {
    if (is_sjis_lead_byte(buf[i])) {
      if (!is_sjis_trail_byte(buf[i + 1])) return 0;
      i += 2;
    } else {
      i += 1;
    }
  }
  return 1;
}

int is_valid_euc(const unsigned char* buf, std::size_t n) {
  for (std::size_t i = 0; i + 1 < n;) {
    int b = buf[i], next = buf[i + 1];
    if (b < 0x80) {
      i += 1;
    } else if (b == 0x8E) {  // single shift 2: a half-width katakana follows
      if (next < 0xA0 || next > 0xDF) return 0;
      i += 2;
    } else if (b == 0x8F) {  // single shift 3: the next two bytes are checked as a pair
      i += 1;
    } else if (b >= 0xA1 && b <= 0xFE) {
      if (next < 0xA1 || next > 0xFE) return 0;
      i += 2;
    } else {
      return 0;
    }
  }
  return 1;
}

// Only an ESC whose next byte lies inside the buffer counts.
int has_jis_escape(const unsigned char* buf, std::size_t n) {
  for (std::size_t i = 0; i + 1 < n; ++i)
    if (buf[i] == 0x1B && (buf[i + 1] == 0x24 || buf[i + 1] == 0x28)) return 1;
  return 0;
}

int encoding_from_letter(int letter) {
  switch (letter) {
    case 'S':
      return ENC_SJIS;
    case 'E':
      return ENC_EUC;
    case 'J':
      return ENC_JIS;
    case 'U':
      return ENC_UTF16LE;
    case 'V':
      return ENC_UTF16BE;
    case '8':
      return ENC_UTF8;
    default:
      return -1;
  }
}

int detect_encoding_bytes(const unsigned char* buf, std::size_t n, bool cut) {
  if (n >= 2 && buf[0] == 0xFF && buf[1] == 0xFE) return ENC_UTF16LE;
  if (n >= 2 && buf[0] == 0xFE && buf[1] == 0xFF) return ENC_UTF16BE;
  if (n >= 3 && buf[0] == 0xEF && buf[1] == 0xBB && buf[2] == 0xBF) return ENC_UTF8;
  if (has_jis_escape(buf, n)) return ENC_JIS;
  if (is_valid_utf8_text(buf, n, cut)) return ENC_UTF8;
  int s = is_valid_sjis(buf, n);
  int e = is_valid_euc(buf, n);
  trace("sjis=%d euc=%d ", s, e);
  if (s != e) return e ? ENC_EUC : ENC_SJIS;
  if (!s) return ENC_SJIS;
  // Valid under both: bare-LF texts are taken as EUC-JP, all others as Shift_JIS.
  bool has_cr = false, has_lf = false;
  for (std::size_t i = 0; i < n; ++i) {
    has_cr |= buf[i] == 0x0D;
    has_lf |= buf[i] == 0x0A;
  }
  return !has_cr && has_lf ? ENC_EUC : ENC_SJIS;
}

int detect_encoding(const char* path) {
  std::FILE* f = platform::open_regular_file(path);
  if (!f) return ENC_SJIS;
  unsigned char buf[DETECT_BYTES];
  std::size_t n = std::fread(buf, 1, sizeof buf, f);
  std::fclose(f);
  // Cut off by the detection limit or by the end of the file, a last
  // character left incomplete does not count against UTF-8.
  return detect_encoding_bytes(buf, n, true);
}

}  // namespace yomite
