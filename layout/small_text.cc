#include "layout/small_text.h"

#include "decode/utf16.h"
#include "layout/paint_steps.h"
#include "view/attr_codes.h"

namespace yomite {

namespace {

platform::Font* font_of(const ViewContext& v, std::uint16_t code) {
  platform::Font* f = code == CODE_SMALLER  ? v.typeset.font_smaller
                      : code == CODE_LARGER ? v.typeset.font_larger
                                            : v.typeset.font_ruby;
  return f ? f : v.typeset.font_main;
}

// The cell height of a sized font, for centring it across the strip.
int height_of(const ViewContext& v, std::uint16_t code) {
  if (code == CODE_WARICHU) return v.typeset.ruby_height;
  platform::FontMetrics m;
  return platform::font_metrics(font_of(v, code), &m) ? m.height : v.typeset.char_height;
}

}  // namespace

void create_sized_fonts(ViewContext& v, int size, int escapement) {
  if (!v.settings.full_notation) return;
  v.typeset.font_smaller =
      platform::font_create(v.settings.face_name.c_str(), size * 5 / 6, escapement);
  v.typeset.font_larger =
      platform::font_create(v.settings.face_name.c_str(), size * 6 / 5, escapement);
}

bool has_small_text(const std::uint16_t* codes, int length) {
  if (!codes) return false;
  for (int i = 0; i < length; ++i)
    if (is_sized_code(codes[i])) return true;
  return false;
}

int sized_char_width(ViewContext& v, std::uint16_t code, const char16_t* text, int i, int length) {
  if (is_low_surrogate(text[i]) && i > 0 && is_high_surrogate(text[i - 1])) return 0;
  MeasureContext sized{font_of(v, code)};
  return measure_direct(sized, text + i, char_units(text, i, length), v).cx;
}

void blank_small_text(const ViewContext& v, const DisplayLine& line, std::u16string& work) {
  const std::uint16_t* codes = line_codes(v.doc, line);
  for (std::size_t i = 0; i < work.size(); ++i)
    if (is_sized_code(codes[i])) work[i] = u' ';
}

void draw_small_text(ViewContext& v, platform::Canvas& c, platform::CanvasPoint origin,
                     const DisplayLine& line, const int* advances) {
  const int length = line_length(v.doc, line);
  const std::uint16_t* codes = line_codes(v.doc, line);
  platform::Font* old = platform::canvas_select_font(c, v.typeset.font_ruby);
  int align = platform::canvas_set_align(c, platform::ALIGN_UPDATE_CP);
  int mode = platform::canvas_set_back_mode(c, platform::BK_TRANSPARENT);
  for (int i = 0, offset = 0; i < length;) {
    const std::uint16_t code = codes[i];
    int run = i;
    while (run < length && codes[run] == code) ++run;
    if (is_sized_code(code)) {
      const int across = (v.typeset.char_height - height_of(v, code)) / 2;  // centred
      platform::canvas_select_font(c, font_of(v, code));
      if (v.typeset.vertical)
        platform::canvas_move_to(c, origin.x - across, origin.y + offset);
      else
        platform::canvas_move_to(c, origin.x + offset, origin.y + across);
      platform::canvas_text(c, 0, 0, line_text(v.doc, line) + i, run - i, advances + i);
    }
    for (; i < run; ++i) offset += advances[i];
  }
  platform::canvas_set_back_mode(c, mode);
  platform::canvas_set_align(c, align);
  platform::canvas_select_font(c, old);
}

}  // namespace yomite
