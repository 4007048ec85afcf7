// The Win32 file services under the core: names in UTF-8 reach the wide API
// whole (Japanese, long), bytes stay bytes, devices and folders are told
// apart, replacements are atomic, and one file is known under all its names.
#include <windows.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/output.h"
#include "platform/random.h"
#include "platform/win32/random_names.h"
#include "platform/win32/wide.h"
#include "settings/ini.h"
#include "tests/temp_dir.h"

namespace yomite::platform {
namespace {

using win32::widen;

std::string dir_of_test() {
  static test::TempDir dir;
  return dir.path;
}

std::string path(const std::string& name) {
  return dir_of_test() + "\\" + name;
}

void write(const std::string& file, const std::string& bytes) {
  HANDLE h = CreateFileW(win32::file_api_path(file).c_str(), GENERIC_WRITE, 0, nullptr,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << file;
  DWORD wrote = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(h);
}

std::string read(const std::string& file) {
  std::string bytes;
  read_file_bytes(file.c_str(), bytes, 1 << 20);
  return bytes;
}

TEST(Win32Files, JapaneseNamesAndBytesArriveWhole) {
  const std::string name = path("吾輩は猫である.txt");
  write(name, "\x82\xa0\r\n\r\x1a\x00end");
  int problem = -1;
  std::FILE* f = open_regular_file(name.c_str(), &problem);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(problem, FILE_FINE);
  char buf[16];
  EXPECT_EQ(std::fread(buf, 1, sizeof buf, f), 9u) << "CR, Ctrl+Z and NUL are bytes";
  std::fclose(f);
  EXPECT_EQ(is_existing_file(name.c_str()), 1);
}

TEST(Win32Files, LongPathsAreNotCut) {
  std::string dir = dir_of_test();
  for (int i = 0; i < 6; ++i) {
    dir += "\\" + std::string(60, static_cast<char>('a' + i));
    CreateDirectoryW(win32::file_api_path(dir).c_str(), nullptr);
  }
  const std::string name = dir + "\\本文.txt";
  ASSERT_GT(name.size(), 360u);
  write(name, "long");
  EXPECT_EQ(read(name), "long");
  std::string full;
  ASSERT_EQ(full_path(name, full), 1);
  EXPECT_EQ(full.size(), name.size());
}

TEST(Win32Files, DevicesFoldersAndMissingFilesAreRefused) {
  EXPECT_EQ(check_regular_file("NUL"), FILE_NOT_REGULAR);
  EXPECT_NE(check_regular_file("CON"), FILE_FINE);  // a console, or none to open
  EXPECT_EQ(check_regular_file(dir_of_test().c_str()), FILE_DIRECTORY);
  EXPECT_EQ(check_regular_file(path("missing.txt").c_str()), FILE_MISSING);
  EXPECT_EQ(check_regular_file(path("no\\such\\folder.txt").c_str()), FILE_MISSING);
  EXPECT_EQ(is_existing_file(dir_of_test().c_str()), 0);
}

TEST(Win32Files, FullPathsTakeAnUpperCaseDrive) {
  std::string full;
  ASSERT_EQ(full_path("c:\\a\\.\\b\\..\\c.txt", full), 1);
  EXPECT_EQ(full, "C:\\a\\c.txt");
}

int replace_with_new(const std::string&, std::string& replacement, void*) {
  replacement = "new\r\n";
  return 1;
}

int decline(const std::string&, std::string&, void*) {
  return 0;
}

TEST(Win32Files, UpdatesReplaceTheFileWhole) {
  const std::string file = path("設定\\YOMITE.INI");  // the folder is made
  ASSERT_EQ(update_file_atomically(file.c_str(), 1024, replace_with_new, nullptr), 1);
  EXPECT_EQ(read(file), "new\r\n");
  write(file, "old");
  ASSERT_EQ(update_file_atomically(file.c_str(), 1024, replace_with_new, nullptr), 1);
  EXPECT_EQ(read(file), "new\r\n");
  ASSERT_EQ(update_file_atomically(file.c_str(), 1024, decline, nullptr), 1);
  EXPECT_EQ(read(file), "new\r\n");
  // A file larger than allowed is left alone.
  write(file, std::string(2000, 'x'));
  EXPECT_EQ(update_file_atomically(file.c_str(), 1024, replace_with_new, nullptr), 0);
  EXPECT_EQ(read(file), std::string(2000, 'x'));
}

TEST(Win32Files, OneFileUnderEveryName) {
  const std::string file = path("source.txt");
  write(file, "text");
  const std::string link = path("second-name.txt");
  ASSERT_TRUE(CreateHardLinkW(widen(link).c_str(), widen(file).c_str(), nullptr));
  const std::string spelled = dir_of_test() + "\\.\\SOURCE.TXT";
  const std::string other = path("other.txt");
  write(other, "text");
  EXPECT_EQ(is_same_file(file.c_str(), link.c_str()), 1);
  EXPECT_EQ(is_same_file(file.c_str(), spelled.c_str()), 1);
  EXPECT_EQ(is_same_file(file.c_str(), other.c_str()), 0);
  EXPECT_EQ(is_same_file(file.c_str(), path("missing.txt").c_str()), 0);
  std::FILE* f = open_regular_file(file.c_str());
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(is_same_open_file(f, link.c_str()), 1);
  EXPECT_EQ(is_same_open_file(f, spelled.c_str()), 1);
  EXPECT_EQ(is_same_open_file(f, other.c_str()), 0);
  std::fclose(f);
}

// What the Windows build writes into YOMITE.INI: code page 932 and CR LF as
// the profile functions write, unless that would lose or change a character.
TEST(Win32Files, SettingsAreWrittenInCodePage932WhenNothingIsLost) {
  EXPECT_EQ(
      settings_file_bytes("[Font]\nFace=@\xEF\xBC\xAD\xEF\xBC\xB3 \xE6\x98\x8E\xE6\x9C\x9D\n"),
      "[Font]\r\nFace=@\x82\x6C\x82\x72 \x96\xBE\x92\xA9\r\n");  // @ＭＳ 明朝
  EXPECT_EQ(settings_file_bytes("[Scroll]\nPageMode=1\n"), "[Scroll]\r\nPageMode=1\r\n");
  EXPECT_EQ(settings_file_bytes(""), "");
  const char* utf8_only[] = {
      "01F=C:\\caf\xC3\xA9.txt\n",               // é has no form in 932
      "01F=C:\\\xF0\xA0\xAE\xB7.txt\n",          // 𠮷 neither
      "01F=C:\\\xEF\xBE\x83\xEF\xBD\xBD.txt\n",  // ﾃｽ: C3 BD in 932, which reads as UTF-8
  };
  for (const char* text : utf8_only) {
    const std::string bytes = settings_file_bytes(text);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF") << text;
    IniFile ini;
    ini_parse(bytes, ini);
    ASSERT_EQ(ini.lines.size(), 1u) << text;
    EXPECT_EQ("01F=" + ini.lines[0].value + "\n", text);
  }
  // Read back by the same layer, the 932 file gives the same text.
  IniFile ini;
  ini_parse(settings_file_bytes("[History]\n01F=C:\\\xE6\x9C\xAC\\a.txt\n"), ini);
  EXPECT_EQ(ini_get(ini, "History", "01F", ""), "C:\\\xE6\x9C\xAC\\a.txt");  // C:\本\a.txt
}

TEST(Win32Output, ReplacesOnlyWhenCommitted) {
  const std::string file = path("out.lck");
  write(file, "before");
  OutputFile out;
  ASSERT_EQ(output_open(out, file.c_str(), ".test-"), 1);
  ASSERT_EQ(output_write(out, "after\r\n", 7), 1);
  EXPECT_EQ(read(file), "before") << "nothing changes before the commit";
  output_discard(out);
  EXPECT_EQ(read(file), "before");
  ASSERT_EQ(output_open(out, file.c_str(), ".test-"), 1);
  ASSERT_EQ(output_write(out, "after\r\n", 7), 1);
  ASSERT_EQ(output_commit(out), 1);
  EXPECT_EQ(read(file), "after\r\n");
  // No temporary file is left beside it.
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(widen(path(".test-*")).c_str(), &found);
  EXPECT_EQ(find, INVALID_HANDLE_VALUE);
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

// Only a new name or a file on a disk is an output: a device is no file to
// keep, and a pipe nobody reads would block the write forever.
TEST(Win32Output, ADeviceOrAFolderIsRefused) {
  OutputFile out;
  EXPECT_EQ(output_problem("NUL"), FILE_NOT_REGULAR);
  for (const char* device : {"NUL", "CON"}) EXPECT_EQ(output_open(out, device, ".test-"), 0);
  EXPECT_EQ(output_problem(dir_of_test().c_str()), FILE_DIRECTORY);
  EXPECT_EQ(output_open(out, dir_of_test().c_str(), ".test-"), 0);
  EXPECT_EQ(output_problem(path("new.lck").c_str()), FILE_FINE);
}

// A run killed outright leaves its temporary file behind, held by nobody: the
// next output beside it removes it. One a running writer holds stays, and so
// does a file that only looks alike.
TEST(Win32Output, TheNextOutputRemovesWhatAKilledRunLeft) {
  const std::string stale = path(".stale-a1b2c3.tmp"), held = path(".stale-d4e5f6.tmp");
  const std::string alike = path(".stale-backup");
  write(stale, "left by a killed run");
  write(held, "being written");
  write(alike, "mine");
  HANDLE writer = CreateFileW(widen(held).c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  OutputFile out;
  ASSERT_EQ(output_open(out, path("book.lck").c_str(), ".stale-"), 1);
  EXPECT_EQ(GetFileAttributesW(widen(stale).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW(widen(held).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW(widen(alike).c_str()), INVALID_FILE_ATTRIBUTES);
  output_discard(out);
  CloseHandle(writer);
}

TEST(Win32ExtractionDirs, HeldWhileTheirMakerRuns) {
  std::string base;
  ASSERT_EQ(private_temp_dir(base), 1);
  std::string mine;
  ASSERT_EQ(make_extraction_dir(mine), 1);
  ASSERT_EQ(mine.compare(0, base.size(), base), 0);
  write(mine + "book.txt", "unpacked");
  // A crashed run's folder (nothing holds it) and a loose file.
  const std::string stale = base + "run-stale";
  CreateDirectoryW(widen(stale).c_str(), nullptr);
  write(stale + "\\old.txt", "old");
  write(base + "loose.txt", "loose");
  clear_stale_extraction_dirs();
  EXPECT_EQ(read(mine + "book.txt"), "unpacked") << "a held folder stays";
  EXPECT_EQ(GetFileAttributesW(widen(stale).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW(widen(base + "loose.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  remove_extraction_dirs();
  EXPECT_EQ(GetFileAttributesW(widen(mine).c_str()), INVALID_FILE_ATTRIBUTES);
}

// The generator is looked up when first used: a failed lookup would fall
// back to the clock without a word, so the names would still come but be
// guessable.
TEST(Win32Random, TheSystemGeneratorAnswers) {
  unsigned char a[32] = {}, b[32] = {};
  ASSERT_EQ(random_bytes(a, sizeof a), 1);
  ASSERT_EQ(random_bytes(b, sizeof b), 1);
  EXPECT_NE(std::string(a, a + sizeof a), std::string(b, b + sizeof b));
  const std::string name = win32::random_suffix(12);
  EXPECT_EQ(name.size(), 12u);
  EXPECT_EQ(name.find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyz"), std::string::npos);
}

}  // namespace
}  // namespace yomite::platform
