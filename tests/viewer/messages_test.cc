// Requests from other programs, the settings-changed notice, dropped files,
// the argument vector of a new viewer, and link targets.
#include "viewer/messages.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/fake/fake_desktop.h"
#include "tests/viewer/viewer_fixture.h"
#include "viewer/commands.h"
#include "viewer/dialogs.h"
#include "viewer/pointer.h"

namespace yomite {
namespace {

using Messages = test::ViewerTest;
using Args = std::vector<std::string>;

void keep(Args args) {
  std::vector<const char*> argv = {"yomite"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  keep_viewer_arguments(static_cast<int>(argv.size()), argv.data());
}

TEST_F(Messages, FileNameQueryAndCommands) {
  v.doc.file_name = "/books/罪と罰.txt";
  fake::FakeSender asker;
  EXPECT_EQ(on_command_message(v, QUERY_FILE_NAME, fake::sender_of(asker)), 1);
  EXPECT_EQ(asker.received, Args{"/books/罪と罰.txt"});
  EXPECT_EQ(on_command_message(v, 2, fake::sender_of(asker)), 0);  // no other query
  EXPECT_EQ(on_command_message(v, 99, fake::sender_of(asker)), 0);
  EXPECT_EQ(asker.received.size(), 1u);
  fake::FakeSender gone;
  gone.alive = 0;
  EXPECT_EQ(on_command_message(v, QUERY_FILE_NAME, fake::sender_of(gone)), 0);
  // A text unpacked from an archive answers with the archive's name.
  v.doc.archive_name = "/books/罪と罰.zip";
  v.doc.file_name = "/tmp/yomite-0/run-x/罪と罰.txt";
  EXPECT_EQ(on_command_message(v, QUERY_FILE_NAME, fake::sender_of(asker)), 1);
  EXPECT_EQ(asker.received.back(), "/books/罪と罰.zip");
  v.doc.archive_name.clear();
  v.doc.file_name.clear();  // an empty viewer answers an empty name
  EXPECT_EQ(on_command_message(v, QUERY_FILE_NAME, fake::sender_of(asker)), 1);
  EXPECT_EQ(asker.received.back(), "");

  // A command is answered first and runs once the loop is free.
  EXPECT_EQ(on_command_message(v, CMD_CLOSE, nullptr), 0);
  EXPECT_EQ(window.close_posted, 0);
  run_ticks();
  EXPECT_EQ(window.close_posted, 1);
  EXPECT_EQ(on_command_message(v, CMD_OPEN, nullptr), 0);  // the file dialog of this viewer
  run_ticks();
  ASSERT_EQ(fake::file_filters_offered().size(), 1u);
  EXPECT_EQ(on_command_message(v, 140, nullptr), 0);
  EXPECT_EQ(on_command_message(v, 100000, nullptr), 0);
  run_ticks();
}

// While a modal window is open, a command waits for it to close, and one that
// would open another is refused: one dialog at a time, nothing dropped.
TEST_F(Messages, CommandsWaitForAModalWindowAndDoNotStackDialogs) {
  int answers[3] = {};
  fake::DialogStep close_it;
  close_it.edit = [&](platform::DialogForm&) {  // what others send while the page jump is open
    answers[0] = on_command_message(v, CMD_CLOSE, nullptr);
    answers[1] = on_command_message(v, CMD_PAGE_JUMP, nullptr);
    answers[2] = on_command_message(v, CMD_SETTINGS, nullptr);
  };
  close_it.press = ID_CANCEL;
  fake::script_dialog_steps({close_it});
  for (int i = 0; i < 20; ++i) on_command_message(v, CMD_PAGE_JUMP, nullptr);
  run_ticks();
  EXPECT_EQ(fake::dialogs_shown().size(), 1u);  // twenty asked, one shown
  EXPECT_EQ(answers[0], 0);
  EXPECT_EQ(answers[1], MESSAGE_REFUSED);
  EXPECT_EQ(answers[2], MESSAGE_REFUSED);
  EXPECT_EQ(window.close_posted, 1);  // the close ran once the dialog had closed
  EXPECT_EQ(v.viewport.modal, 0);
}

TEST_F(Messages, SettingsChangedRereadsAndRepaintsEvenAnEmptyViewer) {
  std::ofstream(process_settings().file_path) << "[Color]\nBack=00FF00\n[Font]\nSize=30\n";
  v.settings.font_size = 18;
  lines(0);
  v.doc.loaded = 0;
  on_settings_changed(v);
  EXPECT_EQ(v.settings.back_color, 0x00FF00u);
  EXPECT_EQ(v.settings.std_font_size, 30);
  EXPECT_EQ(v.settings.font_size, 18);  // the current size stays
  EXPECT_EQ(log_with("invalidate"), Args{"invalidate all 1"});
}

TEST_F(Messages, NewViewerArguments) {
  fake::set_own_program_path("/opt/yomite/bin/yomite");
  keep({"-b#102030", "/Ggothic", "book.txt", "-J5", "/k", "-M0", "-R3", "-s0", "/X10", "-Y20",
        "/home/me/other.txt", "-w30", "-HX", "/t2", "/e932", "-Cfff", "-L0", "-f@ＭＳ 明朝", "-x"});
  window.x = 120;
  window.y = 80;
  Args same = viewer_launch_arguments(v, "/books/a b.txt", 1);
  EXPECT_EQ(same,
            (Args{"/opt/yomite/bin/yomite", "/books/a b.txt", "/X120", "/Y80", "-b#102030",
                  "/Ggothic", "-w30", "-HX", "/t2", "/e932", "-Cfff", "-L0", "-f@ＭＳ 明朝"}));
  Args elsewhere = viewer_launch_arguments(v, "/books/a b.txt", 0);
  EXPECT_EQ(elsewhere[2], "-b#102030");
  ASSERT_EQ(launch_viewer(v, "/books/c.txt", 0), 1);
  ASSERT_EQ(fake::started_processes().size(), 1u);
  EXPECT_TRUE(fake::started_processes()[0].viewer);
  EXPECT_EQ(fake::started_processes()[0].args[1], "/books/c.txt");
  keep({});
}

TEST_F(Messages, DroppedFilesStartAtMostTenViewers) {
  Args twelve;
  for (int i = 0; i < 12; ++i) twelve.push_back("/books/" + std::to_string(i) + ".txt");
  v.doc.file_name = "/books/shown.txt";
  on_dropped_files(v, twelve);
  EXPECT_EQ(fake::started_processes().size(), 10u);
  EXPECT_EQ(window.close_posted, 0);  // a viewer showing a file stays

  fake::reset_desktop();
  v.doc.file_name.clear();
  on_dropped_files(v, twelve);
  EXPECT_EQ(fake::started_processes().size(), 10u);
  EXPECT_EQ(window.close_posted, 1);  // an empty one makes way
  EXPECT_EQ(fake::started_processes()[9].args[1], "/books/9.txt");
  EXPECT_EQ(fake::started_processes()[0].args.size(), 2u);  // not in this window's place
}

TEST_F(Messages, DropsStopAtTheFirstViewerThatCannotStart) {
  fake::script_start_results({1, 0, 1});
  on_dropped_files(v, {"/a.txt", "/b.txt", "/c.txt"});
  EXPECT_EQ(fake::started_processes().size(), 2u);
  EXPECT_EQ(window.close_posted, 1);
  fake::reset_desktop();
  fake::script_start_results({0});
  on_dropped_files(v, {"/a.txt"});
  EXPECT_EQ(window.close_posted, 1);  // nothing started: the empty viewer stays
}

TEST_F(Messages, LinkTargets) {
  const std::string text = test::process_temp_dir().file("notes.txt");
  const std::string program = test::process_temp_dir().file("run.sh");
  std::ofstream(text) << "x";
  std::ofstream(program) << "#!/bin/sh\n";
  fake::runnable_files() = {program};
  EXPECT_EQ(link_target_allowed("http://example.org/a"), 1);
  EXPECT_EQ(link_target_allowed("HTTPS://example.org/"), 1);
  EXPECT_EQ(link_target_allowed("ftp://example.org/x"), 1);
  EXPECT_EQ(link_target_allowed("mailto:someone@example.org"), 1);
  EXPECT_EQ(link_target_allowed(text), 1);
  EXPECT_EQ(link_target_allowed(program), 0);                        // it would run
  EXPECT_EQ(link_target_allowed(test::process_temp_dir().path), 0);  // a folder
  EXPECT_EQ(link_target_allowed(text + ".missing"), 0);
  EXPECT_EQ(link_target_allowed("javascript:alert(1)"), 0);
  EXPECT_EQ(link_target_allowed("file:///etc/passwd"), 0);
  EXPECT_EQ(link_target_allowed("http://"), 0);
  EXPECT_EQ(link_target_allowed("rm -rf ~"), 0);
  EXPECT_EQ(link_target_allowed(""), 0);
  open_link("http://example.org/a");
  open_link(program);
  open_link("smb://server/share");
  EXPECT_EQ(fake::opened_links(), Args{"http://example.org/a"});
}

TEST_F(Messages, RelativeLinksFromTheShownFilesFolder) {
  const std::string dir = test::process_temp_dir().path;
  std::ofstream(dir + "/next.txt") << "x";
  EXPECT_EQ(resolve_link_target("next.txt", dir + "/book.txt"), dir + "/next.txt");
  EXPECT_EQ(resolve_link_target("sub/next.txt", dir + "/book.txt"), dir + "/sub/next.txt");
  EXPECT_EQ(resolve_link_target("/abs.txt", dir + "/book.txt"), "/abs.txt");
  EXPECT_EQ(resolve_link_target("http://example.org/", dir + "/book.txt"), "http://example.org/");
  EXPECT_EQ(resolve_link_target("next.txt", ""), "next.txt");
  EXPECT_EQ(resolve_link_target("next.txt", "C:\\books\\book.txt"), "C:\\books\\next.txt");
  EXPECT_EQ(resolve_link_target("C:\\abs.txt", "C:\\books\\book.txt"), "C:\\abs.txt");
}

}  // namespace
}  // namespace yomite
