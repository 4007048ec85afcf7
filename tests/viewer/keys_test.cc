// The key table in both writing directions and in page mode, characters,
// and the automatic scroll driven by scripted events.
#include "viewer/keys.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/window.h"
#include "tests/viewer/viewer_fixture.h"
#include "viewer/commands.h"
#include "viewer/scrolling.h"

namespace yomite {
namespace {

using Keys = test::ViewerTest;
using platform::PendingEvent;

PendingEvent key(int k) {
  PendingEvent e;
  e.kind = platform::PENDING_KEY_DOWN;
  e.key = k;
  return e;
}

PendingEvent served() {
  return PendingEvent{};
}

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
  lines(100 - 20 + 1);        // 81 lines: pages at 0, 20, 40, 60, 80
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
  on_key(v, 'Q');     // not in the table
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

TEST_F(Keys, ShiftCtrlLeftScrollsUntilEscape) {
  fake::set_modifiers(platform::KEYMOD_SHIFT | platform::KEYMOD_CTRL);
  fake::script_pending_events({{served()}, {}, {key(KEY_ESCAPE)}});
  on_key(v, KEY_LEFT);
  EXPECT_EQ(v.viewport.top_line, 3);  // one column a pass, three passes
  EXPECT_EQ(v.viewport.auto_speed, 0);
  EXPECT_EQ(fake::beeps(), 1);
  // Speed 5 waits 1 ms a pixel step (7 steps a column) and 1 ms a pass.
  std::vector<int> expected;
  for (int pass = 0; pass < 3; ++pass) {
    for (int i = 0; i < 6; ++i) expected.push_back(1);
    if (pass < 2) expected.push_back(1);
  }
  EXPECT_EQ(fake::sleeps(), expected);
}

TEST_F(Keys, AutomaticScrollTurnsSmoothScrollingOn) {
  v.settings.smooth_scroll = 0;
  v.settings.smooth_dots = 0;
  fake::set_modifiers(platform::KEYMOD_SHIFT | platform::KEYMOD_CTRL);
  fake::script_pending_events({{key(KEY_SHIFT)}});
  on_key(v, KEY_RIGHT);
  EXPECT_EQ(v.settings.smooth_scroll, 1);  // these stay changed
  EXPECT_EQ(v.settings.smooth_dots, 1);
  EXPECT_EQ(v.viewport.top_line, 0);  // backward from the start: beep and stop at once
  EXPECT_EQ(fake::beeps(), 1);
  EXPECT_EQ(fake::pending_batches_left(), 1);
}

TEST_F(Keys, AutomaticScrollSpeedPauseAndDirection) {
  v.viewport.top_line = 50;
  // Right slows down and, past 0, turns back; digits set the speed and keep the way.
  fake::script_pending_events({
      {key(KEY_RIGHT), key(KEY_RIGHT), key(KEY_RIGHT)},                 // speed 2, still forward
      {key('0')},                                                    // pause
      {},                                                            // paused: no move
      {key(KEY_NUMPAD0 + 3)},                                         // speed 3, forward again
      {key(KEY_RIGHT), key(KEY_RIGHT), key(KEY_RIGHT), key(KEY_RIGHT)},  // 2, 1, 0, -1: backward
      {key(KEY_CTRL)},
  });
  v.viewport.auto_speed = 5;
  auto_scroll(v, 1);
  // Moves: +1 (speed 5), +1 (2), none (paused), none, +1 (3), -1 (-1).
  EXPECT_EQ(v.viewport.top_line, 52);
  EXPECT_EQ(v.viewport.auto_speed, 0);
  EXPECT_EQ(fake::beeps(), 1);
  std::vector<int> sleeps = fake::sleeps();
  EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 40), 6);  // the column at speed 2
  EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 15), 6);  // at speed 3
  EXPECT_EQ(std::count(sleeps.begin(), sleeps.end(), 50), 6);  // at speed -1
}

TEST_F(Keys, AClickStopsTheAutomaticScrollAndStillActs) {
  PendingEvent click;
  click.kind = platform::PENDING_BUTTON_DOWN;
  click.button = 3;
  click.x = 40;
  click.y = 60;
  fake::script_pending_events({{click}});
  auto_scroll(v, 1);
  EXPECT_EQ(fake::beeps(), 1);
  ASSERT_EQ(fake::menus_shown().size(), 1u);  // the right click opened the menu
  EXPECT_EQ(fake::menus_shown()[0].x, 40);
  EXPECT_EQ(window.focused, 1);
}

TEST_F(Keys, TheEndOfTheDocumentOrOfTheWindowStopsIt) {
  v.viewport.top_line = 98;
  v.viewport.auto_speed = 5;
  fake::script_pending_events({{}, {}, {}});
  auto_scroll(v, 1);
  EXPECT_EQ(v.viewport.top_line, 99);
  EXPECT_EQ(fake::beeps(), 1);  // the end
  fake::reset_sounds_and_sleeps();
  v.viewport.top_line = 10;
  v.viewport.auto_speed = 5;
  fake::script_pending_events({});  // the window is gone at once
  auto_scroll(v, 1);
  EXPECT_EQ(fake::beeps(), 0);
  EXPECT_EQ(v.viewport.auto_speed, 0);
}

}  // namespace
}  // namespace yomite
