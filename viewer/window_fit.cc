// The page that follows the window: its geometry from the client size, and
// places in the text that survive a new layout.
#include <algorithm>
#include <string>

#include "platform/window.h"
#include "view/limits.h"
#include "viewer/open.h"
#include "viewer/window_fit.h"

namespace yomite {

namespace {

// A fitted column holds at least one full-width character.
constexpr int FIT_COLUMN_CHARS_MIN = 2;

}  // namespace

int page_follows_window(const ViewContext& v) {
  return v.viewport.fitting || v.viewport.full_screen;
}

int fit_geometry_to_window(ViewContext& v) {
  int width = 0, height = 0;
  platform::window_client_size(v.viewport.window, &width, &height);
  if (width <= 0 || height <= 0) return 0;
  const int along = v.typeset.vertical ? height : width;
  const int across = v.typeset.vertical ? width : height;
  const int chars = clamp_column_chars(std::max(
      along / std::max(v.typeset.half_width, 1) - COLUMN_MARGIN_HALF_WIDTHS, FIT_COLUMN_CHARS_MIN));
  const int pages = clamp_page_lines(std::max(across / std::max(v.typeset.column_pitch, 1), 1));
  if (!v.viewport.unfit_column_chars) {
    v.viewport.unfit_column_chars = v.settings.column_chars;
    v.viewport.unfit_page_lines = v.settings.page_lines;
  }
  if (chars == v.settings.column_chars && pages == v.settings.page_lines) return 0;
  v.settings.column_chars = chars;
  v.settings.page_lines = pages;
  return 1;
}

int PlaceFinder::scan(const ViewContext& v) {
  for (; found < 0 && scanned < v.doc.line_count; ++scanned) {
    const DisplayLine& line = v.doc.lines[scanned];
    const int units = line_length(v.doc, line);
    const bool ends = (line.flags & DL_PARAGRAPH_END) != 0;
    if (at.paragraph > want.paragraph ||
        (at.paragraph == want.paragraph && (want.offset < at.offset + units || ends))) {
      found = scanned;
      break;
    }
    at.offset += units;
    if (ends) at = TextPlace{at.paragraph + 1, 0};
  }
  return found;
}

TextPlace place_of_line(const ViewContext& v, int line) {
  TextPlace at;
  for (int i = 0; i < line && i < v.doc.line_count; ++i) {
    at.offset += line_length(v.doc, v.doc.lines[i]);
    if (v.doc.lines[i].flags & DL_PARAGRAPH_END) at = TextPlace{at.paragraph + 1, 0};
  }
  return at;
}

int line_of_place(const ViewContext& v, const TextPlace& place) {
  PlaceFinder finder(place);
  return finder.scan(v);
}

}  // namespace yomite
