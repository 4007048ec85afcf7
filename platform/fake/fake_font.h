// Fonts of the fake backend: plain records with fixed metrics, counted so that
// tests can see that every font made is released and how often text was
// measured.
//
// Metrics at cell height S: full-width characters advance S, half-width ones
// (ASCII, half-width kana) S / 2; ascent S - S / 9, descent S / 9. A face
// whose name contains "Ｐ" or "P" is proportional: average width S * 4 / 9,
// not fixed pitch; every other face has average S / 2 and is fixed pitch.
// Maximum width is S for all.
#pragma once

#include <string>
#include <vector>

#include "platform/font.h"

namespace yomite::platform {

struct Font {
  std::string face;
  int height = 0;      // px, the cell height (a negative request is made positive)
  int escapement = 0;  // tenths of a degree, counter-clockwise
};

}  // namespace yomite::platform

namespace yomite::fake {

platform::Font* new_font(const std::string& face, int height, int escapement);

// Fonts made by new_font and not yet deleted.
int live_fonts();

// Every font_create request since the last reset, in order.
struct FontRequest {
  std::string face;
  int height;
  int escapement;
};
std::vector<FontRequest>& font_requests();

// font_text_extent calls since the last reset.
int& extent_calls();

// Faces font_create refuses (it then returns null).
std::vector<std::string>& failing_faces();

// Families font_family_installed knows; a leading "@" of the question is
// ignored. Starts as the three stand-in faces "ＭＳ ゴシック", "ＭＳ 明朝",
// "ＭＳ Ｐゴシック".
std::vector<std::string>& installed_families();

// When set, extents come back with the axes exchanged (along = cell height).
void set_swapped_extents(bool swapped);

// Clears the requests, the call count, the failing faces and the swap, and
// restores the installed families.
void reset_fonts();

}  // namespace yomite::fake
