// Warichu and sized text of the full notation: characters coded
// CODE_WARICHU are set inline at the ruby font's size, CODE_SMALLER and
// CODE_LARGER (小さな文字, 大きな文字) a step smaller or larger than the main
// font; each measured and drawn in its font, centred across the text strip
// (row), at the same column pitch. Private to layout/; nothing here runs for
// a line without such a code.
#pragma once

#include <cstdint>
#include <string>

#include "layout/fonts.h"
#include "platform/canvas.h"
#include "view/view_context.h"

namespace yomite {

// Makes view.typeset.font_smaller and font_larger when the full notation is
// on: the main face at 5/6 and 6/5 of its size.
void create_sized_fonts(ViewContext& view, int size, int escapement);

// Whether any of the `length` codes (null: none) is a sized one.
bool has_small_text(const std::uint16_t* codes, int length);

// Advance of the character at text[i] in the font of sized code `code`, px
// along the text.
int sized_char_width(ViewContext& view, std::uint16_t code, const char16_t* text, int i,
                     int length);

// Blanks the sized characters of `work` (the line's text as drawn).
void blank_small_text(const ViewContext& view, const DisplayLine& line, std::u16string& work);

// Draws the sized characters in their fonts, centred across the text strip
// (row); `origin` is where the line's text was drawn from and `advances`
// place the characters.
void draw_small_text(ViewContext& view, platform::Canvas& canvas, platform::CanvasPoint origin,
                     const DisplayLine& line, const int* advances);

}  // namespace yomite
