#include <algorithm>

#include "document/markup.h"

namespace yomite {

void fill_codes(std::uint16_t* at, std::uint16_t code, int count) {
  if (count > 0) std::fill(at, at + count, code);
}

}  // namespace yomite
