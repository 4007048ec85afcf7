// Places as the settings write them, the history's places, and the bookmarks
// file: its format read back the same, hostile content, writes that keep
// what another viewer wrote, and concurrent writers.
#include "settings/bookmarks_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/fake/fake_desktop.h"
#include "settings/anchor_text.h"
#include "settings/history.h"
#include "settings/ini.h"
#include "tests/temp_dir.h"
#include "view/limits.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace yomite {
namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

Bookmark mark(int logical, int offset, long long time, const std::string& name,
              const std::u16string& excerpt = u"本文") {
  Bookmark m;
  m.place.logical = logical;
  m.place.offset = offset;
  m.place.excerpt = excerpt;
  m.time = time;
  m.name = name;
  return m;
}

TEST(AnchorText, ReadsBackWhatItWritesAndRefusesWhatItDidNot) {
  TextAnchor a{120, 7, u"吾輩は猫である,名前はまだ"};
  TextAnchor back;
  ASSERT_EQ(parse_anchor(format_anchor(a), back), 1);
  EXPECT_EQ(back.logical, 120);
  EXPECT_EQ(back.offset, 7);
  EXPECT_EQ(back.excerpt, a.excerpt);  // a comma in the words stays
  EXPECT_EQ(format_anchor(TextAnchor{}), "");

  struct Case {
    const char* text;
    int ok;
  };
  const Case cases[] = {
      {"", 0},          {"12", 0},           {"12,", 0},
      {",3,x", 0},      {"-1,3,x", 0},       {"1,-3,x", 0},
      {"1,3", 0},       {"1,3,", 1},         {"x,3,a", 0},
      {"1 ,3,a", 0},    {"67108864,0,a", 1}, {"67108865,0,a", 0},
      {"0,32767,a", 1}, {"0,32768,a", 0},    {"99999999999999999999,0,a", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TextAnchor t;
    EXPECT_EQ(parse_anchor(c.text, t), c.ok);
    if (!c.ok) {
      EXPECT_EQ(t.logical, -1);
    }
  }
  // Blanks and control characters leave an excerpt; it is cut to its limit.
  TextAnchor t;
  ASSERT_EQ(parse_anchor("1,2,a b\tc\x7F"
                         "\xE3\x80\x80"
                         "d",
                         t),
            1);
  EXPECT_EQ(t.excerpt, u"abcd");
  ASSERT_EQ(parse_anchor("1,2," + std::string(500, 'x'), t), 1);
  EXPECT_EQ(t.excerpt.size(), static_cast<std::size_t>(ANCHOR_EXCERPT_MAX));
  // Broken UTF-8 gives replacement marks, never a failure.
  ASSERT_EQ(parse_anchor("1,2,\xFF\xFE", t), 1);
}

std::string history_key(const std::string& path, const char* key) {
  IniFile ini;
  ini_load(path, ini);
  return ini_get(ini, "History", key, "absent");
}

class HistoryPlaces : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string path = dir.file("YOMITE.INI");
  ViewContext v;
};

TEST_F(HistoryPlaces, KeptPerEntryOnlyOnceUsedAndMovedWithIt) {
  History history{};
  v.doc.file_name = "/books/a.txt";
  v.settings.keep_place = 0;  // switched off: no place is written
  ASSERT_EQ(write_history(history, v, path), 1);
  EXPECT_EQ(slurp(path).find("01P"), std::string::npos);

  v.settings.keep_place = 1;
  v.viewport.top_place.anchor = TextAnchor{40, 3, u"あいう"};
  ASSERT_EQ(write_history(history, v, path), 1);
  // Read back as the settings are (the Windows build writes its code page).
  EXPECT_EQ(history_key(path, "01P"), "40,3,あいう") << slurp(path);

  // Another file goes first: the place moves with its entry.
  ViewContext other;
  other.doc.file_name = "/books/b.txt";
  other.viewport.top_place.anchor = TextAnchor{};
  ASSERT_EQ(write_history(history, other, path), 1);
  IniFile ini;
  ini_load(path, ini);
  EXPECT_EQ(ini_get(ini, "History", "02F", ""), "/books/a.txt");
  EXPECT_EQ(ini_get(ini, "History", "02P", ""), "40,3,あいう");
  EXPECT_EQ(ini_get(ini, "History", "01P", "absent"), "") << "the key that was there is emptied";
  EXPECT_EQ(ini_get(ini, "History", "03P", "absent"), "absent");

  // Opening the file again: the place is read for the open step to find.
  ViewContext again;
  again.doc.file_name = "/books/A.TXT";  // the same file in another case
  History read{};
  read_history(read, again, path);
  EXPECT_EQ(again.viewport.top_place.anchor.logical, 40);
  EXPECT_EQ(again.viewport.top_place.anchor.offset, 3);
  EXPECT_EQ(again.viewport.top_place.line, -1);  // not found in this process yet

  // Switched off, a viewer leaves the place it finds for the file alone.
  v.settings.keep_place = 0;
  v.viewport.top_place.anchor = TextAnchor{1, 1, u"x"};
  ASSERT_EQ(write_history(history, v, path), 1);
  EXPECT_EQ(history_key(path, "01P"), "40,3,あいう") << slurp(path);
}

TEST_F(HistoryPlaces, AHostilePlaceIsNoPlace) {
  std::ofstream(path) << "[History]\n01F=\"/books/a.txt\"\n01M=2\n01P=999999999999,x,\n";
  v.doc.file_name = "/books/a.txt";
  History history{};
  read_history(history, v, path);
  EXPECT_EQ(v.viewport.mark_page, 2);
  EXPECT_EQ(v.viewport.top_place.anchor.logical, -1);
}

// --- the bookmarks file ---

TEST(BookmarksFormat, ReadsBackTheSameAndCleansWhatItReads) {
  std::vector<BookmarkBook> books = {
      {"/books/a.txt", {mark(3, 0, 100, "一"), mark(10, 4, 200, "A, \"quoted\" name")}},
      {"C:\\本\\b.txt", {mark(0, 0, 0, "")}},
  };
  const std::string text = format_bookmarks(books);
  const std::string head = "[Book]\nFile=/books/a.txt\nPlace=3,0,本文\nTime=100\nName=\"一\"\n";
  EXPECT_EQ(text.substr(0, head.size()), head);
  std::vector<BookmarkBook> back = parse_bookmarks(text);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].file, "/books/a.txt");
  ASSERT_EQ(back[0].marks.size(), 2u);
  EXPECT_EQ(back[0].marks[1].name, "A, \"quoted\" name");
  EXPECT_EQ(back[0].marks[1].time, 200);
  EXPECT_EQ(back[0].marks[1].place.offset, 4);
  EXPECT_EQ(back[1].file, "C:\\本\\b.txt");
  EXPECT_EQ(format_bookmarks(back), text);

  // What a hand, another program or a broken disk may leave there.
  const std::string hostile =
      "\xEF\xBB\xBF; a comment\r\n"
      "Place=1,1,outside any section\n"
      "[Other]\nFile=/x\nPlace=1,1,x\n"
      "[book]\nPlace=5,0,before its file\nfile=/books/c.txt\n"
      "Time=7\n"  // no bookmark yet: ignored
      "Place=9,2,九\nTime=-5\nName=\"\x01\x02tab\there\"\n"
      "Place=bad\nName=belongs to nothing\n"
      "Place=2,0,二\nTime=99999999999999999999\nName=  spaced  \n"
      "[Book]\nPlace=1,0,no file\n"
      "[Book]\nFile=/books/c.txt\nPlace=1,0,一\nTime=1\n";
  back = parse_bookmarks(hostile);
  ASSERT_EQ(back.size(), 1u);  // the two sections of c.txt are one book
  EXPECT_EQ(back[0].file, "/books/c.txt");
  ASSERT_EQ(back[0].marks.size(), 4u);
  EXPECT_EQ(back[0].marks[0].place.logical, 1);  // in book order
  EXPECT_EQ(back[0].marks[1].place.logical, 2);
  EXPECT_EQ(back[0].marks[1].time, 0);
  EXPECT_EQ(back[0].marks[1].name, "spaced");
  EXPECT_EQ(back[0].marks[2].place.logical, 5);
  EXPECT_EQ(back[0].marks[3].time, 0);
  EXPECT_EQ(back[0].marks[3].name, "tab here");

  // Paths that reading would change unquoted: blanks at an end, quotes around.
  for (const char* path : {"/books/d.txt ", "\t/books/d.txt", "\"/books/d.txt\"", "\"\""}) {
    const std::vector<BookmarkBook> odd = {{path, {mark(1, 0, 1, "")}}};
    back = parse_bookmarks(format_bookmarks(odd));
    ASSERT_EQ(back.size(), 1u) << path;
    EXPECT_EQ(back[0].file, path);
  }

  // Names: one line, no control characters, cut by characters.
  EXPECT_EQ(clean_bookmark_name("a\r\nb"), "a  b");
  std::string long_name;
  for (int i = 0; i < BOOKMARK_NAME_MAX_CHARS + 5; ++i) long_name += "あ";
  EXPECT_EQ(clean_bookmark_name(long_name).size(), 3u * BOOKMARK_NAME_MAX_CHARS);
  // Control characters count too: a name of them past the limit is cut
  // there, and a clean name stays as it is when cleaned again.
  const std::string controls = "a" + std::string(BOOKMARK_NAME_MAX_CHARS + 5, '\0') + "b";
  EXPECT_EQ(clean_bookmark_name(controls), "a");
  const std::string tabs = "a" + std::string(BOOKMARK_NAME_MAX_CHARS - 2, '\t') + "bc";
  EXPECT_EQ(clean_bookmark_name(tabs), "a" + std::string(BOOKMARK_NAME_MAX_CHARS - 2, ' ') + "b");
  EXPECT_EQ(clean_bookmark_name(clean_bookmark_name(tabs)), clean_bookmark_name(tabs));

  // At most BOOKMARKS_PER_FILE_MAX a file.
  std::string many = "[Book]\nFile=/m\n";
  for (int i = 0; i < BOOKMARKS_PER_FILE_MAX + 10; ++i)
    many += "Place=" + std::to_string(i) + ",0,x\n";
  back = parse_bookmarks(many);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].marks.size(), static_cast<std::size_t>(BOOKMARKS_PER_FILE_MAX));
}

class BookmarksFile : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string path = bookmarks_path(dir.file("YOMITE.INI"));
};

TEST_F(BookmarksFile, BesideTheSettingsFile) {
  EXPECT_EQ(bookmarks_path("/home/u/.config/yomite/YOMITE.INI"),
            "/home/u/.config/yomite/BOOKMARK.INI");
  EXPECT_EQ(bookmarks_path("C:\\Yomite\\YOMITE.INI"), "C:\\Yomite\\BOOKMARK.INI");
  EXPECT_EQ(path, dir.file(BOOKMARKS_FILE_NAME));
}

TEST_F(BookmarksFile, AddRenameRemoveKeepOtherWritersAndNotify) {
  const int notices = fake::settings_notices();
  EXPECT_TRUE(read_bookmarks(path, "/a.txt").empty());  // no file yet
  ASSERT_EQ(add_bookmark(path, "/a.txt", mark(20, 0, 5, "later")), 1);
  ASSERT_EQ(add_bookmark(path, "/a.txt", mark(10, 0, 6, "earlier")), 1);
  EXPECT_EQ(fake::settings_notices(), notices + 2);
  // Another viewer's write between two of this one's stays.
  std::ofstream(path, std::ios::app) << "[Book]\nFile=/b.txt\nPlace=1,0,x\nName=\"b\"\n";
  ASSERT_EQ(add_bookmark(path, "/a.txt", mark(15, 0, 7, "middle")), 1);
  std::vector<Bookmark> a = read_bookmarks(path, "/A.TXT");  // letter case aside
  ASSERT_EQ(a.size(), 3u);
  EXPECT_EQ(a[0].name, "earlier");
  EXPECT_EQ(a[1].name, "middle");
  EXPECT_EQ(a[2].name, "later");
  EXPECT_EQ(read_bookmarks(path, "/b.txt").size(), 1u);

  ASSERT_EQ(rename_bookmark(path, "/a.txt", a[1], "真ん中\nx"), 1);
  EXPECT_EQ(read_bookmarks(path, "/a.txt")[1].name, "真ん中 x");
  EXPECT_EQ(rename_bookmark(path, "/a.txt", mark(15, 0, 8, ""), "no such"), 0);  // another time
  ASSERT_EQ(remove_bookmark(path, "/a.txt", a[0]), 1);
  EXPECT_EQ(remove_bookmark(path, "/a.txt", a[0]), 0);
  EXPECT_EQ(read_bookmarks(path, "/a.txt").size(), 2u);
  ASSERT_EQ(remove_bookmark(path, "/b.txt", read_bookmarks(path, "/b.txt")[0]), 1);
  EXPECT_EQ(slurp(path).find("/b.txt"), std::string::npos) << "an empty book leaves the file";
  EXPECT_EQ(add_bookmark(path, "", mark(1, 0, 0, "")), 0);
  EXPECT_EQ(add_bookmark(path, "/a.txt", mark(-1, 0, 0, "")), 0);
}

TEST_F(BookmarksFile, NeverWritesAFileTheNextReadRefuses) {
  // Near the size limit: a bookmark that would pass it is refused and the
  // file stays as it was.
  std::vector<BookmarkBook> books;
  std::size_t size = 0;
  for (int b = 0; size < SETTINGS_FILE_MAX_BYTES; ++b) {
    BookmarkBook book{"/big" + std::to_string(b), {}};
    for (int i = 0; i < 100; ++i)
      book.marks.push_back(mark(i, 0, 1, "n", std::u16string(40, u'x')));
    size += format_bookmarks({book}).size();
    books.push_back(book);
  }
  // Less than a bookmark's room left.
  while (format_bookmarks(books).size() > SETTINGS_FILE_MAX_BYTES - 150)
    books.back().marks.pop_back();
  std::ofstream(path, std::ios::binary) << format_bookmarks(books);
  const std::string before = slurp(path);
  EXPECT_EQ(add_bookmark(path, "/other.txt",
                         mark(1, 0, 1, std::string(80, 'n'), std::u16string(60, u'x'))),
            0);
  EXPECT_TRUE(slurp(path) == before);
  // A file that is too large already is never replaced.
  std::ofstream(path, std::ios::binary | std::ios::app)
      << std::string(SETTINGS_FILE_MAX_BYTES, ';');
  const std::string huge = slurp(path);
  EXPECT_EQ(add_bookmark(path, "/a.txt", mark(1, 0, 1, "a")), 0);
  EXPECT_TRUE(slurp(path) == huge);
  EXPECT_TRUE(read_bookmarks(path, "/big0").empty());
}

TEST_F(BookmarksFile, AFileOfOneBookHoldsAtMostItsLimit) {
  std::string full = "[Book]\nFile=/a.txt\n";
  for (int i = 0; i < BOOKMARKS_PER_FILE_MAX; ++i) full += "Place=" + std::to_string(i) + ",0,x\n";
  std::ofstream(path, std::ios::binary) << full;
  EXPECT_EQ(add_bookmark(path, "/a.txt", mark(1, 0, 1, "one more")), 0);
  EXPECT_EQ(add_bookmark(path, "/b.txt", mark(1, 0, 1, "another file")), 1);
}

#ifndef _WIN32
// Viewers adding bookmarks at the same moment keep every one.
TEST_F(BookmarksFile, ConcurrentWritersLoseNothing) {
  constexpr int WRITERS = 6, EACH = 25;
  pid_t pids[WRITERS];
  for (int w = 0; w < WRITERS; ++w) {
    pids[w] = fork();
    ASSERT_GE(pids[w], 0);
    if (pids[w] == 0) {
      for (int k = 0; k < EACH; ++k) {
        // Half of them into one book, half into a book of their own.
        const std::string file = w % 2 ? "/shared.txt" : "/own" + std::to_string(w) + ".txt";
        if (!add_bookmark(path, file, mark(w * 1000 + k, 0, k, "w" + std::to_string(w)))) _exit(1);
        if (parse_bookmarks(slurp(path)).empty()) _exit(2);  // readers see a whole file
      }
      _exit(0);
    }
  }
  for (pid_t pid : pids) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  EXPECT_EQ(read_bookmarks(path, "/shared.txt").size(),
            static_cast<std::size_t>(EACH * WRITERS / 2));
  for (int w = 0; w < WRITERS; w += 2)
    EXPECT_EQ(read_bookmarks(path, "/own" + std::to_string(w) + ".txt").size(),
              static_cast<std::size_t>(EACH));
}
#endif

}  // namespace
}  // namespace yomite
