// Measuring through the width cache on the fake backend (full width S, half
// width S / 2).
#include <gtest/gtest.h>

#include <cstdlib>

#include "layout/fonts.h"
#include "platform/fake/fake_font.h"

namespace yomite {
namespace {

class MeasureText : public ::testing::Test {
 protected:
  void SetUp() override { fake::reset_fonts(); }
  void TearDown() override {
    platform::font_delete(font18_);
    platform::font_delete(font300_);
  }

  TextExtent extent_of(platform::Font* font, const char16_t* text, int count) {
    MeasureContext measure{font};
    TextExtent e{-1, -1};
    measure_text(measure, text, count, e, view_);
    return e;
  }

  ViewContext view_;
  platform::Font* font18_ = platform::font_create("@ＭＳ ゴシック", 18, 2700);
  platform::Font* font300_ = platform::font_create("@ＭＳ ゴシック", 300, 2700);
};

struct WidthCase {
  const char16_t* text;
  int count;
  int width;
};

TEST_F(MeasureText, WidthIsTheSumOfAdvancesAndHeightIsZero) {
  const WidthCase cases[] = {
      {u"あいa", 3, 45},         {u"あいa", -1, 45},                  // up to the terminator
      {u"あいa", 2, 36},         {u"", -1, 0},       {u"ｱ1", 2, 18},  // half-width kana and a digit
      {u"\U00020B9F", 2, 18},  // 𠮟: a surrogate pair is one character
      {u"a\U00020B9Fb", -1, 36},
  };
  for (const WidthCase& c : cases) {
    TextExtent e = extent_of(font18_, c.text, c.count);
    EXPECT_EQ(e.cx, c.width) << c.count;
    EXPECT_EQ(e.cy, 0);
  }
}

TEST_F(MeasureText, EachCharacterIsMeasuredOnce) {
  extent_of(font18_, u"あいあいa", -1);
  EXPECT_EQ(fake::extent_calls(), 3);
  extent_of(font18_, u"いaあ", -1);
  EXPECT_EQ(fake::extent_calls(), 3);
  EXPECT_EQ(view_.typeset.width_cache[u'あ'], 18);
  EXPECT_EQ(view_.typeset.width_cache[u'a'], 9);
}

TEST_F(MeasureText, CachedWidthOutlivesAChangeOfSelectedFont) {
  extent_of(font18_, u"あ", 1);
  EXPECT_EQ(extent_of(font300_, u"あ", 1).cx, 18);
  EXPECT_EQ(extent_of(font300_, u"い", 1).cx, 300);
}

TEST_F(MeasureText, WidthsOf256AndMoreAreKept) {
  EXPECT_EQ(extent_of(font300_, u"あa", 2).cx, 450);
  EXPECT_EQ(extent_of(font300_, u"あa", 2).cx, 450);  // from the cache
  EXPECT_EQ(view_.typeset.width_cache[u'あ'], 300);
  EXPECT_EQ(view_.typeset.width_cache[u'a'], 150);
}

TEST_F(MeasureText, SurrogatesNeverKeyTheCache) {
  const char16_t pair[] = {0xD842, 0xDF9F, 0};
  EXPECT_EQ(extent_of(font18_, pair, 2).cx, 18);
  EXPECT_EQ(extent_of(font18_, pair + 1, 1).cx, 18);  // a lone low surrogate: one missing glyph
  EXPECT_EQ(extent_of(font18_, pair, 1).cx, 18);      // a lone high surrogate
  EXPECT_EQ(view_.typeset.width_cache[0xD842], 0);
  EXPECT_EQ(view_.typeset.width_cache[0xDF9F], 0);
  // The second unit of a pair adds nothing, measured in the same run.
  EXPECT_EQ(extent_of(font18_, u"あ\U00020B9Fあ", 4).cx, 54);
}

TEST_F(MeasureText, SwappedAxesAreExchangedBack) {
  fake::set_swapped_extents(true);
  MeasureContext measure{font18_};
  axis_probe(measure, view_);
  EXPECT_EQ(view_.typeset.extent_swapped, 1);
  EXPECT_EQ(extent_of(font18_, u"aあ", 2).cx, 27);
  TextExtent direct = measure_direct(measure, u"aあ", 2, view_);
  EXPECT_EQ(direct.cx, 27);
  EXPECT_EQ(direct.cy, 18);
}

TEST_F(MeasureText, AxisProbeClearsTheFlagForOrdinaryExtents) {
  view_.typeset.extent_swapped = 1;
  MeasureContext measure{font18_};
  axis_probe(measure, view_);
  EXPECT_EQ(view_.typeset.extent_swapped, 0);
  EXPECT_EQ(view_.typeset.width_cache, nullptr);  // the probe goes around the cache
}

}  // namespace
}  // namespace yomite
