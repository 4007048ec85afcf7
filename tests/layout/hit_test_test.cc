// The character under a point, with the fake metrics (cell 18, ruby band 10,
// slots of 30) in a 600 x 450 window.
#include <gtest/gtest.h>

#include <string>

#include "layout/paint.h"
#include "tests/layout/view_fixture.h"
#include "view/attr_codes.h"

namespace yomite {
namespace {

using testing::TestView;

std::u16string text_at(TestView& t, int x, int y) {
  const char16_t* hit = hit_test(t.view, x, y, 0);
  return hit ? std::u16string(hit) : u"(none)";
}

struct Probe {
  int x;
  int y;
  const char16_t* expected;
};

TEST(HitTest, BandsGapsAndMarginsHitNothing) {
  TestView t(true);
  t.add(u"あいう");
  t.add(u"かきく", DL_PARAGRAPH_END | DL_QUOTE);
  const Probe probes[] = {
      {599, 20, u"(none)"},  // across 1: the ruby band
      {590, 20, u"(none)"},  // across 10: the ruby band's last pixel
      {589, 20, u"あいう"},  // across 11: the text strip's first pixel
      {572, 20, u"あいう"},  // across 28: its last pixel
      {571, 20, u"(none)"},  // across 29: the gap
      {570, 20, u"(none)"},
      {569, 20, u"(none)"},  // the second slot's ruby band
      {580, 9, u"(none)"},   // the top margin
      {580, 10, u"あいう"},
      {580, 63, u"う"},
      {580, 64, u"(none)"},  // past the last character
                             // (10 + 54)
      {550, 45, u"(none)"},  // a quotation line begins 36 px lower
      {550, 46, u"かきく"},
      {-1, 20, u"(none)"},
      {600, 20, u"(none)"},
      {580, 450, u"(none)"},
  };
  for (const Probe& p : probes) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    EXPECT_EQ(text_at(t, p.x, p.y), p.expected);
  }
}

TEST(HitTest, HorizontalRowsAndGaps) {
  TestView t(false);
  t.add(u"あいう");
  t.add(u"かきく");
  const Probe probes[] = {
      {20, 9, u"(none)"},                       // ruby band
      {20, 10, u"あいう"},                      // first row of the text
      {20, 27, u"あいう"},                      // last row
      {20, 28, u"(none)"},                      // gap
      {20, 40, u"かきく"}, {9, 40, u"(none)"},  // left margin
      {45, 40, u"きく"},
  };
  for (const Probe& p : probes) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    EXPECT_EQ(text_at(t, p.x, p.y), p.expected);
  }
}

TEST(HitTest, JustifiedLineUsesTheStretchedBoundaries) {
  TestView t(true);
  // 14 cells stretched to 378 px: the first nine are 28 px long.
  t.add(u"一二三四五六七八九十百千万億", 0);
  t.add(u"終");
  EXPECT_EQ(text_at(t, 580, 37), u"一二三四五六七八九十百千万億終");  // plain widths: 二
  EXPECT_EQ(text_at(t, 580, 38), u"二三四五六七八九十百千万億終");
  EXPECT_EQ(text_at(t, 580, 10 + 9 * 28 + 4 * 27), u"億終");
}

TEST(HitTest, NoteModeGivesTheAnchorsEntryOnly) {
  TestView t(true);
  std::uint16_t link = t.note(3, u"\001https://example.org/");
  std::uint16_t ruby = t.reading(u"るび");
  t.add(u"あいうえおかき", DL_PARAGRAPH_END, {ruby, 20, link, link, link, link, 0});
  t.add(u"さしす");
  const char16_t* entry = t.view.doc.annotation_texts[NOTE_FIRST_ENTRY + 3];
  EXPECT_EQ(hit_test(t.view, 580, 10 + 4 * 18 + 1, 1), entry);  // the link's third character
  EXPECT_EQ(hit_test(t.view, 580, 10 + 2 * 18, 1), entry);      // its first
  EXPECT_EQ(hit_test(t.view, 580, 10 + 6 * 18, 1), nullptr);    // after it
  EXPECT_EQ(hit_test(t.view, 580, 10, 1), nullptr);             // a ruby base
  EXPECT_EQ(hit_test(t.view, 580, 10 + 18, 1), nullptr);        // a side line
  EXPECT_EQ(hit_test(t.view, 550, 10, 1), nullptr);             // a line without codes
}

TEST(HitTest, TextModeFollowsAContinuedLogicalLine) {
  TestView t(true);
  t.add(u"前半の", 0);
  t.add(u"後半", DL_PARAGRAPH_END);
  t.add(u"次");
  EXPECT_EQ(text_at(t, 580, 10 + 2 * 18), u"の後半");
  EXPECT_EQ(text_at(t, 550, 10 + 18), u"半");
}

TEST(HitTest, TopLineFiveAndTheRightEdgeBand) {
  TestView t(true);
  for (int i = 0; i < 8; ++i) t.add(std::u16string(1, static_cast<char16_t>(u'〇' + i)));
  t.view.viewport.top_line = 5;
  EXPECT_EQ(text_at(t, 600 - 3, 15), u"(none)");
  EXPECT_EQ(text_at(t, 600 - t.view.typeset.ruby_height - 1, 15), std::u16string(1, u'〇' + 5));
  EXPECT_EQ(text_at(t, 600 - 30 - 11, 15), std::u16string(1, u'〇' + 6));
  EXPECT_EQ(text_at(t, 600 - 90 - 11, 15), u"(none)");  // past the last line
}

TEST(HitTest, LongResultIsCutToTheBuffer) {
  TestView t(true, 600, 450);
  std::u16string a(900, u'あ'), b(900, u'い');
  t.add(a, 0);
  t.add(b);
  const char16_t* hit = hit_test(t.view, 580, 15, 0);
  ASSERT_NE(hit, nullptr);
  std::u16string got(hit);
  EXPECT_EQ(got.size(), static_cast<std::size_t>(HIT_TEXT_UNITS - 1));
  EXPECT_EQ(got.substr(0, 900), a);
}

}  // namespace
}  // namespace yomite
