// The seven fonts of a view and the metrics the layout is built on.
#include <algorithm>
#include <cstdlib>

#include "layout/book.h"
#include "layout/fonts.h"
#include "layout/heading_face.h"
#include "platform/window.h"
#include "trace/trace.h"

namespace yomite {

namespace {

// What a context without any font measures in, like a screen's system font.
constexpr platform::FontMetrics DEFAULT_METRICS = {16, 13, 3, 8, 16, 1};

// Selecting null leaves the current font in place, as a device context does.
void select_font(MeasureContext& dc, platform::Font* font) {
  if (font) dc.font = font;
}

platform::FontMetrics context_metrics(const MeasureContext& dc) {
  platform::FontMetrics m;
  if (!platform::font_metrics(dc.font, &m)) m = DEFAULT_METRICS;
  return m;
}

platform::Font* make_font(const std::string& face, int height, int escapement) {
  return platform::font_create(face.c_str(), height, escapement);
}

// "rotated" fonts run down the column in vertical writing.
int rotated(const ViewContext& v) {
  return v.vertical ? platform::ESCAPEMENT_DOWN : platform::ESCAPEMENT_NONE;
}

void make_main_fonts(ViewContext& v, int s) {
  v.font_main = make_font(v.face_name, s, rotated(v));
  if (v.vertical) v.font_main_upright = make_font(v.face_name, s, platform::ESCAPEMENT_NONE);
  v.font_emphasis = make_font(v.vertical ? FACE_MINCHO_VERTICAL : FACE_MINCHO, s, rotated(v));
  create_heading_font(v, s, rotated(v));
}

int ruby_font_height(int s, int percent) {
  int h = s * percent / 100;
  return h < RUBY_HEIGHT_MIN ? RUBY_HEIGHT_MIN : h;
}

// Small page numbers get a character height instead of a cell height.
int page_number_font_height(int s) {
  int h = s * 2 / 3;
  return h >= PAGE_NUMBER_HEIGHT_MIN ? h : -PAGE_NUMBER_HEIGHT_MIN;
}

void make_ruby_fonts(ViewContext& v, int s) {
  if (v.ruby_percent < RUBY_PERCENT_MIN) v.ruby_percent = RUBY_PERCENT_MIN;
  if (v.ruby_percent > RUBY_PERCENT_MAX) v.ruby_percent = RUBY_PERCENT_MAX;
  int h = ruby_font_height(s, v.book_layout ? book_ruby_percent(v.ruby_percent) : v.ruby_percent);
  v.font_ruby = make_font(v.face_name, h, rotated(v));
  if (!v.vertical) return;
  v.font_ruby_upright = make_font(v.face_name, h, platform::ESCAPEMENT_NONE);
  v.font_page_number =
      make_font(FACE_GOTHIC, page_number_font_height(s), platform::ESCAPEMENT_NONE);
}

void read_main_metrics(MeasureContext& dc, ViewContext& v, int s) {
  select_font(dc, v.font_main);
  platform::FontMetrics m = context_metrics(dc);
  v.fixed_pitch = m.fixed_pitch ? 1 : 0;
  v.font_pair_upright = nullptr;
  // Upright digit pairs use the same face without its "@".
  if (v.vertical && v.fixed_pitch)
    v.font_pair_upright = make_font(v.face_name.substr(1), s, platform::ESCAPEMENT_NONE);
  v.half_is_half = m.max_char_width == 2 * m.ave_char_width ? 1 : 0;
  trace("(%d %d %d)", m.ave_char_width, m.max_char_width, v.fixed_pitch);
  v.half_width = m.ave_char_width;
  v.char_height = m.height;
}

void read_other_metrics(MeasureContext& dc, ViewContext& v) {
  select_font(dc, v.font_ruby);
  v.ruby_height = context_metrics(dc).height;
  select_font(dc, v.font_page_number);  // horizontal writing: still the ruby font
  v.page_number_height = context_metrics(dc).height;
  v.column_pitch =
      v.ruby_height + v.char_height + (v.book_layout ? book_slot_gap(v.char_height) : 2);
  select_font(dc, v.font_main);
}

// Columns across the window's width (rows down its height in horizontal
// writing); without a window, or in one narrower than a column, 20.
void fill_page_lines(ViewContext& v) {
  if (v.page_lines != 0) return;
  int w = 0, h = 0;
  if (v.hwnd) platform::window_client_size(v.hwnd, &w, &h);
  v.page_lines = (v.vertical ? w : h) / v.column_pitch;
  if (v.page_lines <= 0) v.page_lines = PAGE_LINES_FALLBACK;
}

}  // namespace

void create_view_fonts(ViewContext& view) {
  const int s = std::abs(view.font_size);
  view.book_layout =
      view.book_composition ? 1 : 0;  // fonts and lines follow it until the next open
  view.vertical = !view.face_name.empty() && view.face_name[0] == '@' ? 1 : 0;
  trace("(%s fontheight=%d)", view.face_name.c_str(), s);
  make_main_fonts(view, s);
  make_ruby_fonts(view, s);
  MeasureContext dc;  // one context for the whole pass
  read_main_metrics(dc, view, s);
  read_other_metrics(dc, view);
  fill_page_lines(view);
}

int book_ruby_percent(int ruby_percent) {
  return ruby_percent == RUBY_PERCENT_DEFAULT ? BOOK_RUBY_PERCENT : ruby_percent;
}

int book_slot_gap(int char_height) {
  return std::max(BOOK_SLOT_GAP_MIN, char_height / 4);
}

MeasureContext view_measure_context(const ViewContext& view) {
  MeasureContext dc;
  select_font(dc, view.font_main);
  return dc;
}

}  // namespace yomite
