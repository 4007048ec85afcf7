// The header of a locked text, the key string and the values derived from it.
#include <cstdio>
#include <cstring>

#include "locked/locked.h"

namespace yomite {

// Two Ctrl-Z and two NUL bytes, then " Yomite このテキストは編集できません!! "
// and CR LF in Shift_JIS: a pager or editor shows the notice and nothing else.
const unsigned char LOCKED_MAGIC[LOCKED_MAGIC_BYTES] = {
    0x1A, 0x1A, 0x00, 0x00, 0x20, 0x59, 0x6F, 0x6D, 0x69, 0x74, 0x65, 0x20, 0x82, 0xB1, 0x82,
    0xCC, 0x83, 0x65, 0x83, 0x4C, 0x83, 0x58, 0x83, 0x67, 0x82, 0xCD, 0x95, 0xD2, 0x8F, 0x57,
    0x82, 0xC5, 0x82, 0xAB, 0x82, 0xDC, 0x82, 0xB9, 0x82, 0xF1, 0x21, 0x21, 0x20, 0x0D, 0x0A};

namespace {

int hex_value(int c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void put_le32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace

void make_key_string(std::uint32_t seed, char out[LOCKED_KEY_CHARS + 1]) {
  LockedRng g;
  rng_seed(g, seed);
  for (int group = 0; group < LOCKED_KEY_CHARS / 4; ++group)
    std::snprintf(out + 4 * group, 5, "%04X", rng_draw(g) & 0xFFFF);
}

PasswordSums password_sums(const unsigned char* p, int n) {
  PasswordSums s{0, 0, 0};
  for (int i = 0; i < n; ++i) {
    s.a += p[i] * static_cast<std::uint32_t>(i + 1);
    s.b = (s.b + p[i]) << 1;
    s.c += p[i];
  }
  return s;
}

int key_ango(const char* key) {
  // The first two characters as hex, stopping at the first non-digit.
  int v = 0;
  for (int i = 0; i < 2; ++i) {
    int d = hex_value(static_cast<unsigned char>(key[i]));
    if (d < 0) break;
    v = v * 16 + d;
  }
  int s = static_cast<signed char>(key[v % LOCKED_KEY_CHARS]);
  return s % 240 + 2;  // C++ remainder truncates, as the format wants
}

int key_random_term(int ango) {
  LockedRng g;
  int shift = ango % 7;
  if (shift < 0) shift += 7;  // only a key of bytes above 0x7F gives a negative ango
  rng_seed(g, static_cast<std::uint32_t>(ango) << shift);
  return rng_draw(g);
}

void build_locked_header(const char* key, int password_digits,
                         unsigned char out[LOCKED_HEADER_BYTES]) {
  std::memset(out, LOCKED_FILLER, LOCKED_HEADER_BYTES);
  std::memcpy(out, LOCKED_MAGIC, LOCKED_MAGIC_BYTES);
  std::memcpy(out + LOCKED_VERSION_OFFSET, "1111", 4);
  std::memcpy(out + LOCKED_KEY_OFFSET, key, LOCKED_KEY_CHARS);
  if (password_digits > 0) {
    PasswordSums s = password_sums(reinterpret_cast<const unsigned char*>(key), password_digits);
    std::memset(out + LOCKED_KEY_OFFSET, LOCKED_MASK_CHAR,
                static_cast<std::size_t>(password_digits));
    put_le32(out + LOCKED_SUM_A_OFFSET, s.a);
    put_le32(out + LOCKED_SUM_B_OFFSET, s.b);
    put_le32(out + LOCKED_SUM_C_OFFSET, s.c);
  }
  out[LOCKED_HEADER_BYTES - 2] = 0x0D;
  out[LOCKED_HEADER_BYTES - 1] = 0x0A;
}

int is_locked_header(const unsigned char* bytes, std::size_t n) {
  if (n < static_cast<std::size_t>(LOCKED_HEADER_BYTES)) return 0;
  if (std::memcmp(bytes, LOCKED_MAGIC, LOCKED_MAGIC_BYTES) != 0) return 0;
  return bytes[LOCKED_VERSION_OFFSET] == '1';
}

}  // namespace yomite
