// The open step and the window geometry it sets.
#include "viewer/open.h"

#include <algorithm>
#include <climits>

#include "document/load.h"
#include "layout/fonts.h"
#include "settings/settings.h"
#include "trace/trace.h"
#include "viewer/place.h"
#include "viewer/scrolling.h"
#include "viewer/window_fit.h"

namespace yomite {

namespace {

// A screen's size when the platform does not tell it, px.
constexpr int FIRST_PICTURE_FALLBACK_PX = 4096;

void apply_requested_size(ViewContext& v, int requested) {
  if (requested == 0) return;
  v.settings.font_size = std::clamp(requested, OPTION_FONT_SIZE_MIN, OPTION_FONT_SIZE_MAX);
  trace("fontsize=%d %d ", v.settings.font_size, requested);
}

void set_window_geometry(ViewContext& v, int x, int y) {
  platform::SystemMeasures m;
  platform::system_measures(&m);
  WindowSize size = fit_to_screen(window_size_for(v, m), m);
  trace("size=%d %d  %d xy=%d %d ", size.width, size.height, v.settings.column_chars, x, y);
  const int move = x >= 0 && y >= 0;
  platform::window_set_bounds(v.viewport.window, move, x, y, size.width, size.height);
}

// Window sizes are worked out in 64 bits and kept to what a window can be,
// so that absurd column lengths or page counts cannot overflow.
int clamp_px(long long px) {
  return static_cast<int>(std::clamp(px, 0LL, 1LL * WINDOW_SIZE_MAX));
}

// Vertical writing: columns run right to left across the window's width.
WindowSize vertical_size(const ViewContext& v, const platform::SystemMeasures& m,
                         long long column) {
  const long long p = v.typeset.column_pitch;
  long long client_height = std::max(column + m.hscroll_height, p);
  long long client_width =
      v.settings.page_mode ? p * v.settings.page_lines : p * (client_height * 3 / 2 / p);
  client_width = std::max(client_width, p);
  return {clamp_px(client_width + 2 * m.frame_width + 2 * m.edge_width), clamp_px(client_height)};
}

// Horizontal writing: rows run down the window; the row length sets the width.
WindowSize horizontal_size(const ViewContext& v, const platform::SystemMeasures& m, long long row) {
  const long long p = v.typeset.column_pitch;
  long long width = std::max(row + m.vscroll_width, p);
  long long client_height = std::max(p * (width / p), p);
  return {clamp_px(width),
          clamp_px(std::min<long long>(client_height, m.full_screen_client_height))};
}

// Display lines the first picture needs: as many as a screen holds past
// top_line (or past the J jump's line), and the first line of the mark's
// page. -1 for the whole text (R counts paragraphs through all of it).
int lines_for_first_picture(const ViewContext& v, const OptionRequests& r) {
  if (r.row > 1) return -1;
  platform::SystemMeasures m{};
  platform::system_measures(&m);
  long long across = v.typeset.vertical ? m.screen_width : m.screen_height;
  if (across <= 0) across = FIRST_PICTURE_FALLBACK_PX;
  const long long columns = across / std::max(v.typeset.column_pitch, 1) + 2;
  long long need = v.viewport.top_line + columns;
  if (r.jump_line >= 1) need = std::max(need, r.jump_line + columns);
  if (v.viewport.mark_page > 0)
    need = std::max(need, 1LL * (v.viewport.mark_page - 1) * v.settings.page_lines + 1);
  return static_cast<int>(std::min(need, 1LL * INT_MAX));
}

// The full load: at once, or when the window can lay out in idle time, just
// what the first picture shows, the rest later (on_idle).
void lay_out_text(ViewContext& v, const OptionRequests& r) {
  LoadJob* job = begin_full_load(v);
  if (!job) return;
  if (continue_full_load(*job, lines_for_first_picture(v, r), -1) &&
      platform::window_call_when_idle(v.viewport.window))
    return;
  while (continue_full_load(*job, -1, -1)) {
  }
  end_full_load(job);
}

}  // namespace

void fill_layout_defaults(ViewContext& v) {
  StandardLayout standard = standard_layout(v);
  if (v.settings.column_chars == 0) v.settings.column_chars = standard.column_chars;
  if (v.settings.page_lines == 0) v.settings.page_lines = standard.page_lines;
  if (v.settings.face_name.empty()) v.settings.face_name = standard.face_name;
  if (v.settings.font_size == 0) v.settings.font_size = standard.font_size;
}

WindowSize window_size_for(const ViewContext& v, const platform::SystemMeasures& m) {
  const long long column =
      1LL * v.typeset.half_width * (1LL * v.settings.column_chars + COLUMN_MARGIN_HALF_WIDTHS);
  WindowSize size =
      v.typeset.vertical ? vertical_size(v, m, column) : horizontal_size(v, m, column);
  size.height =
      clamp_px(1LL * size.height + m.caption_height + 2 * m.frame_height + 2 * m.edge_height);
  return size;
}

WindowSize fit_to_screen(WindowSize size, const platform::SystemMeasures& m) {
  if (m.screen_width > 0) size.width = std::min(size.width, m.screen_width);
  if (m.screen_height > 0) size.height = std::min(size.height, m.screen_height);
  return size;
}

int exceeds_screen(WindowSize size, const platform::SystemMeasures& m) {
  WindowSize fitted = fit_to_screen(size, m);
  return fitted.width != size.width || fitted.height != size.height;
}

void jump_to_requested_line(ViewContext& v, const OptionRequests& r) {
  if (r.jump_line >= 1) {
    v.viewport.top_line = std::max(std::min(r.jump_line - 1, v.doc.line_count - 1), 0);
    return;
  }
  if (r.row <= 1) return;
  int counted = 0;
  for (int i = 0; i < v.doc.line_count && counted < r.row - 1; ++i) {
    if (!(v.doc.lines[i].flags & DL_PARAGRAPH_END)) continue;
    ++counted;
    if (i + 1 < v.doc.line_count) v.viewport.top_line = i + 1;
  }
}

void restore_mark(ViewContext& v) {
  if (v.viewport.mark_page <= 0 || v.settings.page_lines <= 0)
    return;  // no mark, or no pages to count
  long long first = static_cast<long long>(v.viewport.mark_page - 1) * v.settings.page_lines;
  if (first < v.doc.line_count) v.doc.lines[first].flags |= DL_MARK;
}

void open_document(ViewContext& v, int font_size, int x, int y,
                   const std::vector<ViewerOption>* options) {
  if (v.doc.loaded || v.doc.file_name.empty() || !v.viewport.window) return;
  platform::window_set_busy(v.viewport.window, 1);
  load_document(v, nullptr);  // the probe: directives fill what is still unset
  OptionRequests requests;
  requests.font_size = font_size;
  if (options) apply_viewer_options(v, *options, requests);
  trace("---3 ");
  apply_requested_size(v, requests.font_size);
  fill_layout_defaults(v);
  trace("---4 ");
  create_view_fonts(v);
  // A window the user sized, while the page follows it, keeps its size.
  const int follows = page_follows_window(v) && v.viewport.resized;
  if (follows) fit_geometry_to_window(v);
  lay_out_text(v, requests);
  if (!follows) set_window_geometry(v, x, y);
  jump_to_requested_line(v, requests);
  restore_top_place(v, requests);
  // A reload that gave fewer lines keeps the last one in view.
  if (v.viewport.top_line > std::max(v.doc.line_count - 1, 0))
    v.viewport.top_line = std::max(v.doc.line_count - 1, 0);
  update_scroll_bar(v);
  v.doc.loaded = 1;
  restore_mark(v);
  restore_mark_place(v);
  platform::window_request_repaint(v.viewport.window);
  platform::window_set_busy(v.viewport.window, 0);
}

}  // namespace yomite
