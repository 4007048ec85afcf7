// Fonts of the fake backend: plain records, counted so that tests can see
// that every font made is released.
#pragma once

#include <string>

#include "platform/font.h"

namespace yomite::platform {

struct Font {
  std::string face;
  int height = 0;      // px, the cell height
  int escapement = 0;  // tenths of a degree, counter-clockwise
};

}  // namespace yomite::platform

namespace yomite::fake {

platform::Font* new_font(const std::string& face, int height, int escapement);

// Fonts made by new_font and not yet deleted.
int live_fonts();

}  // namespace yomite::fake
