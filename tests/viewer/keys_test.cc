// The key table in both writing directions and in page mode, characters,
// and the automatic scroll driven by scripted events.
#include "viewer/keys.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/window.h"
#include "tests/viewer/viewer_fixture.h"
#include "viewer/commands.h"
#include "viewer/pointer.h"
#include "viewer/scrolling.h"

namespace yomite {
namespace {

using Keys = test::ViewerTest;

TEST_F(Keys, HomeAndEndNeedCtrlOrShift) {
  v.viewport.top_line = 50;
  on_key(v, KEY_HOME);
  on_key(v, KEY_END);
  EXPECT_EQ(v.viewport.top_line, 50);
  fake::set_modifiers(platform::KEYMOD_CTRL);
  on_key(v, KEY_HOME);
  EXPECT_EQ(v.viewport.top_line, 0);
  fake::set_modifiers(platform::KEYMOD_SHIFT);
  on_key(v, KEY_END);
  EXPECT_EQ(v.viewport.top_line, 99);
  v.settings.page_mode = 1;  // the start of the last page, when it lies inside the text
  on_key(v, KEY_END);
  EXPECT_EQ(v.viewport.top_line, 99);  // a page at 100 would be past the end
  lines(100 - 20 + 1);                 // 81 lines: pages at 0, 20, 40, 60, 80
  on_key(v, KEY_END);
  EXPECT_EQ(v.viewport.top_line, 80);
  lines(80);
  on_key(v, KEY_END);
  EXPECT_EQ(v.viewport.top_line, 79);
}

TEST_F(Keys, ArrowsFollowTheWritingDirection) {
  on_key(v, KEY_LEFT);  // columns run right to left: Left is forward
  EXPECT_EQ(v.viewport.top_line, 1);
  on_key(v, KEY_RIGHT);
  EXPECT_EQ(v.viewport.top_line, 0);
  on_key(v, KEY_DOWN);
  on_key(v, KEY_UP);
  EXPECT_EQ(v.viewport.top_line, 0);
  EXPECT_EQ(log_with("scroll").size(), 14u);  // two animated columns of 7 shifts

  v.typeset.vertical = 0;
  on_key(v, KEY_LEFT);
  EXPECT_EQ(v.viewport.top_line, 0);
  on_key(v, KEY_DOWN);
  EXPECT_EQ(v.viewport.top_line, 1);
  on_key(v, KEY_UP);
  EXPECT_EQ(v.viewport.top_line, 0);
}

TEST_F(Keys, PageKeysInScrollAndPageMode) {
  on_key(v, KEY_PAGE_DOWN);  // 22 columns visible: 11 steps of one
  EXPECT_EQ(v.viewport.top_line, 11);
  on_key(v, KEY_PAGE_UP);
  EXPECT_EQ(v.viewport.top_line, 0);
  v.settings.page_mode = 1;
  v.viewport.top_line = 45;
  on_key(v, KEY_PAGE_UP);
  EXPECT_EQ(v.viewport.top_line, 40);
  on_key(v, KEY_PAGE_UP);
  EXPECT_EQ(v.viewport.top_line, 20);
  v.viewport.top_line = 45;
  on_key(v, KEY_PAGE_DOWN);
  EXPECT_EQ(v.viewport.top_line, 60);
  v.viewport.top_line = 85;
  window.log.clear();
  on_key(v, KEY_PAGE_DOWN);  // no page after the last one
  EXPECT_EQ(v.viewport.top_line, 85);
  EXPECT_TRUE(window.log.empty());
  v.typeset.vertical = 0;  // page boundaries are for columns only
  v.viewport.top_line = 45;
  on_key(v, KEY_PAGE_UP);
  EXPECT_LT(v.viewport.top_line, 45);
  EXPECT_NE(v.viewport.top_line, 40);
}

TEST_F(Keys, DocumentKeysDoNothingWithoutADocument) {
  v.doc.loaded = 0;
  v.viewport.top_line = 5;
  fake::set_modifiers(platform::KEYMOD_CTRL);
  for (int k : {KEY_LEFT, KEY_RIGHT, KEY_PAGE_UP, KEY_PAGE_DOWN, KEY_HOME, KEY_END}) on_key(v, k);
  EXPECT_EQ(v.viewport.top_line, 5);
  EXPECT_TRUE(window.log.empty());
}

TEST_F(Keys, EscapeSpaceAndCharacters) {
  on_key(v, KEY_ESCAPE);
  EXPECT_EQ(window.close_posted, 1);
  on_key(v, KEY_SPACE);
  EXPECT_EQ(v.settings.smooth_scroll, 0);
  on_key(v, KEY_SPACE);
  EXPECT_EQ(v.settings.smooth_scroll, 1);
  on_char(v, '0');
  EXPECT_EQ(v.settings.smooth_dots, 0);
  on_char(v, '7');
  EXPECT_EQ(v.settings.smooth_dots, 7);
  on_char(v, 'a');
  EXPECT_EQ(v.settings.smooth_dots, 7);
  on_key(v, 'Q');      // not in the table
  on_key(v, KEY_F10);  // F10 alone
  EXPECT_TRUE(fake::menus_shown().empty());
}

TEST_F(Keys, MenuKeyAndShiftF10OpenTheMenuAtTheCorner) {
  on_key(v, KEY_MENU);
  fake::set_modifiers(platform::KEYMOD_SHIFT);
  EXPECT_EQ(on_system_key(v, KEY_F10), 1);
  on_key(v, KEY_F10);
  ASSERT_EQ(fake::menus_shown().size(), 3u);
  for (const fake::ShownMenu& m : fake::menus_shown()) {
    EXPECT_EQ(m.x, 0);
    EXPECT_EQ(m.y, 0);
  }
  EXPECT_EQ(on_system_key(v, KEY_F5), 0);
}

TEST_F(Keys, LettersActWhateverModifierIsHeld) {
  process_settings().editor_command = "gedit";
  v.doc.file_name = "/books/a.txt";
  fake::set_modifiers(platform::KEYMOD_CTRL);
  on_key(v, 'E');
  ASSERT_EQ(fake::started_processes().size(), 1u);
  EXPECT_EQ(fake::started_processes()[0].args, (std::vector<std::string>{"gedit", "/books/a.txt"}));
  v.doc.locked = 1;  // the editor key in a locked text does nothing
  on_key(v, 'E');
  EXPECT_EQ(fake::started_processes().size(), 1u);

  v.doc.lines[3].flags |= DL_MARK;
  on_key(v, 'J');
  EXPECT_EQ(v.viewport.top_line, 3);
  v.viewport.top_line = 7;
  on_key(v, 'M');
  EXPECT_TRUE(v.doc.lines[7].flags & DL_MARK);
  EXPECT_FALSE(v.doc.lines[3].flags & DL_MARK);
}

// --- the automatic scroll ---
// At speed 5 a pixel step takes 1 ms: a column of 27 px in 4 px steps is 6
// steps (6 ms) and the last 3 px, then a pause of 1 ms before the next.

TEST_F(Keys, ShiftCtrlLeftScrollsUntilEscape) {
  fake::set_modifiers(platform::KEYMOD_SHIFT | platform::KEYMOD_CTRL);
  on_key(v, KEY_LEFT);
  fake::set_modifiers(0);
  EXPECT_EQ(v.viewport.top_line, 1);  // the first column is on its way
  run_for(20);
  EXPECT_EQ(v.viewport.top_line, 3);  // columns start at 0, 7 and 14 ms
  EXPECT_EQ(log_with("scroll").size(), 3u * 7u);
  EXPECT_EQ(window.bars[platform::SCROLL_BAR_HORZ].thumb_sets, 3);
  on_key(v, KEY_ESCAPE);  // stops the scroll, does not close the window
  EXPECT_EQ(window.close_posted, 0);
  EXPECT_EQ(fake::beeps(), 1);
  EXPECT_EQ(v.viewport.auto_speed, 0);
  run_ticks();
  EXPECT_EQ(v.viewport.top_line, 3);
  EXPECT_EQ(log_with("scroll").size(), 3u * 7u);
  on_key(v, KEY_ESCAPE);  // now the key is the key again
  EXPECT_EQ(window.close_posted, 1);
}

TEST_F(Keys, AStopDuringAColumnLetsItLandFirst) {
  fake::set_modifiers(platform::KEYMOD_SHIFT | platform::KEYMOD_CTRL);
  on_key(v, KEY_LEFT);
  run_for(3);  // half way
  on_key(v, KEY_SHIFT);
  EXPECT_EQ(v.viewport.auto_scroll.active, 1);
  fake::set_modifiers(0);
  on_key(v, 'P');  // taken while it stops: no page-jump dialog
  run_ticks();
  EXPECT_EQ(v.viewport.auto_scroll.active, 0);
  EXPECT_EQ(v.viewport.top_line, 1);
  EXPECT_EQ(log_with("scroll").size(), 7u);  // the whole column
  EXPECT_EQ(log_with("invalidate").size(), 1u);
  EXPECT_TRUE(fake::dialogs_shown().empty());
}

TEST_F(Keys, AutomaticScrollTurnsSmoothScrollingOn) {
  v.settings.smooth_scroll = 0;
  v.settings.smooth_dots = 0;
  fake::set_modifiers(platform::KEYMOD_SHIFT | platform::KEYMOD_CTRL);
  on_key(v, KEY_RIGHT);
  EXPECT_EQ(v.settings.smooth_scroll, 1);  // these stay changed
  EXPECT_EQ(v.settings.smooth_dots, 1);
  EXPECT_EQ(v.viewport.top_line, 0);  // backward from the start: beep and stop at once
  EXPECT_EQ(fake::beeps(), 1);
  EXPECT_EQ(v.viewport.auto_scroll.active, 0);
  EXPECT_FALSE(window.tick_pending);
}

TEST_F(Keys, AutomaticScrollSpeedPauseAndDirection) {
  v.viewport.top_line = 50;
  auto requested = [this](int ms) {
    return std::count(window.tick_requests.begin(), window.tick_requests.end(), ms);
  };
  start_auto_scroll(v, 1);
  // Right slows down and, past 0, turns back; digits set the speed and keep the way.
  for (int i = 0; i < 3; ++i) on_key(v, KEY_RIGHT);  // speed 2, still forward
  run_for(7);
  EXPECT_EQ(v.viewport.top_line, 52);  // the second column is on its way, at 40 ms a step
  on_key(v, '0');                      // pause, once that column has landed
  run_ticks();
  EXPECT_EQ(v.viewport.top_line, 52);
  EXPECT_EQ(requested(40), 6);
  EXPECT_FALSE(window.tick_pending);  // paused: nothing moves, nothing ticks
  on_key(v, KEY_NUMPAD0 + 3);         // speed 3, forward again
  run_one_column();
  EXPECT_EQ(v.viewport.top_line, 53);
  EXPECT_EQ(requested(15), 6);
  for (int i = 0; i < 4; ++i) on_key(v, KEY_RIGHT);  // 2, 1, 0, -1: backward
  run_one_column();
  EXPECT_EQ(v.viewport.top_line, 52);
  EXPECT_EQ(requested(50), 6);
  on_key(v, KEY_CTRL);  // between columns: it stops at once
  run_ticks();
  EXPECT_EQ(v.viewport.top_line, 52);
  EXPECT_EQ(v.viewport.auto_speed, 0);
  EXPECT_EQ(fake::beeps(), 1);
}

TEST_F(Keys, KeysDuringTheAutomaticScrollDoNotAct) {
  start_auto_scroll(v, 1);
  on_char(v, '7');  // the digit set a speed; it is no step size
  EXPECT_EQ(v.settings.smooth_dots, 4);
  on_key(v, KEY_PAGE_DOWN);
  on_key(v, 'E');
  on_wheel(v, 3);
  run_for(7);
  EXPECT_EQ(v.viewport.top_line, 2);
  EXPECT_TRUE(fake::started_processes().empty());
}

TEST_F(Keys, AClickStopsTheAutomaticScrollAndStillActs) {
  start_auto_scroll(v, 1);
  run_for(2);
  on_mouse_down(v, 3, 40, 60);
  EXPECT_EQ(fake::beeps(), 1);
  EXPECT_TRUE(fake::menus_shown().empty());  // not while the column moves
  run_ticks();
  ASSERT_EQ(fake::menus_shown().size(), 1u);  // the right click opened the menu
  EXPECT_EQ(fake::menus_shown()[0].x, 40);
  EXPECT_EQ(window.focused, 1);
  EXPECT_EQ(v.viewport.top_line, 1);
}

TEST_F(Keys, ACommandFromOutsideLandsTheColumnFirst) {
  start_auto_scroll(v, 1);
  run_for(2);
  run_command(v, CMD_SET_MARK);  // as another program sends it
  EXPECT_EQ(column_in_flight(v), 0);
  EXPECT_TRUE(v.doc.lines[1].flags & DL_MARK);
  EXPECT_EQ(log_with("invalidate 0 0 27").size(), 1u);  // the column landed whole
  run_one_column();                                     // and the scroll goes on
  EXPECT_EQ(v.viewport.top_line, 2);
}

TEST_F(Keys, TheEndOfTheDocumentStopsIt) {
  v.viewport.top_line = 98;
  start_auto_scroll(v, 1);
  run_ticks();
  EXPECT_EQ(v.viewport.top_line, 99);
  EXPECT_EQ(fake::beeps(), 1);  // the end
  EXPECT_EQ(v.viewport.auto_scroll.active, 0);
  EXPECT_EQ(v.viewport.auto_speed, 0);
}

}  // namespace
}  // namespace yomite
