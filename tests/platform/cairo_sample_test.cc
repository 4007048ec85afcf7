// The bundled samples loaded as the viewer loads them and painted with the
// IPA fonts, page by page: checked by where the ink falls.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>
#include <string>

#include "document/load.h"
#include "layout/break.h"
#include "layout/paint.h"
#include "platform/cairo/cairo_canvas.h"
#include "platform/cairo/render_page.h"

namespace yomite {

namespace {

constexpr platform::CanvasColor WHITE = 0xFFFFFF;

void open_sample(ViewContext& v, const char* name) {
  v.file_name = std::string(YOMITE_SOURCE_DIR) + "/samples/" + name;
  v.face_name = "@ＭＳ ゴシック";
  v.font_size = 18;
  v.ruby_percent = 60;
  v.column_chars = 40;
  v.page_lines = 20;
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
    ASSERT_GT(v.line_count, v.page_lines);
    int w = 0, h = 0;
    page_client_size(v, &w, &h);
    platform::Canvas* canvas = platform::cairo_canvas_create_image(w, h);
    v.top_line = (c.page - 1) * v.page_lines;
    PaintRect all{0, 0, w, h};
    paint_view(v, *canvas, all, all);
    if (const char* dir = std::getenv("YOMITE_TEST_PNG_DIR"))
      cairo_surface_write_to_png(
          platform::cairo_canvas_surface(*canvas),
          (std::string(dir) + "/" + c.file + "-" + std::to_string(c.page) + ".png").c_str());
    const int pitch = v.column_pitch, text_edge = v.ruby_height + v.char_height;
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
    const int left = w - text_edge, foot = h - v.page_number_height;
    int number_ink = 0;
    for (int y = foot; y < h; ++y)
      for (int x = left; x < left + v.char_height; ++x)
        number_ink += platform::canvas_get_pixel(*canvas, x, y) != WHITE;
    EXPECT_GT(number_ink, 0);
    platform::canvas_destroy(canvas);
    release_document(v);
  }
}

}  // namespace
}  // namespace yomite
