// The fonts of a view and the metrics the layout is built on.
#include <algorithm>
#include <cstdlib>

#include "layout/book.h"
#include "layout/composition.h"
#include "layout/fonts.h"
#include "layout/heading_face.h"
#include "layout/small_text.h"
#include "platform/window.h"
#include "trace/trace.h"

namespace yomite {

namespace {

// What a context without any font measures in, like a screen's system font.
constexpr platform::FontMetrics DEFAULT_METRICS = {16, 13, 3, 8, 16, 1};

// Selecting null leaves the current font in place, as a device context does.
void select_font(MeasureContext& measure, platform::Font* font) {
  if (font) measure.font = font;
}

platform::FontMetrics context_metrics(const MeasureContext& measure) {
  platform::FontMetrics m;
  if (!platform::font_metrics(measure.font, &m)) m = DEFAULT_METRICS;
  return m;
}

platform::Font* make_font(const std::string& face, int height, int escapement) {
  return platform::font_create(face.c_str(), height, escapement);
}

// "rotated" fonts run down the column in vertical writing.
int rotated(const ViewContext& v) {
  return v.typeset.vertical ? platform::ESCAPEMENT_DOWN : platform::ESCAPEMENT_NONE;
}

void make_main_fonts(ViewContext& v, int s) {
  v.typeset.font_main = make_font(v.settings.face_name, s, rotated(v));
  // The emphasis face is a file of its own to open: it waits for a mark.
  v.typeset.emphasis_height = s;
  create_heading_font(v, s, rotated(v));
  create_sized_fonts(v, s, rotated(v));
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
  if (v.settings.ruby_percent < RUBY_PERCENT_MIN) v.settings.ruby_percent = RUBY_PERCENT_MIN;
  if (v.settings.ruby_percent > RUBY_PERCENT_MAX) v.settings.ruby_percent = RUBY_PERCENT_MAX;
  int h = ruby_font_height(s, v.typeset.composition->ruby_percent(v.settings.ruby_percent));
  v.typeset.font_ruby = make_font(v.settings.face_name, h, rotated(v));
  if (!v.typeset.vertical) return;
  v.typeset.font_page_number =
      make_font(FACE_GOTHIC, page_number_font_height(s), platform::ESCAPEMENT_NONE);
}

void read_main_metrics(MeasureContext& measure, ViewContext& v, int s) {
  select_font(measure, v.typeset.font_main);
  platform::FontMetrics m = context_metrics(measure);
  v.typeset.fixed_pitch = m.fixed_pitch ? 1 : 0;
  v.typeset.font_pair_upright = nullptr;
  // Upright digit pairs use the same face without its "@".
  if (v.typeset.vertical && v.typeset.fixed_pitch)
    v.typeset.font_pair_upright =
        make_font(v.settings.face_name.substr(1), s, platform::ESCAPEMENT_NONE);
  v.typeset.half_is_half = m.max_char_width == 2 * m.ave_char_width ? 1 : 0;
  trace("(%d %d %d)", m.ave_char_width, m.max_char_width, v.typeset.fixed_pitch);
  v.typeset.half_width = m.ave_char_width;
  v.typeset.char_height = m.height;
}

void read_other_metrics(MeasureContext& measure, ViewContext& v) {
  select_font(measure, v.typeset.font_ruby);
  v.typeset.ruby_height = context_metrics(measure).height;
  select_font(measure, v.typeset.font_page_number);  // horizontal writing: still the ruby font
  v.typeset.page_number_height = context_metrics(measure).height;
  v.typeset.slot_gap = v.typeset.composition->slot_gap(v.typeset.char_height);
  v.typeset.column_pitch = v.typeset.ruby_height + v.typeset.char_height + v.typeset.slot_gap;
  select_font(measure, v.typeset.font_main);
}

// Columns across the window's width (rows down its height in horizontal
// writing); without a window, or in one narrower than a column, 20.
void fill_page_lines(ViewContext& v) {
  if (v.settings.page_lines != 0) return;
  int w = 0, h = 0;
  if (v.viewport.window) platform::window_client_size(v.viewport.window, &w, &h);
  v.settings.page_lines = (v.typeset.vertical ? w : h) / v.typeset.column_pitch;
  if (v.settings.page_lines <= 0) v.settings.page_lines = PAGE_LINES_FALLBACK;
}

}  // namespace

void create_view_fonts(ViewContext& view) {
  const int s = std::abs(view.settings.font_size);
  // Fonts and lines follow the composition until the next open.
  view.typeset.composition =
      view.settings.book_composition ? &BOOK_COMPOSITION : &STANDARD_COMPOSITION;
  view.typeset.vertical =
      !view.settings.face_name.empty() && view.settings.face_name[0] == '@' ? 1 : 0;
  trace("(%s fontheight=%d)", view.settings.face_name.c_str(), s);
  make_main_fonts(view, s);
  make_ruby_fonts(view, s);
  MeasureContext measure;  // one context for the whole pass
  read_main_metrics(measure, view, s);
  read_other_metrics(measure, view);
  fill_page_lines(view);
}

platform::Font* emphasis_font(ViewContext& view) {
  Typesetting& t = view.typeset;
  if (!t.font_emphasis && t.emphasis_height > 0) {
    t.font_emphasis = make_font(t.vertical ? FACE_MINCHO_VERTICAL : FACE_MINCHO, t.emphasis_height,
                                rotated(view));
    t.emphasis_height = 0;  // a face that cannot be made is not asked for again
  }
  return t.font_emphasis;
}

int book_ruby_percent(int ruby_percent) {
  return ruby_percent == RUBY_PERCENT_DEFAULT ? BOOK_RUBY_PERCENT : ruby_percent;
}

int book_slot_gap(int char_height) {
  return std::max(BOOK_SLOT_GAP_MIN, char_height / 4);
}

MeasureContext view_measure_context(const ViewContext& view) {
  MeasureContext measure;
  select_font(measure, view.typeset.font_main);
  return measure;
}

}  // namespace yomite
