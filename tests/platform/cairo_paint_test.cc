// Pages painted with the IPA fonts on Cairo image surfaces, checked by where
// the ink falls rather than pixel by pixel, so a font update does not break
// them. Geometry: cell 18, ruby band 10, slots of 30 from the right edge.
#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "layout/heading_face.h"
#include "layout/paint.h"
#include "layout/small_text.h"
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
  // Paints the whole page of `view`; with YOMITE_TEST_PNG_DIR set (for a
  // person to look at: YOMITE_TEST_PNG_DIR=/tmp ctest ...) keeps it as `png`.
  void paint(ViewContext& view, const char* png) {
    PaintRect all{0, 0, W, H};
    paint_view(view, *canvas, all, all);
    if (const char* dir = std::getenv("YOMITE_TEST_PNG_DIR"))
      cairo_surface_write_to_png(platform::cairo_canvas_surface(*canvas),
                                 (std::string(dir) + "/" + png).c_str());
  }
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
    page.paint(t.view, "cairo_page.png");
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
  page.paint(t.view, "cairo_rows.png");
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
  Document& d = t.view.doc;
  ASSERT_EQ(set_line_notation(d, d.lines[indented], {3 * 18, 3 * 18, 0, 0}), 1);
  t.add(u"一二三");
  int heading = t.add(u"一二三");
  ASSERT_EQ(set_line_notation(d, d.lines[heading], {0, 0, 0, 3}), 1);
  int foot = t.add(u"終");
  ASSERT_EQ(set_line_notation(d, d.lines[foot], {20 * 18 - 18, 0, 0, 0}), 1);
  Page page;
  page.paint(t.view, "cairo_notation.png");
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

// Ink of the x column `x` over rows [top, bottom): how many pixels, and how
// many separate strokes.
struct Stroke {
  int pixels = 0, pieces = 0, shortest = 1 << 20, longest = 0;
};
Stroke stroke_at(Page& page, int x, int top, int bottom) {
  Stroke s;
  for (int y = top, run = 0; y <= bottom; ++y) {
    const bool ink = y < bottom && page.ink(x, y);
    if (ink) {
      ++run;
      ++s.pixels;
      continue;
    }
    if (run > 0) {
      ++s.pieces;
      s.shortest = std::min(s.shortest, run);
      s.longest = std::max(s.longest, run);
    }
    run = 0;
  }
  return s;
}

// The full notation's side lines, each as it is named, beside the text
// (the ruby side) or on its other side; a run of four blank cells each.
TEST(CairoNotation, EverySideLineStyleDrawnAsNamed) {
  TestView t(true, W, H);
  t.view.settings.full_notation = 1;
  const std::u16string blank = u"　　　　";
  for (int code = CODE_NAMED_LINE_FIRST; code <= CODE_NAMED_LINE_LAST; ++code)
    t.add(blank, DL_PARAGRAPH_END, std::vector<std::uint16_t>(4, static_cast<std::uint16_t>(code)));
  t.add(blank, DL_PARAGRAPH_END, std::vector<std::uint16_t>(4, 18));  // the plain side line
  Page page;
  page.paint(t.view, "cairo_side_lines.png");
  const int top = cell_top(0), bottom = cell_top(4), length = bottom - top;
  // Where the plain side line lies: the single named one lies there too.
  const int plain = NAMED_LINE_KINDS * 2;
  int plain_x = -1;
  for (int x = strip_left(plain); x < W - 30 * plain; ++x)
    if (stroke_at(page, x, top, bottom).pixels > 0) plain_x = x;
  ASSERT_GE(plain_x, 0);
  const int beside = plain_x - (W - 30 * plain);  // px from the slot's right edge
  for (int k = 0; k < plain; ++k) {
    SCOPED_TRACE("code " + std::to_string(CODE_NAMED_LINE_FIRST + k));
    const bool other_side = k >= NAMED_LINE_KINDS;
    const int kind = k % NAMED_LINE_KINDS;
    // Three px across: beside the text from the plain line on, or the
    // text's outer edge.
    const int band = other_side ? strip_left(k) : W - 30 * k + beside;
    const int away = other_side ? W - 30 * k + beside : strip_left(k);
    Stroke s[3];
    for (int d = 0; d < 3; ++d) s[d] = stroke_at(page, band + d, top, bottom);
    EXPECT_TRUE(page.ink_in(away, top, 3, length).empty()) << "ink on the other side";
    EXPECT_TRUE(page.ink_in(strip_left(k) + 3, top, 12, length).empty()) << "ink on the text";
    switch (kind) {
      case 0:  // one line, whole
        EXPECT_GE(s[0].pixels, length - 1);
        EXPECT_EQ(s[1].pixels + s[2].pixels, 0);
        break;
      case 1:  // two lines, whole, a px apart
        EXPECT_GE(s[0].pixels, length - 1);
        EXPECT_EQ(s[1].pixels, 0);
        EXPECT_GE(s[2].pixels, length - 1);
        break;
      case 2:  // long strokes and dots
        EXPECT_GE(s[0].pieces, 4);
        EXPECT_GE(s[0].longest, 2 * s[0].shortest);
        EXPECT_EQ(s[1].pixels + s[2].pixels, 0);
        break;
      case 3:  // even dashes
        EXPECT_GE(s[0].pieces, 6);
        EXPECT_LE(s[0].longest, s[0].shortest + 1 + (length % 7));
        EXPECT_LT(s[0].pixels, length * 3 / 4);
        EXPECT_EQ(s[1].pixels + s[2].pixels, 0);
        break;
      default:  // a wave: its crests on the outer two, whole on neither
        for (const Stroke& d : {s[0], s[2]}) {
          EXPECT_GE(d.pieces, 6);
          EXPECT_LT(d.pixels, length - 1);
        }
        break;
    }
  }
}

// In horizontal writing the same lines lie under the text, their other-side
// forms over it.
TEST(CairoNotation, SideLinesUnderAndOverRows) {
  TestView t(false, W, H);
  t.view.settings.full_notation = 1;
  for (int code = CODE_NAMED_LINE_FIRST; code <= CODE_NAMED_LINE_LAST; ++code)
    t.add(u"　　　　", DL_PARAGRAPH_END,
          std::vector<std::uint16_t>(4, static_cast<std::uint16_t>(code)));
  Page page;
  page.paint(t.view, "cairo_side_lines_rows.png");
  for (int k = 0; k < 2 * NAMED_LINE_KINDS; ++k) {
    SCOPED_TRACE("code " + std::to_string(CODE_NAMED_LINE_FIRST + k));
    const int text_top = 30 * k + 10, text_bottom = text_top + 18;
    const bool over = k >= NAMED_LINE_KINDS;
    const Box ink = page.ink_in(0, 30 * k, W, 30);
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 10 + 4 * 18);
    if (over) {
      EXPECT_GE(ink.top, text_top);
      EXPECT_LE(ink.bottom, text_top + 2);
    } else {
      EXPECT_GE(ink.top, text_bottom - 3);
      EXPECT_LE(ink.bottom, text_bottom - 1);
    }
  }
}

// Smaller and larger text of the full notation: drawn in its own size,
// centred across the strip, each character in its own advance.
TEST(CairoNotation, SmallerAndLargerText) {
  TestView t(true, W, H);
  t.view.settings.full_notation = 1;
  create_sized_fonts(t.view, 18, platform::ESCAPEMENT_DOWN);
  ASSERT_NE(t.view.typeset.font_smaller, nullptr);
  ASSERT_NE(t.view.typeset.font_larger, nullptr);
  const std::u16string text = u"国国国";
  t.add(text);
  t.add(text, DL_PARAGRAPH_END, std::vector<std::uint16_t>(3, CODE_SMALLER));
  t.add(text, DL_PARAGRAPH_END, std::vector<std::uint16_t>(3, CODE_LARGER));
  Page page;
  page.paint(t.view, "cairo_sizes.png");
  Box box[3];
  for (int k = 0; k < 3; ++k) box[k] = page.ink_in(strip_left(k) - 2, 0, 22, cell_top(5));
  for (const Box& b : box) ASSERT_FALSE(b.empty());
  EXPECT_LT(box[1].width(), box[0].width());
  EXPECT_LT(box[1].height(), box[0].height());
  EXPECT_GT(box[2].width(), box[0].width());
  EXPECT_GT(box[2].height(), box[0].height());
  // Centred across the strip: the same middle, within a px.
  const int middle = box[0].left + box[0].right - 2 * strip_left(0);
  EXPECT_NEAR(box[1].left + box[1].right - 2 * strip_left(1), middle, 2);
  EXPECT_NEAR(box[2].left + box[2].right - 2 * strip_left(2), middle, 2);
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
