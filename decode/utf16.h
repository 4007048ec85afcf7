// UTF-16 code units: the surrogate pairs that make one character of two units.
#pragma once

namespace yomite {

constexpr bool is_high_surrogate(char32_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
constexpr bool is_low_surrogate(char32_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

// Units of the character at text[i] of a run of `length` units: 2 for a
// surrogate pair, else 1.
constexpr int char_units(const char16_t* text, int i, int length) {
  return is_high_surrogate(text[i]) && i + 1 < length && is_low_surrogate(text[i + 1]) ? 2 : 1;
}

}  // namespace yomite
