// Entry names as both builds read and write them: the stored bytes are read
// alike (UTF-8 when marked so or valid, else code page 932), and the unpacked
// copy is named alike on every system, whatever the stored name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/archive.h"
#include "platform/archive.h"
#include "platform/files.h"
#include "platform/path_names.h"
#include "tests/platform/zip_builder.h"
#include "tests/temp_dir.h"

namespace yomite {
namespace {

using test::zip::archive;
using test::zip::FLAG_UTF8;
using test::zip::Made;

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(ArchiveName, ZipExtensionInAnyCase) {
  struct Case {
    const char* path;
    int zip;
  } cases[] = {{"/b/a.ZIP", 1},  {"/b/a.zip", 1}, {"/b/a.Zip", 1}, {"/b/a.zip.txt", 0},
               {"/b/a.zi", 0},   {"/b/azip", 0},  {"/b.zip/a", 0}, {"/b/.zip", 1},
               {"/b/a.zipx", 0}, {"", 0}};
  for (const Case& c : cases) EXPECT_EQ(is_zip_name(c.path), c.zip) << c.path;
}

TEST(ArchiveName, EntryNamesStayInside) {
  struct Case {
    const char* stored;
    const char* name;  // null: refused
  } cases[] = {{"a.txt", "a.txt"},
               {"dir/a.txt", "a.txt"},
               {"../../.bashrc", ".bashrc"},
               {"/etc/passwd", "passwd"},
               {"..\\..\\win.ini", "win.ini"},
               {"C:autoexec.bat", "autoexec.bat"},
               {"C:", nullptr},
               {"dir/", nullptr},
               {"", nullptr},
               {".", nullptr},
               {"a/..", nullptr},
               {"..", nullptr},
               // what no Windows file name may hold, the same on every system
               {"a<b>|c?*\".txt", "a_b__c___.txt"},
               {"tab\there.txt", "tab_here.txt"},
               {"end.", "end_"},
               {"end ", "end_"},
               {"CON", "_CON"},
               {"nul.txt", "_nul.txt"},
               {"Com1.log", "_Com1.log"},
               {"LPT9", "_LPT9"},
               {"com0.txt", "com0.txt"},
               {"console.txt", "console.txt"}};
  for (const Case& c : cases) {
    std::string name;
    EXPECT_EQ(entry_file_name(c.stored, name), c.name ? 1 : 0) << c.stored;
    if (c.name) {
      EXPECT_EQ(name, c.name);
    }
  }
}

// A name longer than a file name may be (a Linux one holds 255 bytes) is cut
// at a character, keeping its extension: the copy needs nothing else of it.
TEST(ArchiveName, LongNamesAreShortenedKeepingTheExtension) {
  struct Case {
    std::string stored, name;
  } cases[] = {
      {repeat("漢", 100) + ".txt", repeat("漢", 83) + ".txt"},  // 304 bytes: 83 kanji fit
      {repeat("a", 251) + ".txt", repeat("a", 251) + ".txt"},    // 255 bytes stay
      {repeat("a", 252) + ".txt", repeat("a", 251) + ".txt"},
      {repeat("a", 300) + "." + repeat("x", 20), repeat("a", 255)},  // no extension that long
      {"dir/" + repeat("本", 90) + ".text", repeat("本", 83) + ".text"},
  };
  for (const Case& c : cases) {
    std::string name;
    ASSERT_EQ(entry_file_name(c.stored, name), 1) << c.stored;
    EXPECT_EQ(name, c.name);
    EXPECT_LE(name.size(), ENTRY_NAME_MAX_BYTES);
  }
}

// Archives unpacked through this build's archive service (libzip on Linux,
// the project's reader on Windows) into the private directory.
struct ArchiveNames : ::testing::Test {
  test::TempDir dir;
  ~ArchiveNames() override { platform::remove_extraction_dirs(); }

  // The name the first entry of `entries` is unpacked under, its bytes checked.
  std::string unpacked(const std::vector<Made>& entries) {
    const std::string path = dir.file("names.zip");
    std::string bytes = archive(entries);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr);
    if (!f) return "";
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    std::string result, contents;
    EXPECT_EQ(extract_first_entry(path.c_str(), result), 1) << entries[0].name;
    EXPECT_EQ(platform::read_file_bytes(result.c_str(), contents, 1 << 20), 1) << result;
    EXPECT_EQ(contents, entries[0].data);
    return platform::file_name_part(result);
  }
};

// Japanese archivers store names in code page 932 without the UTF-8 mark;
// both builds read them so ("表" ends in the byte of '\', which separates
// nothing inside a character).
TEST_F(ArchiveNames, UnmarkedNamesAreCodePage932InEveryBuild) {
  EXPECT_EQ(unpacked({{"\x96\x7B\x95\xB6.txt", "本文"}}), "本文.txt");
  EXPECT_EQ(unpacked({{"\x95\x5C.txt", "表"}}), "表.txt");
  EXPECT_EQ(unpacked({{"\xB6\xC5.txt", "kana"}}), "ｶﾅ.txt");
  // Marked UTF-8, or valid UTF-8 without the mark, is taken as it is.
  EXPECT_EQ(unpacked({{"本文.txt", "marked", test::zip::STORED, FLAG_UTF8}}), "本文.txt");
  EXPECT_EQ(unpacked({{"本文.txt", "unmarked"}}), "本文.txt");
}

// Every entry unpacks, whatever its name: a long one (fine on Windows, longer
// than a Linux file name), a device's, one Windows would not take.
TEST_F(ArchiveNames, EveryEntryUnpacksWhateverItsName) {
  EXPECT_EQ(unpacked({{repeat("漢", 100) + ".txt", "long", test::zip::STORED, FLAG_UTF8}}),
            repeat("漢", 83) + ".txt");
  EXPECT_EQ(unpacked({{"CON.txt", "device"}}), "_CON.txt");
  EXPECT_EQ(unpacked({{"書:き?.txt", "colon"}}), "書_き_.txt");
}

}  // namespace
}  // namespace yomite
