// The start-up steps for the file: full path, the history's mark, the title.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files.h"
#include "tests/temp_dir.h"
#include "viewer/startup.h"

namespace yomite {
namespace {

std::string cwd() {
  return std::filesystem::current_path().string();
}

TEST(MakeFullPath, Table) {
  struct Case {
    std::string name, full;
  };
#if defined(_WIN32)
  const std::string here = cwd();
  const Case cases[] = {
      {"C:\\a\\b.txt", "C:\\a\\b.txt"},
      {"c:\\a\\.\\b\\..\\c.txt", "C:\\a\\c.txt"},  // the drive in upper case
      {"C:/a//b.txt", "C:\\a\\b.txt"},
      {"C:\\..\\x", "C:\\x"},  // nothing above the root
      {"book.txt", here + "\\book.txt"},
      {".\\d\\..\\book.txt", here + "\\book.txt"},
  };
#else
  const Case cases[] = {
      {"/a/b.txt", "/a/b.txt"},          {"/a/./b/../c.txt", "/a/c.txt"},
      {"//a//b.txt", "/a/b.txt"},        {"/../x", "/x"},  // nothing above the root
      {"book.txt", cwd() + "/book.txt"}, {"./d/../book.txt", cwd() + "/book.txt"},
  };
#endif
  for (const Case& c : cases) {
    std::string name = c.name;
    EXPECT_EQ(make_full_path(name), 1);
    EXPECT_EQ(name, c.full);
  }
}

TEST(WindowTitle, Table) {
  EXPECT_EQ(window_title(""), "Yomite");
  EXPECT_EQ(window_title("/books/本.txt"), "本.txt - Yomite");
  EXPECT_EQ(window_title("/books/novel.zip"), "novel.zip - Yomite");
  EXPECT_EQ(window_title("plain"), "plain - Yomite");
  EXPECT_EQ(window_title("C:\\books\\本.txt"), "本.txt - Yomite");
}

TEST(TakeFile, MarkPageFromTheHistoryUnderAnyCase) {
  std::string dir = test::process_temp_dir().path;
  std::string settings = dir + "/startup.ini";
  // The history holds full paths as the system writes them.
  std::string book;
  platform::full_path(dir + "/BOOK.TXT", book);
  std::ofstream(settings) << "[History]\n01F=\"/ELSEWHERE.TXT\"\n01M=4\n02F=\"" << book
                          << "\"\n02M=7\n";
  ViewContext v;
  v.settings.markup_enabled = 0;
  History history;
  take_file(v, dir + "/book.txt", history, settings);
  EXPECT_EQ(v.viewport.mark_page, 7);
  EXPECT_EQ(v.settings.markup_enabled, 1);
  EXPECT_EQ(history[0].file_name, "/ELSEWHERE.TXT");
}

TEST(TakeFile, NoFileStillReadsTheHistoryForItsCommands) {
  std::string settings = test::process_temp_dir().file("empty-viewer.ini");
  std::ofstream(settings) << "[History]\n01F=\"/books/a.txt\"\n01M=4\n02F=\"\"\n";
  ViewContext v;
  v.settings.markup_enabled = 0;
  History history;
  take_file(v, "", history, settings);
  EXPECT_TRUE(v.doc.file_name.empty());
  EXPECT_EQ(v.settings.markup_enabled, 1);
  EXPECT_EQ(history[0].file_name, "/books/a.txt");
  EXPECT_EQ(v.viewport.mark_page, 0);  // an empty entry is not the (empty) shown file
}

// A named file that cannot be shown is said, with why; no file is no refusal.
TEST(TakeFile, AFileThatCannotBeShownIsRefusedWithWhy) {
  test::TempDir dir;
  std::ofstream(dir.file("book.txt")) << "本";
  std::filesystem::create_directory(dir.file("folder.txt"));
  struct Case {
    std::string file;
    const char* refusal;
  } cases[] = {{dir.file("book.txt"), nullptr},
               {dir.file("missing.txt"), "見つかりません"},
               {dir.file("folder.txt"), "フォルダーです"},
               {"", nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    ViewContext v;
    History history;
    take_file(v, c.file, history, dir.file("settings.ini"));
    const char* refusal = file_refusal(v);
    EXPECT_EQ(refusal ? std::string(refusal) : "", c.refusal ? std::string(c.refusal) : "");
  }
}

}  // namespace
}  // namespace yomite
