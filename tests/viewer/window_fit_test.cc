// Fit to window and full screen on the fake backend (full width S, half
// width S / 2; the default 18 px text: half width 9, column pitch 30).
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/fake/fake_font.h"
#include "platform/fake/fake_window.h"
#include "settings/settings.h"
#include "tests/temp_dir.h"
#include "tests/viewer/viewer_fixture.h"
#include "viewer/commands.h"
#include "viewer/keys.h"
#include "viewer/open.h"
#include "viewer/program.h"
#include "viewer/scrolling.h"
#include "viewer/window_fit.h"

namespace yomite {
namespace {

// 300 paragraphs of 1 to 5 columns each at 40 half widths.
std::string novel() {
  std::string text;
  for (int p = 0; p < 300; ++p) {
    for (int k = 0; k <= (p % 5) * 20; ++k) text += "あ";
    text += "。\n";
  }
  return text;
}

class WindowFit : public ::testing::Test {
 protected:
  void SetUp() override {
    test::set_up_text_view(v, window);
    v.doc.file_name = test::process_temp_dir().file("fit.txt");
    std::ofstream(v.doc.file_name, std::ios::binary) << novel();
    window.idle_calls = 1;  // the text is laid out in slices, as in the real window
    apply_window_fit(v);
    open_document(v, 0, -1, -1, nullptr);
  }
  void TearDown() override {
    release_document(v);
    process_settings() = ProcessSettings{};
  }

  // The user gives the window another client size; the resize rests.
  void resize_to(int width, int height) {
    window.client_width = width;
    window.client_height = height;
    on_window_resized(v);
    fake::advance_clock(RESIZE_SETTLE_MS);
    window.tick_pending = 0;
    on_tick(v);
  }

  // Lays the rest of the text out, as idle time would.
  void finish_loading() {
    while (v.doc.load_job && on_idle(v)) {
    }
  }

  ViewContext v;
  platform::Window window{300, 300};
};

// The display line's text from the place on.
std::u16string text_at(const ViewContext& v, const TextPlace& p) {
  const int line = line_of_place(v, p);
  if (line < 0) return u"";
  const TextPlace start = place_of_line(v, line);
  return std::u16string(line_text(v.doc, v.doc.lines[line]))
      .substr(static_cast<std::size_t>(p.offset - start.offset));
}

TEST_F(WindowFit, OffTheWindowKeepsItsPageAndRefusesMaximize) {
  EXPECT_EQ(window.maximize_allowed, 0);
  const int chars = v.settings.column_chars, lines = v.doc.line_count;
  resize_to(window.client_width / 2, window.client_height / 2);
  EXPECT_EQ(v.settings.column_chars, chars);
  EXPECT_EQ(v.doc.line_count, lines);
  const int sized = window.bounds_set;
  run_menu_command(v, CMD_RELOAD);
  EXPECT_EQ(window.bounds_set, sized + 1) << "a reload sizes the window to its page again";
}

TEST_F(WindowFit, TheHalvedWindowsPageKeepsThePlace) {
  finish_loading();
  jump_to(v, 120);
  const TextPlace place = place_of_line(v, v.viewport.top_line);
  const std::u16string shown = text_at(v, place);
  run_menu_command(v, CMD_FIT_WINDOW);
  EXPECT_EQ(window.maximize_allowed, 1);
  EXPECT_EQ(v.settings.fit_window, 1);
  const int fitted = v.settings.column_chars;  // the window's own: its bar is inside here

  const int width = window.client_width / 2, height = window.client_height / 2;
  window.client_width = width;
  window.client_height = height;
  on_window_resized(v);
  fake::advance_clock(RESIZE_SETTLE_MS - 1);
  window.tick_pending = 0;
  on_tick(v);
  EXPECT_EQ(v.settings.column_chars, fitted) << "laid out again before the size rested";
  fake::advance_clock(1);
  on_tick(v);
  // The columns end inside the window; as many columns a page as it shows.
  EXPECT_EQ(v.settings.column_chars, height / 9 - COLUMN_MARGIN_HALF_WIDTHS);
  EXPECT_EQ(v.settings.page_lines, width / v.typeset.column_pitch);
  EXPECT_LE(9 * (v.settings.column_chars + COLUMN_MARGIN_HALF_WIDTHS), height);
  // The first character shown is the one shown before.
  const TextPlace now = place_of_line(v, v.viewport.top_line);
  EXPECT_EQ(now.paragraph, place.paragraph);
  EXPECT_LE(now.offset, place.offset);
  EXPECT_EQ(line_of_place(v, place), v.viewport.top_line);
  EXPECT_EQ(text_at(v, place).substr(0, 3), shown.substr(0, 3));
  EXPECT_NE(v.doc.load_job, nullptr) << "the rest is left to idle time";
  finish_loading();

  // Off: the specified column length and page, and a window sized to them.
  const int sized = window.bounds_set;
  run_menu_command(v, CMD_FIT_WINDOW);
  EXPECT_EQ(window.maximize_allowed, 0);
  EXPECT_EQ(v.settings.column_chars, 40);
  EXPECT_EQ(v.settings.page_lines, 20);
  EXPECT_EQ(window.bounds_set, sized + 1);
}

TEST_F(WindowFit, TheMarkStaysOnItsCharacter) {
  finish_loading();
  jump_to(v, 200);
  run_menu_command(v, CMD_SET_MARK);
  const TextPlace mark = place_of_line(v, 200);
  jump_to(v, 10);
  run_menu_command(v, CMD_FIT_WINDOW);
  resize_to(window.client_width, window.client_height * 2 / 3);
  finish_loading();
  int marked = -1;
  for (int i = 0; i < v.doc.line_count; ++i)
    if (v.doc.lines[i].flags & DL_MARK) marked = i;
  EXPECT_EQ(marked, line_of_place(v, mark));
}

// The settings file's text (closed again at once: Windows replaces no open file).
std::string settings_file() {
  std::ifstream in(process_settings().file_path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST_F(WindowFit, TheSettingEntersTheFileOnlyOnceUsed) {
  write_settings(v);
  EXPECT_EQ(settings_file().find("FitToWindow"), std::string::npos);
  run_command(v, CMD_FIT_WINDOW);  // another program's number: nothing
  EXPECT_EQ(v.settings.fit_window, 0);
  run_menu_command(v, CMD_FIT_WINDOW);
  run_menu_command(v, CMD_FIT_WINDOW);
  const std::string file = settings_file();
  EXPECT_NE(file.find("FitToWindow=0"), std::string::npos) << file;
}

TEST_F(WindowFit, F11FillsTheScreenAndComesBack) {
  on_key(v, KEY_F11);
  EXPECT_EQ(window.full_screen, 1);
  EXPECT_EQ(window.maximize_allowed, 0) << "full screen is not fit to window";
  resize_to(1600, 1000);  // the screen's size arrives
  EXPECT_EQ(v.settings.column_chars, 1000 / 9 - COLUMN_MARGIN_HALF_WIDTHS);
  EXPECT_EQ(v.settings.page_lines, 1600 / v.typeset.column_pitch);
  on_key(v, KEY_F11);
  EXPECT_EQ(window.full_screen, 0);
  EXPECT_EQ(v.settings.column_chars, 40);
  EXPECT_EQ(v.settings.page_lines, 20);
}

}  // namespace
}  // namespace yomite
