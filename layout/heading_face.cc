#include "layout/heading_face.h"

#include <string_view>

#include "layout/fonts.h"
#include "layout/paint_steps.h"

namespace yomite {

namespace {

bool is_mincho(std::string_view face) {
  for (std::string_view mark : {"明朝", "Mincho", "mincho", "Serif", "serif"})
    if (face.find(mark) != std::string_view::npos) return true;
  return false;
}

}  // namespace

void create_heading_font(ViewContext& v, int size, int escapement) {
  if (!v.settings.full_notation) return;
  if (is_mincho(v.settings.face_name))
    v.typeset.font_heading =
        platform::font_create(v.typeset.vertical ? FACE_GOTHIC_VERTICAL : FACE_GOTHIC, size, escapement);
  else
    v.typeset.font_heading = platform::font_create_bold(v.settings.face_name.c_str(), size, escapement);
}

bool has_heading_run(const ViewContext& v, const DisplayLine& line) {
  const LineNotation n = line_notation(v.doc, line);
  return v.typeset.font_heading && n.heading_from < n.heading_to &&
         n.heading_to <= line_length(v.doc, line);
}

void blank_heading_run(const ViewContext& v, const DisplayLine& line, std::u16string& work) {
  const LineNotation n = line_notation(v.doc, line);
  for (std::size_t i = n.heading_from; i < n.heading_to && i < work.size(); ++i) work[i] = u' ';
}

void draw_heading_run(ViewContext& v, platform::Canvas& c, platform::CanvasPoint origin,
                      const DisplayLine& line, const int* advances) {
  const LineNotation n = line_notation(v.doc, line);
  int offset = 0;
  for (int i = 0; i < n.heading_from; ++i) offset += advances[i];
  platform::Font* old = platform::canvas_select_font(c, v.typeset.font_heading);
  int align = platform::canvas_set_align(c, platform::ALIGN_UPDATE_CP);
  if (v.typeset.vertical)
    platform::canvas_move_to(c, origin.x, origin.y + offset);
  else
    platform::canvas_move_to(c, origin.x + offset, origin.y);
  int mode = platform::canvas_set_back_mode(c, platform::BK_TRANSPARENT);
  platform::canvas_text(c, 0, 0, line_text(v.doc, line) + n.heading_from,
                        n.heading_to - n.heading_from, advances + n.heading_from);
  platform::canvas_set_back_mode(c, mode);
  platform::canvas_set_align(c, align);
  platform::canvas_select_font(c, old);
}

}  // namespace yomite
