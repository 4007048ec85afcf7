// Painting one full page with the real fonts to an off-screen Cairo image:
// the window the viewer takes for 40 half-width units and 20 columns, every
// column a full justified one of 20 kanji, ruby on every other column.
//   BM_PaintPageWarm  the same page again and again (glyphs and widths cached)
//   BM_PaintPageCold  a page of kanji never drawn before, each repetition
//   BM_PlainPangoPage the baseline: the same columns through a PangoLayout
//                     each, as a program without its own text drawing would
// scripts/bench reports warm / plain and the cold page against one 16 ms frame.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <string>
#include <vector>

#include "layout/paint.h"
#include "platform/cairo/cairo_canvas.h"
#include "platform/cairo/cairo_font.h"
#include "platform/cairo/render_page.h"
#include "platform/codepage.h"
#include "platform/window.h"

namespace yomite {

void platform::window_client_size(Window*, int* width, int* height) {
  *width = *height = 0;
}

namespace {

constexpr int COLUMNS = 20;
constexpr int CELLS = 20;  // full-width characters per column: 40 half-width units
constexpr int PAGES = 14;  // page 0 is the warm one; the rest are drawn cold once each

// The kanji of Shift_JIS (JIS X 0208 levels 1 and 2), which the IPA fonts all have.
std::u16string jis_kanji() {
  std::u16string out;
  for (int lead = 0x88; lead <= 0xEA; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      unsigned char bytes[2] = {static_cast<unsigned char>(lead),
                                static_cast<unsigned char>(trail)};
      char16_t u[4];
      if (platform::multibyte_to_utf16(932, bytes, 2, u, 4) == 1 && u[0] >= 0x4E00 &&
          u[0] <= 0x9FFF)
        out.push_back(u[0]);
    }
  }
  return out;
}

struct BenchView {
  ViewContext view;
  int width = 0, height = 0;
  std::u16string kanji = jis_kanji();

  BenchView() {
    view.settings.face_name = "@ＭＳ ゴシック";
    view.settings.font_size = 18;
    view.settings.ruby_percent = 60;
    view.settings.page_lines = COLUMNS;
    view.settings.column_chars = 2 * CELLS;
    create_view_fonts(view);
    begin_display_lines(view);
    for (int i = 0; i < PAGES * COLUMNS; ++i) add_column(i);
    page_client_size(view, &width, &height);
  }
  ~BenchView() { release_document(view); }

  std::u16string column_text(int i) const {
    return kanji.substr(static_cast<std::size_t>(i * CELLS) % (kanji.size() - CELLS), CELLS);
  }

  void add_column(int i) {
    std::u16string text = column_text(i);
    std::vector<std::uint16_t> codes(text.size(), 0);
    if (i % 2 == 0) {
      for (int at : {2, 9, 15}) {
        static const char16_t* readings[] = {u"かんじ", u"よみがな", u"ふりがな"};
        const char16_t* r = readings[at % 3];
        int n = static_cast<int>(std::char_traits<char16_t>::length(r));
        view.doc.annotation_texts[static_cast<std::size_t>(ruby_count)] =
            arena_copy_text(view.doc.arena, r, n);
        codes[static_cast<std::size_t>(at)] = static_cast<std::uint16_t>(65 + ruby_count++);
        codes[static_cast<std::size_t>(at + 1)] = 64;
      }
    }
    DisplayLine* dl = display_line_slot(view, i);
    dl->flags = (i % 4 == 3) ? DL_PARAGRAPH_END : 0;
    set_line_text(view.doc.arena, *dl, text.data(), text.size(), codes.data(), codes.size());
    view.doc.line_count = i + 1;
  }

  int ruby_count = 0;
};

BenchView& bench_view() {
  static BenchView* v = new BenchView();  // kept for the whole run
  return *v;
}

void paint_page(BenchView& b, platform::Canvas& canvas, int page) {
  b.view.viewport.top_line = page * COLUMNS;
  PaintRect all{0, 0, b.width, b.height};
  paint_view(b.view, canvas, all, all);
}

void BM_PaintPageWarm(benchmark::State& state) {
  BenchView& b = bench_view();
  platform::Canvas* canvas = platform::cairo_canvas_create_image(b.width, b.height);
  paint_page(b, *canvas, 0);
  for (auto _ : state) paint_page(b, *canvas, 0);
  platform::canvas_destroy(canvas);
}

// Each repetition draws a page whose kanji no earlier page had.
void BM_PaintPageCold(benchmark::State& state) {
  static int next_page = 1;
  BenchView& b = bench_view();
  platform::Canvas* canvas = platform::cairo_canvas_create_image(b.width, b.height);
  for (auto _ : state) paint_page(b, *canvas, next_page < PAGES ? next_page++ : PAGES - 1);
  platform::canvas_destroy(canvas);
}

void BM_PlainPangoPage(benchmark::State& state) {
  BenchView& b = bench_view();
  // Drawn with the same font options as our pages, so only the drawing differs.
  PangoContext* ctx = pango_font_map_create_context(pango_cairo_font_map_get_default());
  pango_cairo_context_set_font_options(ctx, platform::cairo_text_options());
  pango_context_set_base_gravity(ctx, PANGO_GRAVITY_EAST);
  PangoFontDescription* font = pango_font_description_from_string("IPAGothic");
  pango_font_description_set_absolute_size(font, 18 * PANGO_SCALE);
  std::vector<std::string> columns;
  for (int i = 0; i < COLUMNS; ++i) {
    std::u16string t = b.column_text(i);
    gchar* utf8 = g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(t.data()),
                                  static_cast<glong>(t.size()), nullptr, nullptr, nullptr);
    columns.emplace_back(utf8);
    g_free(utf8);
  }
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, b.width, b.height);
  cairo_t* cr = cairo_create(s);
  for (auto _ : state) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (int i = 0; i < COLUMNS; ++i) {
      PangoLayout* layout = pango_layout_new(ctx);
      pango_layout_set_font_description(layout, font);
      pango_layout_set_text(layout, columns[static_cast<std::size_t>(i)].c_str(), -1);
      cairo_save(cr);
      cairo_translate(cr, b.width - 30 * i - 10, 10);
      cairo_rotate(cr, M_PI / 2);
      pango_cairo_show_layout(cr, layout);
      cairo_restore(cr);
      g_object_unref(layout);
    }
    cairo_surface_flush(s);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(s);
  pango_font_description_free(font);
  g_object_unref(ctx);
}

BENCHMARK(BM_PlainPangoPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintPageWarm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintPageCold)->Iterations(1)->Repetitions(PAGES - 1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace yomite

BENCHMARK_MAIN();
