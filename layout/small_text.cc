#include "layout/small_text.h"

#include "decode/utf16.h"
#include "layout/paint_steps.h"
#include "view/attr_codes.h"

namespace yomite {

bool has_small_text(const std::uint16_t* codes, int length) {
  if (!codes) return false;
  for (int i = 0; i < length; ++i)
    if (codes[i] == CODE_WARICHU) return true;
  return false;
}

int small_char_width(ViewContext& v, const char16_t* text, int i, int length) {
  if (is_low_surrogate(text[i]) && i > 0 && is_high_surrogate(text[i - 1])) return 0;
  MeasureContext ruby{v.typeset.font_ruby ? v.typeset.font_ruby : v.typeset.font_main};
  return measure_direct(ruby, text + i, char_units(text, i, length), v).cx;
}

void blank_small_text(const DisplayLine& line, std::u16string& work) {
  for (std::size_t i = 0; i < work.size(); ++i)
    if (line.attrs[i] == CODE_WARICHU) work[i] = u' ';
}

void draw_small_text(ViewContext& v, platform::Canvas& c, platform::CanvasPoint origin,
                     const DisplayLine& line, const int* advances) {
  const int length = line_length(line);
  const int across = (v.typeset.char_height - v.typeset.ruby_height) / 2;  // centred in the strip or row
  platform::Font* old = platform::canvas_select_font(c, v.typeset.font_ruby);
  int align = platform::canvas_set_align(c, platform::ALIGN_UPDATE_CP);
  int mode = platform::canvas_set_back_mode(c, platform::BK_TRANSPARENT);
  for (int i = 0, offset = 0; i < length;) {
    int run = i;
    while (run < length && line.attrs[run] == CODE_WARICHU) ++run;
    if (run > i) {
      if (v.typeset.vertical)
        platform::canvas_move_to(c, origin.x - across, origin.y + offset);
      else
        platform::canvas_move_to(c, origin.x + offset, origin.y + across);
      platform::canvas_text(c, 0, 0, line.text + i, run - i, advances + i);
      for (; i < run; ++i) offset += advances[i];
      continue;
    }
    offset += advances[i++];
  }
  platform::canvas_set_back_mode(c, mode);
  platform::canvas_set_align(c, align);
  platform::canvas_select_font(c, old);
}

}  // namespace yomite
