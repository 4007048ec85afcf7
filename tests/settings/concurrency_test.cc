// Several viewers closing at once: each writes its settings and merges its
// file into the history. The file must always parse, hold one writer's
// complete settings, and keep every writer's history entry.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "settings/history.h"
#include "settings/settings.h"
#include "tests/temp_dir.h"

namespace yomite {
namespace {

constexpr int WRITERS = 8;
constexpr int ROUNDS = 50;

// Every key of writer w's settings carries w.
void fill(ViewContext& v, int w) {
  v.settings.text_color = v.settings.back_color = v.settings.link_color = static_cast<Color>(w);
  v.settings.std_face_name = "face" + std::to_string(w);
  v.settings.std_font_size = v.settings.std_column_chars = v.settings.std_page_lines = w;
  v.settings.font_smoothing = v.settings.justify = v.settings.ruby_percent = w;
  v.settings.smooth_scroll = v.settings.smooth_dots = v.settings.page_mode = w;
  v.doc.file_name = "/books/" + std::to_string(w) + ".txt";
  v.viewport.mark_page = w;
}

// Which writer all the settings came from, or -1 for a mix.
int single_writer(const ViewContext& v) {
  int w = v.settings.std_font_size;
  ViewContext expected;
  fill(expected, w);
  bool same = v.settings.text_color == expected.settings.text_color && v.settings.back_color == expected.settings.back_color &&
              v.settings.link_color == expected.settings.link_color && v.settings.std_face_name == expected.settings.std_face_name &&
              v.settings.std_column_chars == w && v.settings.std_page_lines == w && v.settings.font_smoothing == w &&
              v.settings.justify == w && v.settings.ruby_percent == w && v.settings.smooth_scroll == w && v.settings.smooth_dots == w &&
              v.settings.page_mode == w && process_settings().editor_command == "edit" + std::to_string(w);
  return same ? w : -1;
}

void run_writer(const std::string& path, int w) {
  ViewContext view;
  fill(view, w);
  History history{};
  for (int r = 0; r < ROUNDS; ++r) {
    process_settings().editor_command = "edit" + std::to_string(w);  // reading replaced it
    if (!write_settings(view, path) || !write_history(history, view, path)) _exit(1);
    ViewContext seen;  // what a viewer reading now would get
    read_settings(seen, path);
    if (single_writer(seen) < 0) _exit(2);
  }
  _exit(0);
}

TEST(Concurrency, WritersNeverMixOrLoseEntries) {
  test::TempDir dir;
  std::string path = dir.file("YOMITE.INI");
  pid_t pids[WRITERS];
  for (int w = 0; w < WRITERS; ++w) {
    pids[w] = fork();
    ASSERT_GE(pids[w], 0);
    if (pids[w] == 0) run_writer(path, w + 1);
  }
  for (pid_t pid : pids) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  ViewContext view;
  read_settings(view, path);
  EXPECT_GE(single_writer(view), 1);
  History history{};
  read_history(history, view, path);
  std::vector<bool> seen(WRITERS + 1);
  for (int p = 0; p < WRITERS; ++p) {
    const HistoryEntry& e = history[static_cast<std::size_t>(p)];
    int w = static_cast<int>(e.mark_page);
    ASSERT_TRUE(w >= 1 && w <= WRITERS && !seen[static_cast<std::size_t>(w)]) << p;
    seen[static_cast<std::size_t>(w)] = true;
    EXPECT_EQ(e.file_name, "/books/" + std::to_string(w) + ".txt");
  }
  EXPECT_EQ(history[WRITERS].file_name, "");
}

void increment(IniFile& ini, void*) {
  int n = parse_decimal(ini_get(ini, "Count", "n", "0"));
  ini_set(ini, "Count", "n", std::to_string(n + 1));
}

// Every update reads the file again under the lock, so no increment is lost.
TEST(Concurrency, UpdatesAreNeverLost) {
  test::TempDir dir;
  std::string path = dir.file("YOMITE.INI");
  pid_t pids[WRITERS];
  for (int w = 0; w < WRITERS; ++w) {
    pids[w] = fork();
    ASSERT_GE(pids[w], 0);
    if (pids[w] == 0) {
      for (int r = 0; r < ROUNDS; ++r)
        if (!ini_update(path, increment, nullptr)) _exit(1);
      _exit(0);
    }
  }
  for (pid_t pid : pids) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  IniFile ini;
  ini_load(path, ini);
  EXPECT_EQ(ini_get(ini, "Count", "n", ""), std::to_string(WRITERS * ROUNDS));
}

}  // namespace
}  // namespace yomite
