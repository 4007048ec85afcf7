// Painting on the recording canvas with the fake metrics: cell 18, half
// width 9, ruby band 10, slots of 30; the text starts 10 px along.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include "layout/paint.h"
#include "platform/fake/fake_canvas.h"
#include "tests/layout/view_fixture.h"
#include "view/attr_codes.h"

namespace yomite {

namespace {

using testing::TestView;

struct CanvasDeleter {
  void operator()(platform::Canvas* c) const { platform::canvas_destroy(c); }
};
using CanvasPtr = std::unique_ptr<platform::Canvas, CanvasDeleter>;

struct Painted {
  fake::Recording rec;
  CanvasPtr win;
};

// Paints the whole client area (or `update`) of a fresh recording canvas.
void paint(TestView& t, Painted& out, PaintRect update = {0, 0, -1, -1}) {
  int w = t.window.client_width, h = t.window.client_height;
  if (!out.win) out.win.reset(fake::new_recording_canvas(out.rec, "win", w, h));
  if (update.right < 0) update = {0, 0, w, h};
  paint_view(t.view, *out.win, {0, 0, w, h}, update);
}

bool has(const fake::Recording& rec, const std::string& line) {
  return std::find(rec.lines.begin(), rec.lines.end(), line) != rec.lines.end();
}

// The line logged right after `after` that begins with `prefix`, or "".
std::string next_after(const fake::Recording& rec, const std::string& after,
                       const std::string& prefix, int skip = 0) {
  for (std::size_t i = 0; i < rec.lines.size(); ++i) {
    if (rec.lines[i] != after || skip-- > 0) continue;
    for (std::size_t k = i + 1; k < rec.lines.size(); ++k)
      if (rec.lines[k].compare(0, prefix.size(), prefix) == 0) return rec.lines[k];
  }
  return "";
}

std::vector<std::uint32_t> pixels(platform::Canvas& c) {
  std::vector<std::uint32_t> px(static_cast<std::size_t>(c.width * c.height));
  platform::canvas_read_pixels(c, px.data());
  return px;
}

TEST(PaintView, PageNumbersAtTheFootOfEachPagesFirstColumn) {
  TestView t(true, 42 * 30, 450);  // display lines 0 .. 41 visible
  for (int i = 0; i < 60; ++i) t.add(u"あ");
  Painted p;
  paint(t, p);
  std::vector<std::string> numbers;
  const std::string font = "win font \"ＭＳ ゴシック\" 12 0";
  for (int k = 0; !next_after(p.rec, font, "win text", k).empty(); ++k)
    numbers.push_back(next_after(p.rec, font, "win move", k) + " | " +
                      next_after(p.rec, font, "win text", k));
  // Slot k's text strip begins 30 k + 28 px left of the right edge.
  EXPECT_EQ(numbers, (std::vector<std::string>{
                         "win move 1232,438 | win text 1232,438 \"1\" adv=- end=1238,438",
                         "win move 632,438 | win text 632,438 \"2\" adv=- end=638,438",
                         "win move 32,438 | win text 32,438 \"3\" adv=- end=38,438",
                     }));
}

TEST(PaintView, MarkIsAnEightPixelInvertedBlockThatRepaintsTheSame) {
  for (bool vertical : {true, false}) {
    SCOPED_TRACE(vertical ? "vertical" : "horizontal");
    TestView t(vertical);
    t.add(u"あいう");
    t.add(u"かきく", DL_PARAGRAPH_END | DL_MARK);
    Painted p;
    paint(t, p);
    // Second slot: text strip x 542..559 (vertical), text row y 40..57 (horizontal).
    EXPECT_TRUE(has(p.rec, vertical ? "win invert 542 0 18 8" : "win invert 0 40 8 18"));
    EXPECT_EQ(fake::lines_with(p.rec, "win invert").size(), 1u);
    std::vector<std::uint32_t> once = pixels(*p.win);
    const int w = p.win->width;
    auto at = [&](int x, int y) { return once[static_cast<std::size_t>(y * w + x)]; };
    EXPECT_EQ(vertical ? at(542, 0) : at(0, 40), 0x000000u);  // the background, inverted
    EXPECT_EQ(vertical ? at(542, 8) : at(8, 40), 0xFFFFFFu);
    paint(t, p);
    paint(t, p);
    EXPECT_EQ(pixels(*p.win), once);
  }
}

TEST(PaintView, QuotationIndentMovesTextSideLinesMarksAndRuby) {
  TestView t(true);
  std::uint16_t r = t.reading(u"かんじ");
  t.add(u"漢字あい", DL_PARAGRAPH_END | DL_QUOTE, {r, CONTINUATION_CODE, 18, 16});
  Painted p;
  paint(t, p);
  // Two cells (36 px) of background above the text, then everything 36 px down.
  EXPECT_TRUE(has(p.rec, "win fill 572 10 18 36"));
  EXPECT_TRUE(has(p.rec, "win blit 572 46 18 81 from off1 0,0"));  // 4 cells and a space
  EXPECT_TRUE(has(p.rec, "win fill 572 127 18 450"));
  EXPECT_TRUE(has(p.rec, "win line 591,82 591,100"));  // side line on あ
  EXPECT_EQ(next_after(p.rec, "win font \"@ＭＳ 明朝\" 18 2700", "win move"), "win move 596,106");
  EXPECT_TRUE(has(p.rec, "win text 600,46 \"かんじ\" adv=12,12,12 end=600,82"));
}

TEST(PaintView, TopLinePastTheEndIsSetBack) {
  TestView t(true);
  t.add(u"一");
  t.add(u"二");
  t.add(u"三");
  t.view.viewport.top_line = 3;
  Painted p;
  paint(t, p);
  EXPECT_EQ(t.view.viewport.top_line, 2);
  EXPECT_EQ(next_after(p.rec, "win create off1 18 450", "off1 text "),
            "off1 text 18,0 \"三 \" adv=- end=18,27");
  EXPECT_TRUE(has(p.rec, "win fill 540 0 30 450"));  // the next slot is past the end
}

TEST(PaintView, NoDocumentFillsEverySlot) {
  TestView t(true, 90, 100);
  Painted p;
  paint(t, p);
  EXPECT_EQ(t.view.viewport.top_line, 0);
  EXPECT_EQ(fake::lines_with(p.rec, "win fill"),
            (std::vector<std::string>{"win fill 0 0 90 10", "win fill 60 0 30 100",
                                      "win fill 30 0 30 100", "win fill 0 0 30 100"}));
}

TEST(PaintView, RubySpreadOverItsBaseAndOverhangingAfterPlainText) {
  TestView t(true);
  std::uint16_t two = t.reading(u"るび");      // 2 x 10 px
  std::uint16_t three = t.reading(u"みやま");  // 30 px
  std::uint16_t other = t.reading(u"かん");
  t.add(u"漢字山", DL_PARAGRAPH_END, {two, CONTINUATION_CODE, CONTINUATION_CODE});
  t.add(u"あ山", DL_PARAGRAPH_END, {CODE_PLAIN, three});
  t.add(u"山", DL_PARAGRAPH_END, {three});
  t.add(u"漢山", DL_PARAGRAPH_END, {other, three});
  Painted p;
  paint(t, p);
  // 34 spare px: 17 to each character; the reading starts (54 - 37) * 2 / 5 = 6 px in.
  EXPECT_TRUE(has(p.rec, "win text 600,16 \"るび\" adv=27,27 end=600,70"));
  // 12 px too long: after plain text it starts 6 px before its base (at 18) ...
  EXPECT_TRUE(has(p.rec, "win text 570,22 \"みやま\" adv=10,10,10 end=570,52"));
  // ... at the line start, or after another base, at the base.
  EXPECT_TRUE(has(p.rec, "win text 540,10 \"みやま\" adv=10,10,10 end=540,40"));
  EXPECT_TRUE(has(p.rec, "win text 510,28 \"みやま\" adv=10,10,10 end=510,58"));
}

TEST(PaintView, EmptyRubyReadingDrawsNothing) {
  TestView t(true);
  std::uint16_t empty = t.reading(u"");
  t.add(u"漢字", DL_PARAGRAPH_END, {empty, CONTINUATION_CODE});
  Painted p;
  paint(t, p);
  EXPECT_FALSE(has(p.rec, "win font \"@ＭＳ ゴシック\" 10 2700"));  // the ruby font
}

TEST(PaintView, LinkAnchorGetsOneSideLineInTheLinkColour) {
  TestView t(true);
  std::uint16_t link = t.note(0, u"\001https://example.org/");
  t.add(u"あいうえおか", DL_PARAGRAPH_END, {0, link, link, link, link, 0});
  Painted p;
  paint(t, p);
  EXPECT_EQ(fake::lines_with(p.rec, "win line"),
            std::vector<std::string>{"win line 591,28 591,100"});
  EXPECT_EQ(next_after(p.rec, "win pen 1 00ff00", "win line"), "win line 591,28 591,100");
  EXPECT_EQ(p.win->state.pen, 0x000000u);
}

struct MarkCase {
  bool vertical;
  std::uint16_t code;
  const char* mark;
  const char* move;
};

TEST(PaintView, EmphasisMarkPositions) {
  // Character 1 of the second slot: s = 18. Vertical: slot right edge 570.
  // Horizontal: text row top 40.
  const MarkCase cases[] = {
      {true, 16, "、", "win move 566,34"},  // 570 - 10 + 18 / 3, 18 + 10 + 9 * 2 / 3
      {true, 17, "・", "win move 574,28"},  // 570 - 10 + 18 * 4 / 5, 18 + 10
      {false, 16, "、", "win move 34,18"},  // 18 + 10 + 6, 40 - 10 - 12
      {false, 17, "・", "win move 28,26"},  // 18 + 10, 40 - 10 - 4
  };
  for (const MarkCase& c : cases) {
    SCOPED_TRACE(c.mark + std::string(c.vertical ? " vertical" : " horizontal"));
    TestView t(c.vertical);
    t.add(u"あ");
    t.add(u"かき", DL_PARAGRAPH_END, {0, c.code});
    Painted p;
    paint(t, p);
    std::string font =
        c.vertical ? "win font \"@ＭＳ 明朝\" 18 2700" : "win font \"ＭＳ 明朝\" 18 0";
    EXPECT_EQ(next_after(p.rec, font, "win move"), c.move);
    std::string text = next_after(p.rec, font, "win text");
    EXPECT_NE(text.find(std::string("\"") + c.mark + "\""), std::string::npos) << text;
    EXPECT_EQ(next_after(p.rec, font, "win back_mode"), "win back_mode transparent");
  }
}

struct UpdateCase {
  bool vertical;
  PaintRect update;
  std::vector<std::string> drawn;  // text of the lines drawn
};

TEST(PaintView, OnlySlotsMeetingTheUpdateAreDrawn) {
  const UpdateCase cases[] = {
      {true, {510, 0, 540, 450}, {"off1 text 18,0 \"三 \""}},  // slot 2 only
      {true, {511, 0, 541, 450}, {"off1 text 18,0 \"二 \"", "off1 text 18,0 \"三 \""}},
      {true, {0, 0, 31, 5}, {"off1 text 18,0 \"十九 \"", "off1 text 18,0 \"二十 \""}},
      {false, {0, 60, 600, 90}, {"win text 10,70 \"三\""}},
      {false,
       {0, 59, 600, 91},
       {"win text 10,40 \"二\"", "win text 10,70 \"三\"", "win text 10,100 \"四\""}},
  };
  const char16_t* names[] = {u"一",   u"二",   u"三",   u"四",   u"五",   u"六",   u"七",
                             u"八",   u"九",   u"十",   u"十一", u"十二", u"十三", u"十四",
                             u"十五", u"十六", u"十七", u"十八", u"十九", u"二十"};
  for (const UpdateCase& c : cases) {
    SCOPED_TRACE(c.update.left);
    TestView t(c.vertical);
    for (const char16_t* n : names) t.add(n);
    Painted p;
    paint(t, p, c.update);
    std::vector<std::string> drawn;
    for (const std::string& l : p.rec.lines)
      if (l.find(" text ") != std::string::npos) drawn.push_back(l.substr(0, l.find(" adv=")));
    EXPECT_EQ(drawn, c.drawn);
  }
}

TEST(PaintView, OnePixelRequestDrawsTheTextUnderThePointOnly) {
  TestView t(true);
  t.add(u"漢字かな", 0);
  t.add(u"つづき");
  Painted p;
  // On 字, the second character of the first column; the canvas has no font
  // selected, so the text advances 16 px a character to the right.
  paint(t, p, {589, 33, 590, 34});
  EXPECT_EQ(fake::lines_with(p.rec, "win text"),
            std::vector<std::string>{"win text 587,31 \"字かなつづき\" adv=- end=683,31"});
  EXPECT_TRUE(fake::lines_with(p.rec, "win fill").empty());
  EXPECT_EQ(p.win->state.back_mode, platform::BK_OPAQUE);

  Painted miss;
  paint(t, miss, {5, 5, 6, 6});
  EXPECT_TRUE(miss.rec.lines.empty());
}

TEST(PaintView, LoneDoubleByteCharacterGetsAnIdeographicSpace) {
  TestView t(true);
  t.add(u"あい");
  Painted p;
  paint(t, p, {589, 30, 590, 31});  // on い, the last character
  EXPECT_EQ(fake::lines_with(p.rec, "win text"),
            std::vector<std::string>{"win text 587,28 \"い　\" adv=- end=619,28"});
}

TEST(PaintView, UprightPairsAreDrawnSideBySideInOneCell) {
  TestView t(true);
  t.add(u"第12話");
  Painted p;
  paint(t, p);
  // The turned run has spaces where the pair stands; the pair font draws it
  // upright at its offset down the strip.
  EXPECT_EQ(next_after(p.rec, "win create off1 18 450", "off1 text "),
            "off1 text 18,0 \"第  話 \" adv=- end=18,63");
  EXPECT_EQ(next_after(p.rec, "off1 font \"ＭＳ ゴシック\" 18 0", "off1 text "),
            "off1 text 0,18 \"12\" adv=- end=18,18");
}

TEST(PaintView, JustifiedColumnUsesTheStretchedAdvances) {
  TestView t(true);
  // 14 cells of 18 in a 378 px column: 126 px spread over the first 13.
  t.add(u"ああああああああああああああ", 0);
  Painted p;
  paint(t, p);
  EXPECT_EQ(next_after(p.rec, "win create off1 18 450", "off1 text "),
            "off1 text 18,0 \"ああああああああああああああ \" "
            "adv=28,28,28,28,28,28,28,28,28,27,27,27,27,18,18 end=18,396");
}

TEST(PaintView, DrawingStateIsPutBack) {
  TestView t(true);
  t.add(u"あ", DL_PARAGRAPH_END | DL_MARK);
  Painted p;
  p.win.reset(fake::new_recording_canvas(p.rec, "win", 600, 450));
  const platform::CanvasState before = p.win->state;
  paint(t, p);
  EXPECT_EQ(p.win->state.font, before.font);
  EXPECT_EQ(p.win->state.brush, before.brush);
  EXPECT_EQ(p.win->state.align, before.align);
  EXPECT_EQ(p.win->state.back_mode, before.back_mode);
  EXPECT_TRUE(has(p.rec, "off1 destroy"));
}

}  // namespace
}  // namespace yomite

namespace yomite {
namespace {

// Every call of a small page, against a reviewed trace. After an intended
// change: YOMITE_UPDATE_GOLDEN=1 build/tests/layout/layout_paint_test, then
// read the diff.
void check_golden(const fake::Recording& rec, const std::string& name) {
  const std::string path = std::string(YOMITE_SOURCE_DIR) + "/tests/layout/golden/" + name;
  std::string got;
  for (const std::string& l : rec.lines) got += l + "\n";
  if (std::getenv("YOMITE_UPDATE_GOLDEN")) {
    std::ofstream(path, std::ios::binary) << got;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  std::string want((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(got, want) << "golden " << path;
}

void small_page(testing::TestView& t) {
  std::uint16_t r = t.reading(u"るび");
  std::uint16_t link = t.note(1, u"\001https://example.org/");
  t.add(u"漢字に第12話", 0, {r, CONTINUATION_CODE, 0, 0, 0, 0, 0});
  t.add(u"傍点", DL_PARAGRAPH_END | DL_MARK, {16, 17});
  t.add(u"引用のリンク", DL_PARAGRAPH_END | DL_QUOTE, {0, 0, 0, link, link, link});
}

TEST(PaintGolden, SmallVerticalPage) {
  testing::TestView t(true, 120, 200);
  small_page(t);
  fake::Recording rec;
  platform::Canvas* win = fake::new_recording_canvas(rec, "win", 120, 200);
  paint_view(t.view, *win, {0, 0, 120, 200}, {0, 0, 120, 200});
  platform::canvas_destroy(win);
  check_golden(rec, "paint_vertical.trace");
}

TEST(PaintGolden, SmallHorizontalPage) {
  testing::TestView t(false, 200, 120);
  small_page(t);
  fake::Recording rec;
  platform::Canvas* win = fake::new_recording_canvas(rec, "win", 200, 120);
  paint_view(t.view, *win, {0, 0, 200, 120}, {0, 0, 200, 120});
  platform::canvas_destroy(win);
  check_golden(rec, "paint_horizontal.trace");
}

}  // namespace
}  // namespace yomite

namespace yomite {
namespace {

TEST(PaintView, VectorPageDrawsColumnsWithoutStrips) {
  testing::TestView t(true);
  t.add(u"第12話", DL_PARAGRAPH_END | DL_QUOTE);
  fake::Recording rec;
  platform::Canvas* win = fake::new_recording_canvas(rec, "win", 600, 450);
  win->direct_text = 1;
  paint_view(t.view, *win, {0, 0, 600, 450}, {0, 0, 600, 450});
  platform::canvas_destroy(win);
  EXPECT_TRUE(fake::lines_with(rec, "win create").empty());
  EXPECT_TRUE(fake::lines_with(rec, "win blit").empty());
  // Where the strip would have been copied: below the 36 px indent, the
  // pair in its cell 18 px further down.
  EXPECT_TRUE(has(rec, "win text 590,46 \"第  話 \" adv=- end=590,109"));
  EXPECT_TRUE(has(rec, "win text 572,64 \"12\" adv=- end=590,64"));
  EXPECT_TRUE(has(rec, "win fill 572 109 18 450"));
}

}  // namespace
}  // namespace yomite
