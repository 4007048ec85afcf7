// Pages painted with the IPA fonts on Cairo image surfaces, checked by where
// the ink falls rather than pixel by pixel, so a font update does not break
// them. Geometry: cell 18, ruby band 10, slots of 30 from the right edge.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "layout/heading_face.h"
#include "layout/paint.h"
#include "platform/cairo/cairo_canvas.h"
#include "platform/cairo/render_page.h"
#include "tests/layout/view_fixture.h"
#include "tests/temp_dir.h"
#include "view/attr_codes.h"

namespace yomite {

void platform::window_client_size(Window* window, int* width, int* height) {
  *width = window ? window->client_width : 0;
  *height = window ? window->client_height : 0;
}

namespace {

using testing::TestView;

constexpr int W = 600;  // 20 slots
constexpr int H = 432;
constexpr platform::CanvasColor WHITE = 0xFFFFFF;

struct Box {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;  // inclusive ink bounds
  bool empty() const { return right < 0; }
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

struct Page {
  platform::Canvas* canvas = platform::cairo_canvas_create_image(W, H);
  ~Page() { platform::canvas_destroy(canvas); }
  bool ink(int x, int y) { return platform::canvas_get_pixel(*canvas, x, y) != WHITE; }
  Box ink_in(int x, int y, int w, int h) {
    Box b;
    for (int v = y; v < y + h; ++v)
      for (int u = x; u < x + w; ++u)
        if (ink(u, v)) {
          b.left = std::min(b.left, u), b.right = std::max(b.right, u);
          b.top = std::min(b.top, v), b.bottom = std::max(b.bottom, v);
        }
    return b;
  }
};

// Slot k: ruby band [600 - 30k - 10, 600 - 30k), text strip 18 px left of it.
int strip_left(int k) {
  return W - 30 * k - 28;
}
int cell_top(int j) {
  return 10 + 18 * j;
}

class CairoPage : public ::testing::Test {
 protected:
  TestView t{true, W, H};
  Page page;
  void SetUp() override {
    std::uint16_t r = t.reading(u"わがはい");
    t.add(u"吾輩は猫である。", DL_PARAGRAPH_END, {r, CONTINUATION_CODE, 0, 0, 0, 0, 0, 0});
    t.add(u"ー");
    t.add(u"。");
    t.add(u"第12話");
    t.add(u"l");
    std::uint16_t link = t.note(0, u"\001https://example.org/");
    t.add(u"傍点と傍線とリンク", DL_PARAGRAPH_END, {16, 16, 0, 17, 17, 0, 18, 18, 0});
    t.add(u"リンクです", DL_PARAGRAPH_END, {link, link, link, 0, 0});
    t.add(u"Hello, world!（括弧）「かぎ」…―", DL_PARAGRAPH_END);
    PaintRect all{0, 0, W, H};
    paint_view(t.view, *page.canvas, all, all);
    // For a person to look at: YOMITE_TEST_PNG_DIR=/tmp ctest ...
    if (const char* dir = std::getenv("YOMITE_TEST_PNG_DIR"))
      cairo_surface_write_to_png(platform::cairo_canvas_surface(*page.canvas),
                                 (std::string(dir) + "/cairo_page.png").c_str());
  }
};

TEST_F(CairoPage, NoInkOutsideTextStripsAndRubyBands) {
  const int slots = t.view.doc.line_count;
  int stray = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      int k = (W - 1 - x) / 30, in_slot = (W - 1 - x) % 30;  // in_slot 28, 29: the gap
      bool allowed = y >= 10 && k < slots && in_slot < 28;
      if (!allowed && page.ink(x, y)) ++stray;
    }
  EXPECT_EQ(stray, 0);
  EXPECT_FALSE(page.ink_in(W - 10, 10, 10, 72).empty());     // the ruby beside 吾輩
  EXPECT_TRUE(page.ink_in(W - 40, 10, 10, H - 10).empty());  // no ruby on the second column
}

TEST_F(CairoPage, PageNumberAtTheFootOfTheFirstColumnOnly) {
  const int number_height = t.view.typeset.page_number_height;
  Box first = page.ink_in(strip_left(0), H - number_height, 18, number_height);
  EXPECT_FALSE(first.empty());
  EXPECT_LT(first.width(), 12);  // one digit, upright
  EXPECT_TRUE(page.ink_in(strip_left(1), H - number_height, 18, number_height).empty());
}

TEST_F(CairoPage, LongVowelMarkStandsAlongTheColumn) {
  Box b = page.ink_in(strip_left(1), cell_top(0), 18, 18);
  ASSERT_FALSE(b.empty());
  EXPECT_GT(b.height(), b.width());
}

TEST_F(CairoPage, FullStopSitsInTheUpperRightOfItsCell) {
  const int left = strip_left(2), top = cell_top(0);
  Box b = page.ink_in(left, top, 18, 18);
  ASSERT_FALSE(b.empty());
  EXPECT_GE(b.left, left + 9);
  EXPECT_LT(b.bottom, top + 9);
}

TEST_F(CairoPage, DigitPairStandsSideBySideInOneCell) {
  const int left = strip_left(3), top = cell_top(1);
  EXPECT_FALSE(page.ink_in(left, top, 9, 18).empty());
  EXPECT_FALSE(page.ink_in(left + 9, top, 9, 18).empty());
  Box b = page.ink_in(left, top, 18, 18);
  EXPECT_GT(b.width(), b.height());  // two upright digits next to each other
}

TEST_F(CairoPage, LatinIsTurnedClockwise) {
  Box b = page.ink_in(strip_left(4), cell_top(0), 18, 9);
  ASSERT_FALSE(b.empty());
  EXPECT_GT(b.width(), b.height());  // a tall "l" lies across the column
  // Turned clockwise, its top faces the ruby side and its foot rests on the
  // baseline, 16 px (the ascent) left of the strip's right edge.
  EXPECT_LT(b.left, strip_left(4) + 4);
  EXPECT_GT(b.right, strip_left(4) + 12);
}

TEST(CairoHorizontal, RowsWithRubyAboveAndNothingInTheGaps) {
  TestView t(false, W, H);
  std::uint16_t r = t.reading(u"わがはい");
  t.add(u"吾輩は猫である。Hello!", DL_PARAGRAPH_END, {r, CONTINUATION_CODE, 0, 0, 0, 0, 0, 0});
  t.add(u"名前はまだ無い。");
  Page page;
  PaintRect all{0, 0, W, H};
  paint_view(t.view, *page.canvas, all, all);
  if (const char* dir = std::getenv("YOMITE_TEST_PNG_DIR"))
    cairo_surface_write_to_png(platform::cairo_canvas_surface(*page.canvas),
                               (std::string(dir) + "/cairo_rows.png").c_str());
  EXPECT_FALSE(page.ink_in(10, 0, 36, 10).empty());     // ruby over 吾輩
  EXPECT_TRUE(page.ink_in(50, 0, W - 50, 10).empty());  // 40 px of reading, none after
  Box row = page.ink_in(0, 10, W, 18);
  EXPECT_GE(row.left, 10);
  EXPECT_TRUE(page.ink_in(0, 28, W, 12).empty());  // the gap and the next ruby band
  EXPECT_FALSE(page.ink_in(10, 40, W, 18).empty());
  EXPECT_TRUE(page.ink_in(0, 58, W, H - 58).empty());
  // Horizontal text is not turned: "!" is taller than wide.
  Box bang = page.ink_in(10 + 8 * 18 + 5 * 9, 10, 9, 18);
  ASSERT_FALSE(bang.empty());
  EXPECT_GT(bang.height(), bang.width());
}

int ink_count(Page& page, int x, int y, int w, int h) {
  int n = 0;
  for (int v = y; v < y + h; ++v)
    for (int u = x; u < x + w; ++u) n += page.ink(u, v) ? 1 : 0;
  return n;
}

// The full notation: an indented column starts below its indent, a
// foot-aligned one ends at the foot, a heading is drawn bolder in its cells.
TEST(CairoNotation, IndentFootAndHeading) {
  TestView t(true, W, H);
  t.view.settings.full_notation = 1;
  create_heading_font(t.view, 18, platform::ESCAPEMENT_DOWN);
  ASSERT_NE(t.view.typeset.font_heading, nullptr);
  int indented = t.add(u"一二三");
  t.view.doc.lines[indented].indent = 3 * 18;
  t.view.doc.lines[indented].shortened = 3 * 18;
  t.add(u"一二三");
  int heading = t.add(u"一二三");
  t.view.doc.lines[heading].heading_from = 0;
  t.view.doc.lines[heading].heading_to = 3;
  int foot = t.add(u"終");
  t.view.doc.lines[foot].indent = static_cast<std::uint16_t>(20 * 18 - 18);
  Page page;
  PaintRect all{0, 0, W, H};
  paint_view(t.view, *page.canvas, all, all);
  if (const char* dir = std::getenv("YOMITE_TEST_PNG_DIR"))
    cairo_surface_write_to_png(platform::cairo_canvas_surface(*page.canvas),
                               (std::string(dir) + "/cairo_notation.png").c_str());
  EXPECT_TRUE(page.ink_in(strip_left(0), 0, 18, cell_top(3)).empty());  // the indent
  Box text = page.ink_in(strip_left(0), cell_top(3), 18, 3 * 18);
  ASSERT_FALSE(text.empty());
  Box plain = page.ink_in(strip_left(1), 0, 18, H);
  EXPECT_EQ(text.top - cell_top(3), plain.top - cell_top(0));  // the same glyphs, moved
  EXPECT_EQ(text.bottom - cell_top(3), plain.bottom - cell_top(0));
  EXPECT_GT(ink_count(page, strip_left(2), 0, 18, H), ink_count(page, strip_left(1), 0, 18, H));
  EXPECT_TRUE(page.ink_in(strip_left(3), 0, 18, cell_top(19)).empty());  // at the foot
  EXPECT_FALSE(page.ink_in(strip_left(3), cell_top(19), 18, 18).empty());
}

TEST(CairoRender, PngAndPdfFiles) {
  TestView t(true, W, H);
  for (int i = 0; i < 25; ++i) t.add(u"吾輩は猫である。");
  int w = 0, h = 0;
  page_client_size(t.view, &w, &h);
  EXPECT_EQ(w, 20 * 30);
  EXPECT_EQ(h, 9 * 48);
  EXPECT_EQ(page_count(t.view), 2);
  std::string png = test::process_temp_dir().file("page.png");
  EXPECT_EQ(render_page_png(t.view, 2, png.c_str()), 1);
  EXPECT_EQ(render_page_png(t.view, 3, png.c_str()), 0);
  cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
  EXPECT_EQ(cairo_image_surface_get_width(s), w);
  EXPECT_EQ(cairo_image_surface_get_height(s), h);
  cairo_surface_destroy(s);
  EXPECT_EQ(t.view.viewport.top_line, 0);

  std::string pdf = test::process_temp_dir().file("pages.pdf");
  EXPECT_EQ(render_pages_pdf(t.view, pdf.c_str()), 1);
  std::ifstream in(pdf, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes.compare(0, 5, "%PDF-"), 0);
  EXPECT_NE(bytes.find("/Count 2"), std::string::npos);
  EXPECT_NE(bytes.find("/FontFile"), std::string::npos);  // text stays text, not pictures
  std::remove(png.c_str());
  std::remove(pdf.c_str());
}

// A window on a HiDPI screen draws at twice the pixels: its strips do too,
// and pixels read are the logical ones.
TEST(CairoScaled, CompatibleCanvasKeepsTheDeviceScale) {
  cairo_surface_t* backing = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 2 * 40, 2 * 30);
  cairo_surface_set_device_scale(backing, 2, 2);
  platform::Canvas* win = platform::cairo_canvas_create_for(backing, 40, 30);
  cairo_surface_destroy(backing);
  platform::Canvas* strip = platform::canvas_create_compatible(*win, 10, 20);
  ASSERT_NE(strip, nullptr);
  cairo_surface_t* s = platform::cairo_canvas_surface(*strip);
  double sx = 0, sy = 0;
  cairo_surface_get_device_scale(s, &sx, &sy);
  EXPECT_EQ(sx, 2);
  EXPECT_EQ(sy, 2);
  EXPECT_EQ(cairo_image_surface_get_width(s), 20);
  EXPECT_EQ(cairo_image_surface_get_height(s), 40);

  platform::canvas_set_brush(*strip, 0x0000FF);
  strip->ops->fill(*strip, 3, 4, 1, 1);  // one logical pixel: a 2 x 2 block
  EXPECT_EQ(platform::canvas_get_pixel(*strip, 3, 4), 0x0000FFu);
  EXPECT_EQ(platform::canvas_get_pixel(*strip, 4, 4), 0u);
  std::vector<std::uint32_t> px(10 * 20);
  platform::canvas_read_pixels(*strip, px.data());
  EXPECT_EQ(px[4 * 10 + 3] & 0xFFFFFF, 0xFF0000u);  // read as 0x00RRGGBB

  platform::canvas_destroy(strip);
  platform::canvas_destroy(win);
}

}  // namespace
}  // namespace yomite
