// UTF-8: validity for detection and conversion to UTF-16.
#include "decode/decode.h"

namespace yomite {

namespace {

// Length and code point of the well-formed sequence at src[0..len), or a
// negative count of bytes to replace by one U+FFFD (the maximal ill-formed
// prefix, at least 1). Returns 0 when the buffer ends inside a sequence that
// was well-formed so far.
struct Utf8Step {
  int length;  // > 0 well-formed, < 0 ill-formed prefix, 0 cut short
  char32_t code;
};

Utf8Step utf8_step(const unsigned char* src, std::size_t len) {
  unsigned b = src[0];
  if (b < 0x80) return {1, b};
  int need;
  unsigned lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  char32_t code;
  if (b >= 0xC2 && b <= 0xDF) {
    need = 1, code = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    need = 2, code = b & 0x0F;
    if (b == 0xE0) lo = 0xA0;  // no overlong forms
    if (b == 0xED) hi = 0x9F;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    need = 3, code = b & 0x07;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return {-1, 0};
  }
  for (int k = 1; k <= need; ++k) {
    if (static_cast<std::size_t>(k) >= len) return {0, 0};
    unsigned c = src[k];
    if (k == 1 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF)) return {-k, 0};
    code = (code << 6) | (c & 0x3F);
  }
  return {need + 1, code};
}

}  // namespace

int is_valid_utf8_text(const unsigned char* buf, std::size_t n, bool cut) {
  bool multibyte = false;
  for (std::size_t i = 0; i < n;) {
    if (buf[i] < 0x80) {
      ++i;
      continue;
    }
    Utf8Step step = utf8_step(buf + i, n - i);
    if (step.length == 0) return cut && multibyte ? 1 : 0;
    if (step.length < 0) return 0;
    multibyte = true;
    i += static_cast<std::size_t>(step.length);
  }
  return multibyte ? 1 : 0;
}

int utf8_to_utf16(const unsigned char* src, int len, char16_t* out, int capacity) {
  if (capacity <= 0) return 0;
  int limit = capacity - 1, n = 0;
  for (int i = 0; i < len && n < limit;) {
    if (src[i] < 0x80) {
      out[n++] = src[i++];
      continue;
    }
    Utf8Step step = utf8_step(src + i, static_cast<std::size_t>(len - i));
    if (step.length <= 0) {
      out[n++] = 0xFFFD;
      i += step.length < 0 ? -step.length : len - i;
    } else if (step.code < 0x10000) {
      out[n++] = static_cast<char16_t>(step.code);
      i += step.length;
    } else {
      if (n + 2 > limit) break;  // never write half a pair
      char32_t v = step.code - 0x10000;
      out[n++] = static_cast<char16_t>(0xD800 + (v >> 10));
      out[n++] = static_cast<char16_t>(0xDC00 + (v & 0x3FF));
      i += step.length;
    }
  }
  out[n] = 0;
  return n;
}

void append_utf8(std::string& out, const char16_t* s, std::size_t n) {
  // Written through a pointer into room made once: at most 3 bytes a unit
  // (a pair of surrogates, 2 units, makes 4).
  const std::size_t at = out.size();
  out.resize(at + n * 3);
  char* o = out.data() + at;
  for (std::size_t i = 0; i < n; ++i) {
    char32_t c = s[i];
    if (c < 0x80) {
      *o++ = static_cast<char>(c);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x800) {
      *o++ = static_cast<char>(0xC0 | (c >> 6));
      *o++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      *o++ = static_cast<char>(0xE0 | (c >> 12));
      *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *o++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      *o++ = static_cast<char>(0xF0 | (c >> 18));
      *o++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *o++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
}

std::string utf16_to_utf8(const char16_t* s, std::size_t n) {
  std::string out;
  append_utf8(out, s, n);
  return out;
}

std::u16string utf8_to_u16string(const std::string& s) {
  std::u16string out(s.size() + 1, u'\0');
  const int n = utf8_to_utf16(reinterpret_cast<const unsigned char*>(s.data()),
                              static_cast<int>(s.size()), out.data(), static_cast<int>(out.size()));
  out.resize(static_cast<std::size_t>(n));
  return out;
}

}  // namespace yomite
