// The bundled samples loaded as the viewer loads them and painted with the
// IPA fonts, page by page: checked by where the ink falls.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>
#include <string>

#include "document/load.h"
#include "layout/book.h"
#include "layout/break.h"
#include "layout/paint.h"
#include "platform/cairo/cairo_canvas.h"
#include "platform/cairo/render_page.h"

namespace yomite {

namespace {

constexpr platform::CanvasColor WHITE = 0xFFFFFF;

void open_sample(ViewContext& v, const char* name, const char* face = "@ＭＳ ゴシック") {
  v.doc.file_name = std::string(YOMITE_SOURCE_DIR) + "/samples/" + name;
  v.settings.face_name = face;
  v.settings.font_size = 18;
  v.settings.ruby_percent = 60;
  v.settings.column_chars = 40;
  v.settings.page_lines = 20;
  load_document(v, nullptr);
  create_view_fonts(v);
  load_full_document(v);
}

struct SampleCase {
  const char* file;
  int page;
};

TEST(CairoSample, PagesKeepTheirInkInTheStripsAndNumberTheirFirstColumn) {
  const SampleCase cases[] = {
      {"yomite-no-hon.txt", 1}, {"yomite-no-hon.txt", 2}, {"sen-wo-hiku.txt", 1}};
  for (const SampleCase& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " page " + std::to_string(c.page));
    ViewContext v;
    open_sample(v, c.file);
    ASSERT_GT(v.doc.line_count, v.settings.page_lines);
    int w = 0, h = 0;
    page_client_size(v, &w, &h);
    platform::Canvas* canvas = platform::cairo_canvas_create_image(w, h);
    v.viewport.top_line = (c.page - 1) * v.settings.page_lines;
    PaintRect all{0, 0, w, h};
    paint_view(v, *canvas, all, all);
    if (const char* dir = std::getenv("YOMITE_TEST_PNG_DIR"))
      cairo_surface_write_to_png(
          platform::cairo_canvas_surface(*canvas),
          (std::string(dir) + "/" + c.file + "-" + std::to_string(c.page) + ".png").c_str());
    const int pitch = v.typeset.column_pitch, text_edge = v.typeset.ruby_height + v.typeset.char_height;
    int stray = 0, inked = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        if (platform::canvas_get_pixel(*canvas, x, y) == WHITE) continue;
        ++inked;
        int in_slot = (w - 1 - x) % pitch;  // from the slot's right edge
        if (y < TEXT_MARGIN || in_slot >= text_edge) ++stray;
      }
    EXPECT_EQ(stray, 0);
    EXPECT_GT(inked, 1000);
    // The page number sits at the foot of the first column's text strip.
    const int left = w - text_edge, foot = h - v.typeset.page_number_height;
    int number_ink = 0;
    for (int y = foot; y < h; ++y)
      for (int x = left; x < left + v.typeset.char_height; ++x)
        number_ink += platform::canvas_get_pixel(*canvas, x, y) != WHITE;
    EXPECT_GT(number_ink, 0);
    platform::canvas_destroy(canvas);
    release_document(v);
  }
}

// The lowest inked row of the text strip (or row) of slot `k`, from `from` on
// along the text, or -1.
int lowest_ink(platform::Canvas& c, const ViewContext& v, int w, int k, int from, int to) {
  const int pitch = v.typeset.column_pitch, edge = k * pitch + v.typeset.ruby_height;
  for (int along = to - 1; along >= from; --along)
    for (int across = edge; across < edge + v.typeset.char_height; ++across) {
      int x = v.typeset.vertical ? w - 1 - across : along, y = v.typeset.vertical ? along : across;
      if (platform::canvas_get_pixel(c, x, y) != WHITE) return along;
    }
  return -1;
}

bool ink_fills_its_cell(char16_t c) {  // kanji (but 一, a stroke across) and the larger kana
  return (c > 0x4E00 && c <= 0x9FFF) || (c >= 0x3041 && c <= 0x3096 && !book_no_start(c)) ||
         (c >= 0x30A1 && c <= 0x30F6 && !book_no_start(c));
}

TEST(CairoSample, InBookCompositionFullColumnsEndOnTheGrid) {
  for (const char* face : {"@ＭＳ ゴシック", "ＭＳ ゴシック"}) {
    SCOPED_TRACE(face);
    ViewContext v;
    v.settings.book_composition = 1;
    open_sample(v, "yomite-no-hon.txt", face);
    int w = 0, h = 0;
    page_client_size(v, &w, &h);
    platform::Canvas* canvas = platform::cairo_canvas_create_image(w, h);
    PaintRect all{0, 0, w, h};
    paint_view(v, *canvas, all, all);
    if (const char* dir = std::getenv("YOMITE_TEST_PNG_DIR"))
      cairo_surface_write_to_png(
          platform::cairo_canvas_surface(*canvas),
          (std::string(dir) + "/book-grid-" + std::to_string(v.typeset.vertical) + ".png").c_str());
    const int full = 2 * v.typeset.half_width;
    int checked = 0;
    for (int k = 0; k < v.settings.page_lines && k < v.doc.line_count; ++k) {
      const DisplayLine& line = v.doc.lines[k];
      std::u16string text(line_text(v.doc, line));
      if ((line.flags & DL_PARAGRAPH_END) || text.empty()) continue;
      SCOPED_TRACE("column " + std::to_string(k));
      const int indent = v.typeset.vertical && (line.flags & DL_QUOTE) ? 2 * v.typeset.char_height : 0;
      const int grid = TEXT_MARGIN + indent + column_length(v, line.flags & DL_QUOTE);
      const int ink = lowest_ink(*canvas, v, w, k, TEXT_MARGIN, grid + full + 2);
      const char16_t last = text.back();
      if (book_hangs(last)) {
        EXPECT_GE(ink, grid) << "a hanging mark lies past the grid";
        EXPECT_LT(ink, grid + full);
      } else {
        EXPECT_LT(ink, grid) << "ink past the grid";
        if (ink_fills_its_cell(last)) {
          EXPECT_GE(ink, grid - 4) << "a column short of the grid";
        }
      }
      ++checked;
    }
    EXPECT_GE(checked, 10);
    platform::canvas_destroy(canvas);
    release_document(v);
  }
}

}  // namespace
}  // namespace yomite
