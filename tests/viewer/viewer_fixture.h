// A laid-out view on the fake window for the viewer's input and command
// tests: empty display lines of a chosen count, a column pitch of 27 (ruby 7,
// cell 18, gap 2), 20 lines per page, and a settings file of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_window.h"
#include "settings/settings.h"
#include "tests/temp_dir.h"
#include "view/view_context.h"

namespace yomite::test {

class ViewerTest : public ::testing::Test {
 protected:
  // 600 px across: 22 whole columns of 27 px.
  void SetUp() override {
    fake::reset_desktop();
    fake::reset_sounds_and_sleeps();
    fake::set_modifiers(0);
    fake::script_pending_events({});
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
      dl->text = arena_copy_text(v.doc.arena, u"", 0);
      dl->attrs = nullptr;
      dl->flags = DL_PARAGRAPH_END;
    }
    v.doc.line_count = count;
  }

  std::vector<std::string> log_with(const std::string& prefix) {
    return fake::window_log_with(window, prefix);
  }

  ViewContext v;
  platform::Window window;
};

}  // namespace yomite::test
