// The scroll bar as top_line sets it, apart from the moves themselves: the
// open step needs it without the window's animation.
#include <algorithm>

#include "platform/window.h"
#include "viewer/place.h"
#include "viewer/scrolling.h"

namespace yomite {

int visible_lines(const ViewContext& v) {
  int w = 0, h = 0;
  platform::window_client_size(v.viewport.window, &w, &h);
  return v.typeset.column_pitch > 0 ? (v.typeset.vertical ? w : h) / v.typeset.column_pitch : 0;
}

int update_scroll_bar(ViewContext& v) {
  const int bar = v.typeset.vertical ? platform::SCROLL_BAR_HORZ : platform::SCROLL_BAR_VERT;
  const int other = v.typeset.vertical ? platform::SCROLL_BAR_VERT : platform::SCROLL_BAR_HORZ;
  platform::scroll_bar_set_range(v.viewport.window, other, 0, 0);
  platform::scroll_bar_set_range(v.viewport.window, bar, 0, SCROLL_RANGE);
  // An empty document with one line per page has nothing to divide by: the
  // thumb then fills the bar.
  const long long d = 1LL * v.doc.line_count + v.settings.page_lines - 1;
  long long page = d > 0 ? 1LL * v.settings.page_lines * SCROLL_RANGE / d : SCROLL_RANGE;
  long long pos = d > 0 ? 1LL * v.viewport.top_line * SCROLL_RANGE / d : 0;
  // The text starts at the right end of a horizontal bar.
  if (v.typeset.vertical) pos = page + pos > SCROLL_RANGE ? 0 : SCROLL_RANGE - page - pos;
  const int page_px = static_cast<int>(std::min<long long>(page, SCROLL_RANGE));
  platform::scroll_bar_set_thumb(v.viewport.window, bar, page_px, static_cast<int>(pos));
  v.viewport.thumb_pos = static_cast<int>(pos);
  show_progress(v);
  return v.viewport.thumb_pos;
}

}  // namespace yomite
