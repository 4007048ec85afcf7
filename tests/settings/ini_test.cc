#include "settings/ini.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/temp_dir.h"

namespace yomite {
namespace {

// What the Windows profile functions leave behind on a Japanese system:
// CP932 bytes, CR LF, quoted values, names in whatever case the caller used.
const char WINDOWS_FILE[] =
    "; written by hand\r\n"
    "[color]\r\n"
    "FORE=FFFFFF\r\n"
    "  back  =  7F0000  \r\n"
    "\r\n"
    "[FONT]\r\n"
    "font=\"@\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e\"\r\n"  // @ＭＳ ゴシック
    "Size=24\r\n"
    "[History]\r\n"
    "01F=\"C:\\\x96\x7b\\\x89\xc4.txt\"\r\n"  // C:\本\夏.txt
    "01M=7\r\n";

TEST(IniRead, WindowsProfileFileReadsBack) {
  IniFile ini;
  ini_parse(WINDOWS_FILE, ini);
  EXPECT_EQ(ini_get(ini, "Color", "Fore", "x"), "FFFFFF");
  EXPECT_EQ(ini_get(ini, "Color", "Back", "x"), "7F0000");
  EXPECT_EQ(ini_get(ini, "Font", "Font", "x"), "@ＭＳ ゴシック");
  EXPECT_EQ(ini_get(ini, "font", "SIZE", "x"), "24");
  EXPECT_EQ(ini_get(ini, "History", "01F", "x"), "C:\\本\\夏.txt");
  EXPECT_EQ(ini_get(ini, "History", "01m", "x"), "7");
}

TEST(IniRead, MissingSectionOrKeyGivesDefault) {
  IniFile ini;
  ini_parse("[A]\nk=1\n; k2=2\n[B]\n", ini);
  EXPECT_EQ(ini_get(ini, "A", "k2", "d"), "d");
  EXPECT_EQ(ini_get(ini, "B", "k", "d"), "d");
  EXPECT_EQ(ini_get(ini, "C", "k", "d"), "d");
  IniFile empty;
  ini_parse("", empty);
  EXPECT_EQ(ini_get(empty, "A", "k", "d"), "d");
}

TEST(IniRead, OnePairOfEnclosingQuotesRemoved) {
  struct Case {
    const char* stored;
    const char* read;
  } cases[] = {
      {"\"a b\"", "a b"},         {"\"\"", ""},
      {"\"\"x\"\"", "\"x\""},     {"*\"C:\\e.exe\"", "*\"C:\\e.exe\""},
      {"\"half", "\"half"},       {"\"", "\""},
      {"\"  pad  \"", "  pad  "},
  };
  for (const Case& c : cases) {
    IniFile ini;
    ini_parse(std::string("[S]\nk=") + c.stored + "\n", ini);
    EXPECT_EQ(ini_get(ini, "S", "k", "d"), c.read) << c.stored;
  }
}

TEST(IniRead, ByteOrderMarksAndLoneLines) {
  IniFile ini;
  ini_parse("\xEF\xBB\xBF[S]\nk=\xE5\xA4\x8F", ini);  // UTF-8 mark, no final line end
  EXPECT_EQ(ini_get(ini, "S", "k", "d"), "夏");
  ini_parse(std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\x0F\x59", 18), ini);  // UTF-16LE
  EXPECT_EQ(ini_get(ini, "S", "k", "d"), "夏");
}

TEST(IniWrite, CreatesSectionAndKeyAndKeepsTheRest) {
  IniFile ini;
  ini_parse(WINDOWS_FILE, ini);
  ini_set(ini, "COLOR", "fore", "123456");      // replaced where it stands
  ini_set(ini, "Color", "Footnote", "00FF00");  // appended to its section
  ini_set(ini, "Tool", "Editor", "*gedit");     // new section at the end
  std::string text = ini_serialize(ini);
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_NE(text.find("; written by hand\n[color]\nFORE=123456\n  back  =  7F0000  \n"
                      "Footnote=00FF00\n\n[FONT]\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("01F=\"C:\\本\\夏.txt\"\n"), std::string::npos);  // now UTF-8
  EXPECT_EQ(text.substr(text.size() - 21), "[Tool]\nEditor=*gedit\n");
  IniFile again;
  ini_parse(text, again);
  EXPECT_EQ(ini_get(again, "Color", "Fore", ""), "123456");
  EXPECT_EQ(ini_get(again, "Font", "Font", ""), "@ＭＳ ゴシック");
}

TEST(IniWrite, ValueEndsAtLineBreak) {
  IniFile ini;
  ini_set(ini, "S", "k", "one\n[Evil]\nk=2");
  IniFile again;
  ini_parse(ini_serialize(ini), again);
  EXPECT_EQ(ini_get(again, "S", "k", ""), "one");
  EXPECT_EQ(ini_get(again, "Evil", "k", "none"), "none");
}

// Stray CRs before a line's end: the file written again says what it said.
TEST(IniWrite, StrayCarriageReturnsDoNotChangeTheMeaning) {
  IniFile ini;
  ini_parse("[Font\r\r\nSize=-428\r\r\nSize=9\n", ini);
  EXPECT_EQ(ini_get(ini, "Font", "Size", ""), "-428");
  ini_set(ini, "Font", "Size", "18");
  IniFile again;
  ini_parse(ini_serialize(ini), again);
  EXPECT_EQ(ini_get(again, "Font", "Size", ""), "18");
  EXPECT_EQ(ini_serialize(again), ini_serialize(ini));
}

void set_a(IniFile& ini, void*) {
  ini_set(ini, "S", "a", "1");
}

TEST(IniUpdate, ReadsAgainUnderTheLockAndReplaces) {
  test::TempDir dir;
  std::string path = dir.file("YOMITE.INI");
  ASSERT_EQ(ini_update(path, set_a, nullptr), 1);      // creates the file
  std::ofstream(path, std::ios::app) << "[T]\nb=2\n";  // another writer's change
  ASSERT_EQ(ini_update(path, set_a, nullptr), 1);
  IniFile ini;
  ASSERT_EQ(ini_load(path, ini), 1);
  EXPECT_EQ(ini_get(ini, "S", "a", ""), "1");
  EXPECT_EQ(ini_get(ini, "T", "b", ""), "2");
  EXPECT_EQ(ini_load(dir.file("missing.ini"), ini), 0);
  EXPECT_TRUE(ini.lines.empty());
}

}  // namespace
}  // namespace yomite
