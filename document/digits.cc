// Single digits between full-width characters stand upright in vertical
// writing: they become full-width digits, losing one space on either side.
#include <string_view>

#include "document/load.h"

namespace yomite {

namespace {

constexpr char16_t FULL_WIDTH_OFFSET = 0xFEE0;  // '0' + 0xFEE0 = '０'

// A character beside which a single digit stands upright.
struct Wide {
  std::u16string_view also;
  bool operator()(char16_t c) const {
    return (c >= 0x100 && c <= 0xFEFF) || (c != 0 && also.find(c) != std::u16string_view::npos);
  }
};
bool is_digit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

void remove_at(char16_t* line, int& length, int at) {
  for (int k = at; k < length; ++k) line[k] = line[k + 1];  // moves the terminator too
  --length;
}

}  // namespace

void convert_isolated_digits(char16_t* line, const char16_t* also_wide) {
  const Wide is_wide{also_wide};
  int length = static_cast<int>(std::char_traits<char16_t>::length(line));
  for (int i = 0; i < length; ++i) {
    // A digit at the start or after a wide character, before a wide character
    // (or one space and a wide character, the space then removed).
    if (is_digit(line[i]) && (i == 0 || is_wide(line[i - 1]))) {
      if (is_wide(line[i + 1])) {
        line[i] += FULL_WIDTH_OFFSET;
      } else if (line[i + 1] == u' ' && is_wide(line[i + 2])) {
        line[i] += FULL_WIDTH_OFFSET;
        remove_at(line, length, i + 1);
      }
    } else if (line[i] == u' ' && i > 0 && is_wide(line[i - 1]) && is_digit(line[i + 1])) {
      // A space between a wide character and a single digit.
      if (is_wide(line[i + 2])) {
        remove_at(line, length, i);
        line[i] += FULL_WIDTH_OFFSET;
      } else if (line[i + 2] == u' ' && is_wide(line[i + 3])) {
        remove_at(line, length, i);
        line[i] += FULL_WIDTH_OFFSET;
        remove_at(line, length, i + 1);
      }
    }
  }
}

}  // namespace yomite
