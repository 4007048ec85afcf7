#include "platform/shared/archive_names.h"

#include "platform/shared/cp932.h"

namespace yomite::platform {

namespace {

bool valid_utf8(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const int extra = c < 0x80         ? 0
                      : (c >> 5) == 6  ? 1
                      : (c >> 4) == 14 ? 2
                      : (c >> 3) == 30 ? 3
                                       : -1;
    if (extra < 0 || s.size() - i <= static_cast<std::size_t>(extra)) return false;
    for (int k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

// Code page 932 gives characters of the basic plane only: no surrogates.
void append_utf8(std::string& out, char16_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

}  // namespace

std::string archive_name_utf8(const std::string& stored, int marked_utf8) {
  if (marked_utf8 || valid_utf8(stored)) return stored;
  std::u16string units(stored.size(), u'\0');
  const int n = convert_cp932(reinterpret_cast<const unsigned char*>(stored.data()),
                              static_cast<int>(stored.size()), units.data(),
                              static_cast<int>(units.size()));
  std::string out;
  for (int i = 0; i < n; ++i) append_utf8(out, units[static_cast<std::size_t>(i)]);
  return out;
}

}  // namespace yomite::platform
