#include "settings/history.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/temp_dir.h"

namespace yomite {
namespace {

constexpr int FIRST_ID = 200;

struct HistoryTest : ::testing::Test {
  test::TempDir dir;
  std::string path = dir.file("YOMITE.INI");
  History history{};
  ViewContext view;

  // Closes a window that showed `name` with its mark on `page`.
  void close(const std::string& name, int page) {
    view.doc.file_name = name;
    view.viewport.mark_page = page;
    ASSERT_EQ(write_history(history, view, path), 1);
  }
  std::vector<std::string> names() {
    IniFile ini;
    ini_load(path, ini);
    History h{};
    history_from_ini(ini, h);
    std::vector<std::string> out;
    for (const HistoryEntry& e : h)
      if (!e.file_name.empty()) out.push_back(e.file_name);
    return out;
  }
};

TEST_F(HistoryTest, EmptyHistoryMenu) {
  read_history(history, view, path);
  HistoryMenu menu = history_menu(history, view, FIRST_ID);
  EXPECT_EQ(menu.title, "履歴(&H)");
  ASSERT_EQ(menu.items.size(), 1u);
  EXPECT_EQ(menu.items[0].label, "(なし)");
  EXPECT_EQ(menu.items[0].id, 200);
  EXPECT_EQ(menu.items[0].grayed, 1);
}

TEST_F(HistoryTest, ClosingAListedFileMovesItToTheTop) {
  for (int i = 6; i >= 0; --i) close("/b/" + std::to_string(i) + ".txt", i);
  close("/b/5.txt", 9);  // at position 5
  EXPECT_EQ(names(), (std::vector<std::string>{"/b/5.txt", "/b/0.txt", "/b/1.txt", "/b/2.txt",
                                               "/b/3.txt", "/b/4.txt", "/b/6.txt"}));
  EXPECT_EQ(history[0].mark_page, 9u);
  EXPECT_EQ(history[6].mark_page, 6u);
}

TEST_F(HistoryTest, TwentyFirstFileDropsTheOldest) {
  for (int i = 1; i <= 21; ++i) close("/b/" + std::to_string(i), 0);
  std::vector<std::string> n = names();
  ASSERT_EQ(n.size(), 20u);
  EXPECT_EQ(n.front(), "/b/21");
  EXPECT_EQ(n.back(), "/b/2");
}

TEST_F(HistoryTest, OtherLetterCaseIsTheSameFile) {
  close("/Books/Natsu.TXT", 1);
  close("/books/natsu.txt", 3);
  EXPECT_EQ(names(), std::vector<std::string>{"/Books/Natsu.TXT"});
  EXPECT_EQ(history[0].mark_page, 3u);
  // Only ASCII letters fold: full-width letters are different names.
  close("/books/Ａ.txt", 0);
  close("/books/ａ.txt", 0);
  EXPECT_EQ(names().size(), 3u);
}

TEST_F(HistoryTest, MenuAcceleratorsThenBlanks) {
  for (int i = 12; i >= 1; --i) close("/b/dir.d/f" + std::to_string(i) + ".txt", 0);
  close("/b/R&D.txt", 0);
  view.doc.file_name = "/B/DIR.D/F3.TXT";  // the shown file, in another case
  read_history(history, view, path);
  HistoryMenu menu = history_menu(history, view, FIRST_ID);
  ASSERT_EQ(menu.items.size(), 13u);
  EXPECT_EQ(menu.items[0].label, "&1 R&&D.txt");
  EXPECT_EQ(menu.items[1].label, "&2 f1.txt");
  EXPECT_EQ(menu.items[8].label, "&9 f8.txt");
  EXPECT_EQ(menu.items[9].label, "   f9.txt");
  EXPECT_EQ(menu.items[12].label, "   f12.txt");
  EXPECT_EQ(menu.items[12].id, 212);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(menu.items[i].checked, i == 3) << i;
}

TEST_F(HistoryTest, MenuStopsAtFirstFreeEntryButFileKeepsTheRest) {
  std::ofstream(path) << "[History]\n01F=\"/a\"\n02F=\"\"\n03F=\"/c\"\n03M=4\n";
  read_history(history, view, path);
  EXPECT_EQ(history_menu(history, view, FIRST_ID).items.size(), 1u);
  close("/new", 0);
  EXPECT_EQ(names(), (std::vector<std::string>{"/new", "/a", "/c"}));
  EXPECT_EQ(history[3].mark_page, 4u);
}

TEST_F(HistoryTest, MarkPageRestoredForTheShownFileOnly) {
  close("/b/one", 7);
  close("/b/two", 2);
  ViewContext again;
  again.doc.file_name = "/B/ONE";
  read_history(history, again, path);
  EXPECT_EQ(again.viewport.mark_page, 7);
  ViewContext none;
  read_history(history, none, path);
  EXPECT_EQ(none.viewport.mark_page, 0);
}

TEST_F(HistoryTest, AnArchivesTextIsKeptUnderTheArchive) {
  // The unpacked copy goes when the viewer ends: the archive is what can be opened again.
  view.doc.archive_name = "/books/novel.zip";
  close("/tmp/yomite-0/run-abc/novel.txt", 4);
  EXPECT_EQ(names(), std::vector<std::string>{"/books/novel.zip"});
  ViewContext again;
  again.doc.file_name = "/books/NOVEL.ZIP";  // as the next viewer is asked to open it
  read_history(history, again, path);
  EXPECT_EQ(again.viewport.mark_page, 4);
  again.doc.archive_name = again.doc.file_name;
  again.doc.file_name = "/tmp/yomite-0/run-def/novel.txt";
  EXPECT_EQ(history_menu(history, again, FIRST_ID).items[0].checked, 1);
}

TEST_F(HistoryTest, AllFortyKeysWritten) {
  close("/b/ a ", 5);  // blanks inside the quotes survive
  IniFile ini;
  ini_load(path, ini);
  EXPECT_EQ(ini_get(ini, "History", "01F", "x"), "/b/ a ");
  EXPECT_EQ(ini_get(ini, "History", "01M", "x"), "5");
  EXPECT_EQ(ini_get(ini, "History", "20F", "x"), "");
  EXPECT_EQ(ini_get(ini, "History", "20M", "x"), "0");
  std::ifstream in(path);
  std::string text((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(text.find("02F=\"\"\n02M=0\n03F"), std::string::npos);
}

TEST_F(HistoryTest, NothingWrittenWithoutAFileOrWithALineBreak) {
  close("", 3);
  close("/b/x\n[Color]", 3);
  std::ifstream in(path);
  EXPECT_FALSE(in.good());
}

TEST_F(HistoryTest, OverlongStoredNameIsAFreeEntry) {
  std::ofstream(path) << "[History]\n01F=\"/" << std::string(5000, 'a') << "\"\n02F=\"/b\"\n";
  read_history(history, view, path);
  EXPECT_EQ(history[0].file_name, "");
  EXPECT_EQ(history[1].file_name, "/b");
}

}  // namespace
}  // namespace yomite
