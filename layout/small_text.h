// Warichu of the full notation: characters coded CODE_WARICHU are set inline
// at the ruby font's size, measured and drawn in that font. Private to
// layout/; nothing here runs for a line without such a code.
#pragma once

#include <cstdint>
#include <string>

#include "layout/fonts.h"
#include "platform/canvas.h"
#include "view/view_context.h"

namespace yomite {

// Whether any of the `length` codes (null: none) is CODE_WARICHU.
bool has_small_text(const std::uint16_t* codes, int length);

// Advance of the character at text[i] in the ruby font, px along the text.
int small_char_width(ViewContext& view, const char16_t* text, int i, int length);

// Blanks the warichu characters of `work` (the line's text as drawn).
void blank_small_text(const DisplayLine& line, std::u16string& work);

// Draws the warichu characters in the ruby font, centred across the text
// strip (row); `origin` is where the line's text was drawn from and
// `advances` place the characters.
void draw_small_text(ViewContext& view, platform::Canvas& canvas, platform::CanvasPoint origin,
                     const DisplayLine& line, const int* advances);

}  // namespace yomite
