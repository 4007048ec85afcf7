// draw_column_text: one column's characters into the column strip.
#include <string>
#include <vector>

#include "layout/heading_face.h"
#include "layout/paint.h"
#include "layout/paint_steps.h"
#include "layout/small_text.h"

namespace yomite {

namespace {

using platform::Canvas;

// Each pair's two characters side by side across one cell, drawn upright
// at their offset down the column from `top` (the column's top right
// corner); `advances` place them.
void draw_pairs(ViewContext& v, Canvas& strip, platform::CanvasPoint top,
                const std::u16string& pairs, const std::vector<std::uint8_t>& pair_start,
                const int* advances) {
  platform::Font* old = platform::canvas_select_font(strip, v.typeset.font_pair_upright);
  int align = platform::canvas_set_align(strip, platform::ALIGN_POINT);
  const int length = static_cast<int>(pair_start.size());
  for (int i = 0, s = 0; i < length;) {
    if (pair_start[static_cast<std::size_t>(i)]) {
      platform::canvas_text(strip, top.x - v.typeset.char_height, top.y + s, pairs.data() + i, 2,
                            nullptr);
      s += advances[i] + advances[i + 1];
      i += 2;
    } else {
      s += advances[i];
      i += 1;
    }
  }
  platform::canvas_set_align(strip, align);
  platform::canvas_select_font(strip, old);
}

}  // namespace

platform::CanvasPoint draw_column_text(ViewContext& v, Canvas& strip, int index,
                                       const int* advances, const int* use) {
  const DisplayLine& line = v.doc.lines[index];
  const int length = line_length(v.doc, line);
  if (length >= MAX_ADVANCES) {
    platform::canvas_text(strip, 0, 0, line_text(v.doc, line), length, use);
    return platform::canvas_position(strip);
  }
  std::u16string work(line_text(v.doc, line), static_cast<std::size_t>(length));
  std::u16string pairs;
  std::vector<std::uint8_t> pair_start;
  bool any_pair = false;
  if (v.typeset.fixed_pitch == 1 && v.typeset.font_pair_upright) {
    pair_start.assign(static_cast<std::size_t>(length), 0);
    find_upright_pairs(line_text(v.doc, line), length, pair_start.data());
    pairs.assign(static_cast<std::size_t>(length), u' ');
    for (int i = 0; i < length; ++i) {
      if (!pair_start[static_cast<std::size_t>(i)]) continue;
      any_pair = true;
      for (int k = i; k < i + 2; ++k) {
        pairs[static_cast<std::size_t>(k)] = work[static_cast<std::size_t>(k)];
        work[static_cast<std::size_t>(k)] = u' ';
      }
    }
  }
  const bool heading = has_heading_run(v, line);
  const bool small = has_small_text(line_codes(v.doc, line), length);
  if (heading) blank_heading_run(v, line, work);
  if (small) blank_small_text(v, line, work);
  if (heading || small) use = advances;  // the blanks keep those characters' advances
  work.push_back(u' ');
  const platform::CanvasPoint top = platform::canvas_position(strip);
  platform::canvas_text(strip, 0, 0, work.data(), length + 1, use);
  platform::CanvasPoint end = platform::canvas_position(strip);
  if (any_pair) draw_pairs(v, strip, top, pairs, pair_start, advances);
  if (heading) draw_heading_run(v, strip, top, line, advances);
  if (small) draw_small_text(v, strip, top, line, advances);
  return end;
}

}  // namespace yomite
