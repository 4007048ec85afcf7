// The five fonts, their heights and escapements, the metrics and page_lines,
// on the fake backend (full width S, half width S / 2, fixed pitch unless the
// face name has a "Ｐ").
#include <gtest/gtest.h>

#include <string>

#include "layout/fonts.h"
#include "platform/fake/fake_font.h"
#include "platform/fake/fake_trace.h"
#include "platform/fake/fake_window.h"
#include "trace/trace.h"

namespace yomite {

namespace {

class CreateViewFonts : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::reset_fonts();
    fake::set_trace_receiver(true);
    trace_init();
    fake::trace_messages().clear();
    view_.settings.page_lines = 20;
    view_.settings.ruby_percent = 60;
  }
  void TearDown() override {
    release_document(view_);
    EXPECT_EQ(fake::live_fonts(), 0);
    trace_shutdown();
  }

  // The request the font at `font` was made from.
  const fake::FontRequest* request_of(const platform::Font* font) {
    if (!font) return nullptr;
    for (const fake::FontRequest& r : fake::font_requests())
      if (r.face == font->face && (r.height == font->height || -r.height == font->height) &&
          r.escapement == font->escapement)
        return &r;
    return nullptr;
  }

  void make(const std::string& face, int size) {
    view_.settings.face_name = face;
    view_.settings.font_size = size;
    create_view_fonts(view_);
  }

  ViewContext view_;
};

struct RubyCase {
  int size;
  int percent;
  int ruby_height;     // the ruby fonts' cell height
  int stored_percent;  // ruby_percent afterwards
};

TEST_F(CreateViewFonts, RubyHeightAndPercentClamps) {
  const RubyCase cases[] = {
      {18, 60, 10, 60},  // 1080 / 100, truncated
      {10, 40, 8, 40},   // 4 is raised to 8
      {18, 30, 8, 40},   // 30 -> 40: 7.2 -> 7 -> 8
      {18, 95, 14, 80},  // 95 -> 80
      {18, 80, 14, 80}, {18, 81, 14, 80}, {18, 39, 8, 40},
  };
  for (const RubyCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size << " " << c.percent);
    view_.settings.ruby_percent = c.percent;
    make("@ＭＳ ゴシック", c.size);
    EXPECT_EQ(view_.settings.ruby_percent, c.stored_percent);
    ASSERT_NE(view_.typeset.font_ruby, nullptr);
    EXPECT_EQ(view_.typeset.font_ruby->height, c.ruby_height);
    EXPECT_EQ(view_.typeset.ruby_height, c.ruby_height);
    EXPECT_EQ(view_.typeset.column_pitch, c.ruby_height + c.size + 2);
    release_document(view_);
  }
}

TEST_F(CreateViewFonts, PageNumberHeightTurnsIntoCharacterHeightBelowTen) {
  const int cases[][2] = {{18, 12}, {15, 10}, {14, -10}, {12, -10}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    fake::reset_fonts();
    make("@ＭＳ ゴシック", c[0]);
    const fake::FontRequest* r = request_of(view_.typeset.font_page_number);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->face, "ＭＳ ゴシック");
    EXPECT_EQ(r->height, c[1]);
    EXPECT_EQ(r->escapement, 0);
    EXPECT_EQ(view_.typeset.page_number_height, c[1] < 0 ? -c[1] : c[1]);
    release_document(view_);
  }
}

TEST_F(CreateViewFonts, VerticalFaceMakesEveryFontWithItsEscapement) {
  make("@ＭＳ ゴシック", 18);
  EXPECT_EQ(view_.typeset.vertical, 1);
  EXPECT_EQ(view_.typeset.font_emphasis, nullptr) << "made only when a mark is drawn";
  EXPECT_EQ(fake::live_fonts(), 4);
  struct Expect {
    platform::Font* font;
    const char* face;
    int height;
    int escapement;
  };
  const Expect fonts[] = {
      {view_.typeset.font_main, "@ＭＳ ゴシック", 18, 2700},
      {emphasis_font(view_), "@ＭＳ 明朝", 18, 2700},
      {view_.typeset.font_ruby, "@ＭＳ ゴシック", 10, 2700},
      {view_.typeset.font_page_number, "ＭＳ ゴシック", 12, 0},
      {view_.typeset.font_pair_upright, "ＭＳ ゴシック", 18, 0},
  };
  for (const Expect& e : fonts) {
    SCOPED_TRACE(e.face);
    ASSERT_NE(e.font, nullptr);
    EXPECT_EQ(e.font->face, e.face);
    EXPECT_EQ(e.font->height, e.height);
    EXPECT_EQ(e.font->escapement, e.escapement);
  }
  EXPECT_EQ(fake::live_fonts(), 5);
  EXPECT_EQ(view_.typeset.char_height, 18);
  EXPECT_EQ(view_.typeset.half_width, 9);
  EXPECT_EQ(view_.typeset.fixed_pitch, 1);
  EXPECT_EQ(view_.typeset.half_is_half, 1);
  EXPECT_EQ(view_.typeset.column_pitch, 30);
}

// The emphasis font waits for the first mark, is made once, is asked for
// once even when its face cannot be made, and goes with the other fonts.
TEST_F(CreateViewFonts, EmphasisFontIsMadeOnceWhenFirstNeeded) {
  make("@ＭＳ ゴシック", 24);
  platform::Font* first = emphasis_font(view_);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->height, 24);
  EXPECT_EQ(emphasis_font(view_), first);
  EXPECT_EQ(fake::live_fonts(), 5);

  release_document(view_);
  EXPECT_EQ(emphasis_font(view_), nullptr) << "no font outlives the view's fonts";
  EXPECT_EQ(fake::live_fonts(), 0);

  fake::failing_faces() = {"@ＭＳ 明朝"};
  make("@ＭＳ ゴシック", 24);
  const std::size_t asked = fake::font_requests().size();
  EXPECT_EQ(emphasis_font(view_), nullptr);
  EXPECT_EQ(emphasis_font(view_), nullptr);
  EXPECT_EQ(fake::font_requests().size(), asked + 1);
}

TEST_F(CreateViewFonts, HorizontalFaceMakesNoUprightOrPageNumberFonts) {
  make("ＭＳ 明朝", 18);
  EXPECT_EQ(view_.typeset.vertical, 0);
  EXPECT_EQ(view_.typeset.font_pair_upright, nullptr);
  EXPECT_EQ(view_.typeset.font_page_number, nullptr);
  EXPECT_EQ(view_.typeset.font_main->escapement, 0);
  ASSERT_NE(emphasis_font(view_), nullptr);
  EXPECT_EQ(view_.typeset.font_emphasis->face, "ＭＳ 明朝");
  EXPECT_EQ(view_.typeset.font_emphasis->escapement, 0);
  EXPECT_EQ(view_.typeset.font_ruby->escapement, 0);
  EXPECT_EQ(fake::live_fonts(), 3);
  for (const fake::FontRequest& r : fake::font_requests()) EXPECT_NE(r.face, "ＭＳ ゴシック");
}

TEST_F(CreateViewFonts, ProportionalMainFontHasNoPairFont) {
  make("@ＭＳ Ｐゴシック", 18);
  EXPECT_EQ(view_.typeset.fixed_pitch, 0);
  EXPECT_EQ(view_.typeset.half_is_half, 0);  // average 8, maximum 18
  EXPECT_EQ(view_.typeset.half_width, 8);
  EXPECT_EQ(view_.typeset.font_pair_upright, nullptr);
}

TEST_F(CreateViewFonts, NegativeSizeCountsAsItsMagnitude) {
  make("@ＭＳ ゴシック", -18);
  EXPECT_EQ(view_.typeset.font_main->height, 18);
  EXPECT_EQ(view_.typeset.char_height, 18);
}

TEST_F(CreateViewFonts, TracesFaceSizeAndWidths) {
  make("@ＭＳ ゴシック", 18);
  std::string text = fake::trace_text();
  EXPECT_NE(text.find("(@ＭＳ ゴシック fontheight=18)"), std::string::npos) << text;
  EXPECT_NE(text.find("(9 18 1)"), std::string::npos) << text;
  EXPECT_LT(text.find("fontheight"), text.find("(9 18 1)"));
}

TEST_F(CreateViewFonts, MeasuringContextHoldsTheMainFont) {
  make("@ＭＳ ゴシック", 18);
  EXPECT_EQ(view_measure_context(view_).font, view_.typeset.font_main);
}

struct PageCase {
  const char* face;
  int size;
  int ruby_percent;
  int width, height;  // client size; width -1: no window
  int page_lines;
};

TEST_F(CreateViewFonts, PageLinesFromTheWindowWhenZero) {
  const PageCase cases[] = {
      {"@ＭＳ ゴシック", 17, 50, 600, 400, 22},  // column pitch 8 + 17 + 2 = 27
      {"@ＭＳ ゴシック", 17, 50, 26, 400, 20},   // narrower than one column
      {"@ＭＳ ゴシック", 17, 50, 27, 400, 1},
      {"ＭＳ 明朝", 17, 50, 600, 400, 14},  // rows down the height: 400 / 27
      {"ＭＳ 明朝", 17, 50, 600, 0, 20},
      {"@ＭＳ ゴシック", 17, 50, -1, 0, 20},  // no window at all
  };
  for (const PageCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.face << " " << c.width << "x" << c.height);
    platform::Window window{c.width, c.height};
    view_.viewport.window = c.width < 0 ? nullptr : &window;
    view_.settings.page_lines = 0;
    view_.settings.ruby_percent = c.ruby_percent;
    make(c.face, c.size);
    EXPECT_EQ(view_.typeset.column_pitch, 27);
    EXPECT_EQ(view_.settings.page_lines, c.page_lines);
    release_document(view_);
    view_.viewport.window = nullptr;
  }
}

TEST_F(CreateViewFonts, PageLinesKeptWhenSet) {
  platform::Window window{600, 400};
  view_.viewport.window = &window;
  view_.settings.page_lines = 7;
  make("@ＭＳ ゴシック", 18);
  EXPECT_EQ(view_.settings.page_lines, 7);
}

TEST_F(CreateViewFonts, FontThatCannotBeMadeLeavesNullAndDefaultMetrics) {
  fake::failing_faces() = {"@NoSuchFace"};
  make("@NoSuchFace", 18);
  EXPECT_EQ(view_.typeset.font_main, nullptr);
  EXPECT_EQ(view_.typeset.font_ruby, nullptr);
  EXPECT_NE(emphasis_font(view_), nullptr);
  EXPECT_GT(view_.typeset.char_height, 0);
  EXPECT_GT(view_.typeset.half_width, 0);
  EXPECT_EQ(view_.typeset.column_pitch, view_.typeset.ruby_height + view_.typeset.char_height + 2);
}

TEST_F(CreateViewFonts, ReleaseFreesEveryFontAndTheCache) {
  make("@ＭＳ ゴシック", 18);
  MeasureContext measure{view_.typeset.font_main};
  TextExtent e;
  measure_text(measure, u"あ", 1, e, view_);
  EXPECT_NE(view_.typeset.width_cache, nullptr);
  release_document(view_);
  EXPECT_EQ(fake::live_fonts(), 0);
  EXPECT_EQ(view_.typeset.width_cache, nullptr);
  EXPECT_EQ(view_.typeset.font_main, nullptr);
}

}  // namespace
}  // namespace yomite
