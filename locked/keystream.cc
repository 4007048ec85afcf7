// The keystream: ks(L, j) = position term XOR ango XOR R XOR key[j mod 80],
// where the position term is ((L mod 256) * 1027 + j * 237) mod 65. In the
// column it repeats every 1040 bytes (65 and 80 both divide 1040), in the line
// every 256 lines, so the reader works from one precomputed row per line
// number modulo 256.
#include <array>
#include <cstring>

#include "decode/keystream.h"
#include "locked/locked.h"

namespace yomite {

int position_term(int line, int column) {
  return ((line & 0xFF) * 1027 + column * 237) % 65;
}

std::uint8_t keystream_byte(int line, int column, int ango, int r, const char* key) {
  int b = position_term(line, column % KEYSTREAM_PERIOD) ^ (ango & 0xFF) ^ (r & 0xFF) ^
          static_cast<unsigned char>(key[column % LOCKED_KEY_CHARS]);
  return static_cast<std::uint8_t>(b);
}

void fill_keystream_row(std::uint8_t* row, int line_mod, int ango, int r, const char* key) {
  for (int j = 0; j < KEYSTREAM_PERIOD; ++j) row[j] = keystream_byte(line_mod, j, ango, r, key);
  std::memcpy(row + KEYSTREAM_PERIOD, row, KEYSTREAM_ROW_BYTES - KEYSTREAM_PERIOD);
}

namespace {

// Rows of the text being read, made when a line first needs them; a new key
// string, ango or R starts the cache again.
struct RowCache {
  char key[LOCKED_KEY_CHARS] = {};
  int ango = -1, r = -1;
  std::array<bool, 256> made{};
  std::array<std::array<std::uint8_t, KEYSTREAM_ROW_BYTES>, 256> rows{};
};

RowCache& row_cache() {
  static RowCache* cache = new RowCache;  // lives as long as the process
  return *cache;
}

const std::uint8_t* locked_keystream_row(std::uint32_t key, int r, const char* key_string) {
  RowCache& c = row_cache();
  int ango = static_cast<int>(key & 0xFF);
  int line_mod = static_cast<int>((key >> 8) & 0xFF);
  if (ango != c.ango || (r & 0xFF) != c.r ||
      std::memcmp(key_string, c.key, LOCKED_KEY_CHARS) != 0) {
    std::memcpy(c.key, key_string, LOCKED_KEY_CHARS);
    c.ango = ango;
    c.r = r & 0xFF;
    c.made.fill(false);
  }
  if (!c.made[line_mod]) {
    fill_keystream_row(c.rows[line_mod].data(), line_mod, ango, r, key_string);
    c.made[line_mod] = true;
  }
  return c.rows[line_mod].data();
}

}  // namespace

void install_locked_keystream() {
  set_keystream(locked_keystream_row);
}

}  // namespace yomite
