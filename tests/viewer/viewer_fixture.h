// A laid-out view on the fake window for the viewer's input and command
// tests: empty display lines of a chosen count, a column pitch of 27 (ruby 7,
// cell 18, gap 2), 20 lines per page, and a settings file of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_font.h"
#include "platform/fake/fake_window.h"
#include "settings/settings.h"
#include "tests/temp_dir.h"
#include "view/view_context.h"
#include "viewer/program.h"
#include "viewer/scrolling.h"

namespace yomite::test {

class ViewerTest : public ::testing::Test {
 protected:
  // 600 px across: 22 whole columns of 27 px.
  void SetUp() override {
    fake::reset_desktop();
    fake::reset_sounds_and_clock();
    fake::set_modifiers(0);
    process_settings() = ProcessSettings{};
    // A settings file of each test's own, also when one process runs them all.
    process_settings().file_path = process_temp_dir().file(
        std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".ini");
    window.client_width = 600;
    window.client_height = 450;
    v.viewport.window = &window;
    v.typeset.column_pitch = 27;
    v.settings.page_lines = 20;
    v.typeset.vertical = 1;
    v.doc.loaded = 1;
    lines(100);
  }
  void TearDown() override {
    release_document(v);
    process_settings() = ProcessSettings{};
  }

  // Replaces the document by `count` empty display lines.
  void lines(int count) {
    release_document(v);
    begin_display_lines(v);
    for (int i = 0; i < count; ++i) {
      DisplayLine* dl = display_line_slot(v, i);
      dl->flags = DL_PARAGRAPH_END;
      set_line_text(v.doc.arena, *dl, u"", 0);
    }
    v.doc.line_count = count;
  }

  // Runs the ticks the window asks for, each once the fake clock reaches its
  // time, while they fall within the next `ms` milliseconds; returns how
  // many ran. A key or click between two is the test's own call.
  int run_for(int ms) {
    const unsigned end = platform::tick_ms() + static_cast<unsigned>(ms);
    int ran = 0;
    while (window.tick_pending && static_cast<int>(window.tick_due - end) <= 0) {
      run_next_tick();
      ++ran;
    }
    return ran;
  }

  // Runs ticks until none is asked for (at most a minute of the clock).
  int run_ticks() { return run_for(60000); }

  // Runs the ticks up to the next column's start, and then until it lands.
  void run_one_column() {
    for (int limit = 0; limit < 1000 && window.tick_pending && !column_in_flight(v); ++limit)
      run_next_tick();
    for (int limit = 0; limit < 1000 && window.tick_pending && column_in_flight(v); ++limit)
      run_next_tick();
  }

  void run_next_tick() {
    window.tick_pending = 0;
    const int wait = static_cast<int>(window.tick_due - platform::tick_ms());
    if (wait > 0) fake::advance_clock(wait);
    on_tick(v);
  }

  std::vector<std::string> log_with(const std::string& prefix) {
    return fake::window_log_with(window, prefix);
  }

  ViewContext v;
  platform::Window window;
};

// For tests that open real texts on the fake fonts: fresh fakes, the
// system's measures, a settings file of the test's own, and `view` on
// `window`.
inline void set_up_text_view(ViewContext& view, platform::Window& window) {
  fake::reset_fonts();
  fake::reset_desktop();
  fake::reset_sounds_and_clock();
  platform::fake_system_measures() = {17, 17, 4, 4, 2, 2, 19, 1000, 0, 0};
  process_settings() = ProcessSettings{};
  process_settings().file_path = process_temp_dir().file(
      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".ini");
  view.viewport.window = &window;
  view.settings.ruby_percent = 60;
}

}  // namespace yomite::test
