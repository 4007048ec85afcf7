#include "platform/shared/cp932.h"

#include <cstdint>
#include <utility>

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

// Characters that Shift_JIS as JIS X 0208 defines it reads differently from
// code page 932 (〜 U+301C where Windows reads ～ U+FF5E, and so on): the same
// code, so a text converted from such a mapping keeps them.
constexpr std::pair<char16_t, std::uint16_t> JIS_FORMS[] = {
    {0x301C, 0x8160}, {0x2016, 0x8161}, {0x2212, 0x817C}, {0x00A2, 0x8191},
    {0x00A3, 0x8192}, {0x00AC, 0x81CA}, {0x2014, 0x815C},
};

// Lead bytes in the order their codes are preferred (see cp932_bytes).
bool preferred_first(unsigned lead, int pass) {
  const bool nec = lead == 0x87, ibm = lead >= 0xFA, nec_ibm = lead == 0xED || lead == 0xEE;
  switch (pass) {
    case 0:
      return !nec && !ibm && !nec_ibm;
    case 1:
      return nec;
    case 2:
      return ibm;
    default:
      return nec_ibm;
  }
}

// Code of every unit that has one (0: none), built on first use.
const std::uint16_t* reverse_table() {
  static const std::uint16_t* table = [] {
    auto* codes = new std::uint16_t[65536]();
    for (unsigned b = 0x01; b < 0x80; ++b) codes[b] = static_cast<std::uint16_t>(b);
    for (unsigned b = 0xA1; b <= 0xDF; ++b) codes[0xFF61 + (b - 0xA1)] = static_cast<std::uint16_t>(b);
    for (int pass = 0; pass < 4; ++pass)
      for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        const int row = cp932_row(lead);
        if (row < 0 || !preferred_first(lead, pass)) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
          const char16_t u = CP932_PAIRS[row * 189 + (trail - 0x40)];
          if (u != 0 && codes[u] == 0) codes[u] = static_cast<std::uint16_t>(lead << 8 | trail);
        }
      }
    for (const auto& [u, code] : JIS_FORMS)
      if (codes[u] == 0) codes[u] = code;
    return codes;
  }();
  return table;
}

}  // namespace

int cp932_bytes(char16_t unit, unsigned char out[2]) {
  if (unit == 0) {
    out[0] = 0;
    return 1;
  }
  const std::uint16_t code = reverse_table()[unit];
  if (code == 0) return 0;
  if (code < 0x100) {
    out[0] = static_cast<unsigned char>(code);
    return 1;
  }
  out[0] = static_cast<unsigned char>(code >> 8);
  out[1] = static_cast<unsigned char>(code & 0xFF);
  return 2;
}

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
