// Scrolling on the fake window: what moves, what is shifted, validated and
// painted, and the scroll bar, in both writing directions.
#include "viewer/scrolling.h"

#include <gtest/gtest.h>

#include "tests/viewer/viewer_fixture.h"

namespace yomite {
namespace {

using Scrolling = test::ViewerTest;
using Log = std::vector<std::string>;

TEST_F(Scrolling, OneSmoothColumnIsSixFourPixelShiftsAndOneOfThree) {
  ASSERT_EQ(scroll_by(v, 1, 1), 1);
  EXPECT_EQ(v.viewport.top_line, 1);
  Log expected;
  for (int i = 0; i < 6; ++i) {
    expected.push_back("scroll 4 0 0 0 600 450");
    expected.push_back("validate 0 0 4 450");
    expected.push_back("flush");
  }
  expected.push_back("scroll 3 0 0 0 600 450");
  expected.push_back("invalidate 0 0 27 450 0");  // only the new column is painted
  expected.push_back("update");
  EXPECT_EQ(window.log, expected);
  ASSERT_NE(window.canvas_log, nullptr);
  EXPECT_EQ(fake::lines_with(*window.canvas_log, "win fill").size(), 6u);
  EXPECT_TRUE(window.tick_requests.empty());  // no waits outside the automatic scroll
}

TEST_F(Scrolling, BackwardStepsShiftLeftAndPaintTheRightEdge) {
  v.viewport.top_line = 5;
  ASSERT_EQ(scroll_by(v, -1, 1), 1);
  EXPECT_EQ(v.viewport.top_line, 4);
  EXPECT_EQ(log_with("scroll 4").size(), 0u);
  EXPECT_EQ(log_with("scroll -4 0").size(), 6u);
  EXPECT_EQ(log_with("validate 596 0 600 450").size(), 6u);
  EXPECT_EQ(log_with("invalidate").back(), "invalidate 573 0 600 450 0");
}

TEST_F(Scrolling, WithoutAnimationOrStepsAColumnJumpsWhole) {
  ASSERT_EQ(scroll_by(v, 1, 0), 1);  // the scroll bar's arrows
  EXPECT_EQ(log_with("scroll"), Log{"scroll 27 0 0 0 600 450"});
  window.log.clear();
  v.settings.smooth_dots = 0;  // typing 0
  ASSERT_EQ(scroll_by(v, 1, 1), 1);
  EXPECT_EQ(log_with("scroll"), Log{"scroll 27 0 0 0 600 450"});
  window.log.clear();
  v.settings.smooth_dots = 4;
  v.settings.smooth_scroll = 0;
  ASSERT_EQ(scroll_by(v, -1, 1), 1);
  EXPECT_EQ(log_with("scroll"), Log{"scroll -27 0 0 0 600 450"});
}

TEST_F(Scrolling, PageDownTakesTenAnimatedStepsOrWithCtrlOneRepaint) {
  v.typeset.column_pitch = 30;  // 20 whole columns in 600 px
  ASSERT_EQ(visible_lines(v), 20);
  ASSERT_EQ(scroll_by(v, visible_lines(v), 1), 1);
  EXPECT_EQ(v.viewport.top_line, 10);
  EXPECT_EQ(log_with("update").size(), 10u);
  EXPECT_EQ(log_with("scroll 4 0").size(), 70u);  // 30 / 4 = 7 shifts a column
  EXPECT_EQ(log_with("scroll 2 0").size(), 10u);
  EXPECT_TRUE(log_with("invalidate all").empty());

  window.log.clear();
  fake::set_modifiers(platform::KEYMOD_CTRL);
  ASSERT_EQ(scroll_by(v, visible_lines(v), 1), 1);
  EXPECT_EQ(v.viewport.top_line, 30);
  EXPECT_TRUE(log_with("scroll").empty());
  EXPECT_EQ(log_with("invalidate"), Log{"invalidate all 1"});  // 20 >= 10: everything
}

TEST_F(Scrolling, NothingMovesAtEitherEnd) {
  EXPECT_EQ(scroll_step(v, -1, 1), 0);
  EXPECT_EQ(scroll_by(v, -5, 1), 0);
  v.viewport.top_line = 99;
  EXPECT_EQ(scroll_step(v, 1, 1), 0);
  EXPECT_EQ(scroll_step(v, 0, 1), 0);
  EXPECT_TRUE(window.log.empty());
  EXPECT_EQ(window.bars[platform::SCROLL_BAR_HORZ].thumb_sets, 0);
  EXPECT_EQ(scroll_by(v, 0, 1), 0);
}

TEST_F(Scrolling, AMoveCutShortShiftsOnlyAsFarAsTopLineWent) {
  v.settings.smooth_scroll = 0;  // not stepwise: one move of five
  v.viewport.top_line = 3;
  ASSERT_EQ(scroll_by(v, -5, 1), 1);
  EXPECT_EQ(v.viewport.top_line, 0);
  EXPECT_EQ(log_with("scroll"), Log{"scroll -81 0 0 0 600 450"});  // 3 columns, not 5
  window.log.clear();
  v.viewport.top_line = 97;
  ASSERT_EQ(scroll_by(v, 5, 1), 1);
  EXPECT_EQ(v.viewport.top_line, 99);
  EXPECT_EQ(log_with("scroll"), Log{"scroll 54 0 0 0 600 450"});
}

TEST_F(Scrolling, HorizontalWritingMovesRowsUpAndDown) {
  v.typeset.vertical = 0;
  ASSERT_EQ(visible_lines(v), 16);  // 450 / 27
  ASSERT_EQ(scroll_by(v, 1, 1), 1);
  // Forward: what lies below the first row moves up by one row.
  EXPECT_EQ(log_with("scroll"), Log{"scroll 0 -27 0 27 600 450"});
  window.log.clear();
  ASSERT_EQ(scroll_by(v, -1, 1), 1);
  EXPECT_EQ(log_with("scroll"), Log{"scroll 0 27 0 0 600 450"});
}

TEST_F(Scrolling, ScrollBarInBothDirections) {
  // D = 100 + 20 - 1 = 119: page 168 per mille, mirrored in vertical writing.
  EXPECT_EQ(update_scroll_bar(v), 1000 - 168);
  const platform::ScrollBarState& h = window.bars[platform::SCROLL_BAR_HORZ];
  EXPECT_EQ(h.max, 1000);
  EXPECT_EQ(h.page, 168);
  EXPECT_EQ(window.bars[platform::SCROLL_BAR_VERT].max, 0);  // hidden
  v.viewport.top_line = 99;
  EXPECT_EQ(update_scroll_bar(v), 1);  // 1000 - 168 - 831
  v.typeset.vertical = 0;
  v.viewport.top_line = 50;
  EXPECT_EQ(update_scroll_bar(v), 420);
  EXPECT_EQ(window.bars[platform::SCROLL_BAR_HORZ].max, 0);
  EXPECT_EQ(window.bars[platform::SCROLL_BAR_VERT].max, 1000);
  EXPECT_EQ(v.viewport.thumb_pos, 420);
}

TEST_F(Scrolling, EmptyDocumentWithOneLinePerPageHasAFullThumb) {
  lines(0);
  v.settings.page_lines = 1;
  v.viewport.top_line = 0;
  EXPECT_EQ(update_scroll_bar(v), 0);
  EXPECT_EQ(window.bars[platform::SCROLL_BAR_HORZ].page, 1000);
  EXPECT_EQ(scroll_by(v, 3, 1), 0);
  jump_to(v, 10);
  EXPECT_EQ(v.viewport.top_line, 0);
  on_vscroll(v, BAR_THUMB_TRACK, 500);
  EXPECT_EQ(v.viewport.top_line, 0);
}

TEST_F(Scrolling, ThumbAtTheLeftEndShowsTheEnd) {
  update_scroll_bar(v);
  on_hscroll(v, BAR_THUMB_TRACK, 0);
  // (1000 - 168) * 119 / 1000 = 99: the last line.
  EXPECT_EQ(v.viewport.top_line, 99);
  EXPECT_EQ(log_with("invalidate"), Log{"invalidate all 1"});
  on_hscroll(v, BAR_THUMB_TRACK, 1000 - 168);  // the right end: the start
  EXPECT_EQ(v.viewport.top_line, 0);
}

TEST_F(Scrolling, HorizontalBarLeftIsForwardAndArrowsNeverAnimate) {
  on_hscroll(v, BAR_LINE_UP, 0);  // the left arrow
  EXPECT_EQ(v.viewport.top_line, 1);
  EXPECT_EQ(log_with("scroll"), Log{"scroll 27 0 0 0 600 450"});
  on_hscroll(v, BAR_PAGE_UP, 0);  // left of the thumb: a page forward, half of it stepwise
  EXPECT_EQ(v.viewport.top_line, 11);
  on_hscroll(v, BAR_LINE_DOWN, 0);
  EXPECT_EQ(v.viewport.top_line, 10);
  on_hscroll(v, BAR_END_SCROLL, 0);
  EXPECT_EQ(v.viewport.top_line, 10);
  v.typeset.vertical = 0;
  on_hscroll(v, BAR_LINE_UP, 0);  // the horizontal bar does nothing in rows
  EXPECT_EQ(v.viewport.top_line, 10);
  on_vscroll(v, BAR_LINE_DOWN, 0);
  EXPECT_EQ(v.viewport.top_line, 11);
}

TEST_F(Scrolling, PageBoundaries) {
  v.viewport.top_line = 45;
  EXPECT_EQ(previous_page_top(v), 40);
  v.viewport.top_line = 40;
  EXPECT_EQ(previous_page_top(v), 20);
  v.viewport.top_line = 45;
  EXPECT_EQ(next_page_top(v), 60);
  v.viewport.top_line = 85;
  EXPECT_EQ(next_page_top(v), -1);  // 100 is past the end
  v.viewport.top_line = 0;
  EXPECT_EQ(previous_page_top(v), -1);
  v.viewport.top_line = 7;
  EXPECT_EQ(previous_page_top(v), 0);
  EXPECT_EQ(page_top(v, 3), 40);
  EXPECT_EQ(page_top(v, 99999), 99);
}

TEST_F(Scrolling, StepsKeepThePaceOfTheDotDelay) {
  v.viewport.auto_scroll.active = 1;  // the automatic scroll's columns wait between steps
  v.viewport.auto_speed = 3;          // 15 ms a step
  fake::set_flush_ms(4);              // showing a step takes 4 ms: the wait is what is left
  ASSERT_EQ(scroll_step(v, 1, 1), 1);
  run_one_column();
  EXPECT_EQ(window.tick_requests, std::vector<int>({11, 11, 11, 11, 11, 11, 1}));
  EXPECT_EQ(log_with("scroll").size(), 7u);
  window.tick_requests.clear();
  fake::set_flush_ms(20);  // slower than the pace: no waiting at all
  ASSERT_EQ(scroll_step(v, 1, 1), 1);
  // Behind by 5 ms after each step, the steps never catch up: the column
  // lands within the call, and only the pause before the next is asked for.
  EXPECT_EQ(column_in_flight(v), 0);
  EXPECT_EQ(window.tick_requests, std::vector<int>{1});
}

TEST(DotDelay, BySpeed) {
  const int expected[] = {0, 50, 40, 15, 10, 1, 0};
  for (int speed = 0; speed <= 6; ++speed) EXPECT_EQ(dot_delay_ms(speed), expected[speed]);
}

}  // namespace
}  // namespace yomite
