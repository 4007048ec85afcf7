// The matches of a search on the page (an extension): the current match
// inverted, every other one framed in the link colour. Only a view with
// matches gets here, so a page without them is painted as before.
#include <algorithm>

#include "layout/paint.h"
#include "layout/paint_steps.h"

namespace yomite {

namespace {

// A match spans at most this many display lines (its pattern's units).
constexpr int MATCH_LINES_MAX = FIND_TEXT_MAX_UNITS;

void frame(platform::Canvas& c, int x, int y, int w, int h) {
  platform::canvas_move_to(c, x, y);
  platform::canvas_line_to(c, x + w - 1, y);
  platform::canvas_line_to(c, x + w - 1, y + h - 1);
  platform::canvas_line_to(c, x, y + h - 1);
  platform::canvas_line_to(c, x, y);
}

}  // namespace

void draw_highlights(ViewContext& v, platform::Canvas& win, int index, const int* advances,
                     int across, int along) {
  const std::vector<TextRange>& matches = v.viewport.highlights;
  const int length = line_length(v.doc, v.doc.lines[index]);
  const int ch = v.typeset.char_height;
  auto after = std::upper_bound(matches.begin(), matches.end(), index,
                                [](int line, const TextRange& m) { return line < m.line; });
  const platform::CanvasPoint at = platform::canvas_position(win);
  const int pen_width = win.state.pen_width;
  const platform::CanvasColor pen = platform::canvas_set_pen(win, 1, v.settings.link_color);
  for (auto m = after; m != matches.begin();) {
    --m;
    if (m->line < index - MATCH_LINES_MAX) break;
    if (m->end_line < index || (m->end_line == index && m->end_index == 0)) continue;
    const int from = m->line == index ? m->index : 0;
    const int to = std::min(m->end_line == index ? m->end_index : length, length);
    if (from >= to) continue;
    int start = along, size = 0;
    for (int k = 0; k < from; ++k) start += advances[k];
    for (int k = from; k < to; ++k) size += advances[k];
    const bool current = m - matches.begin() == v.viewport.current_highlight;
    const int x = v.typeset.vertical ? across : start, y = v.typeset.vertical ? start : across;
    const int w = v.typeset.vertical ? ch : size, h = v.typeset.vertical ? size : ch;
    if (current)
      platform::canvas_invert(win, x, y, w, h);
    else
      frame(win, x, y, w, h);
  }
  platform::canvas_set_pen(win, pen_width, pen);
  platform::canvas_move_to(win, at.x, at.y);
}

}  // namespace yomite
