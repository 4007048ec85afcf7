#include "document/archive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <filesystem>
#include <fstream>

#include "decode/decode.h"
#include "platform/archive.h"
#include "platform/files.h"
#include "tests/shared_data.h"
#include "tests/temp_dir.h"

namespace yomite {
namespace {

namespace fs = std::filesystem;

struct Entry {
  std::string name;
  std::string bytes;
  bool link = false;
  const char* password = nullptr;
};

// Builds an archive with libzip; entries keep the given order.
void make_zip(const std::string& path, const std::vector<Entry>& entries) {
  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(zip, nullptr);
  for (const Entry& e : entries) {
    zip_source_t* src = zip_source_buffer(zip, e.bytes.data(), e.bytes.size(), 0);
    zip_int64_t i = e.name.back() == '/' ? zip_dir_add(zip, e.name.c_str(), ZIP_FL_ENC_UTF_8)
                                         : zip_file_add(zip, e.name.c_str(), src, ZIP_FL_ENC_UTF_8);
    if (e.name.back() == '/') zip_source_free(src);
    ASSERT_GE(i, 0) << zip_strerror(zip);
    auto index = static_cast<zip_uint64_t>(i);
    if (e.link)
      zip_file_set_external_attributes(zip, index, 0, ZIP_OPSYS_UNIX, (S_IFLNK | 0777u) << 16);
    if (e.password) {
      ASSERT_EQ(zip_file_set_encryption(zip, index, ZIP_EM_AES_256, e.password), 0);
    }
  }
  ASSERT_EQ(zip_close(zip), 0);
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Entry names unique to this process, as tests run side by side.
std::string unique(const std::string& name) {
  return std::to_string(getpid()) + "-" + name;
}

std::string private_dir() {
  std::string dir;
  EXPECT_EQ(platform::private_temp_dir(dir), 1);
  return dir;
}

// TMPDIR pointed at a directory of the test's own while it runs, so that its
// private directory (and what the cleanup removes) is no other process's.
struct OwnTmpdir {
  test::TempDir tmp;
  std::string saved;
  bool had = false;
  OwnTmpdir() {
    const char* old = getenv("TMPDIR");
    had = old != nullptr;
    saved = had ? old : "";
    setenv("TMPDIR", tmp.path.c_str(), 1);
  }
  ~OwnTmpdir() {
    platform::remove_extraction_dirs();
    if (had)
      setenv("TMPDIR", saved.c_str(), 1);
    else
      unsetenv("TMPDIR");
  }
};

struct ArchiveTest : ::testing::Test {
  OwnTmpdir tmpdir;
  test::TempDir dir;
};

// Where an unpacked entry named `name` lies: a fresh directory of its own
// directly inside the private directory.
void expect_unpacked_as(const std::string& result, const std::string& name) {
  fs::path p(result);
  EXPECT_EQ(p.filename(), name);
  EXPECT_EQ(p.parent_path().parent_path().string() + "/", private_dir());
  EXPECT_EQ(p.parent_path().filename().string().rfind("run-", 0), 0u) << result;
}

TEST_F(ArchiveTest, AnyLetterCaseUnpacksAndReplacesTheName) {
  for (const char* archive : {"a.ZIP", "b.zip", "c.Zip"}) {
    std::string path = dir.file(archive);
    std::string entry = unique(archive) + ".txt";
    make_zip(path, {{entry, "本文"}});
    ViewContext view;
    view.doc.file_name = path;
    ASSERT_EQ(replace_archive_by_entry(view), 1) << archive;
    expect_unpacked_as(view.doc.file_name, entry);
    EXPECT_EQ(slurp(view.doc.file_name), "本文");
  }
}

TEST_F(ArchiveTest, OtherNamesAndOtherBytesStayAsTheyAre) {
  std::string zip_txt = dir.file("a.zip.txt");
  make_zip(zip_txt, {{unique("x.txt"), "x"}});
  std::string not_zip = dir.file("text.zip");
  std::ofstream(not_zip) << "ただのテキスト\n";
  std::string missing = dir.file("missing.zip");
  for (const std::string& path : {zip_txt, not_zip, missing}) {
    ViewContext view;
    view.doc.file_name = path;
    EXPECT_EQ(replace_archive_by_entry(view), 0) << path;
    EXPECT_EQ(view.doc.file_name, path);
  }
}

TEST_F(ArchiveTest, FirstEntryInArchiveOrderDirectoriesSkipped) {
  std::string path = dir.file("several.zip");
  make_zip(path, {{"folder/", ""},
                  {"folder/" + unique("z-first.txt"), "first"},
                  {unique("a-second.txt"), "second"}});
  std::string result;
  ASSERT_EQ(extract_first_entry(path.c_str(), result), 1);
  expect_unpacked_as(result, unique("z-first.txt"));
  EXPECT_EQ(slurp(result), "first");
}

TEST_F(ArchiveTest, HostileEntriesNeverWriteOutside) {
  struct Case {
    Entry entry;
    const char* lands;  // name inside the private directory, or null: refused
  } cases[] = {
      {{"../../" + unique("escape.txt"), "x"}, "escape.txt"},
      {{dir.file(unique("absolute.txt")), "x"}, "absolute.txt"},
      {{"..", "x"}, nullptr},
      {{unique("link.txt"), "/etc/passwd", true}, nullptr},
      {{unique("secret.txt"), "hidden", false, "password"}, nullptr},
  };
  for (const Case& c : cases) {
    std::string path = dir.file("hostile.zip");
    make_zip(path, {c.entry});
    std::string result;
    int ok = extract_first_entry(path.c_str(), result);
    EXPECT_EQ(ok, c.lands ? 1 : 0) << c.entry.name;
    if (c.lands) expect_unpacked_as(result, unique(c.lands));
  }
  EXPECT_FALSE(fs::exists(dir.file(unique("absolute.txt"))));
  for (const auto& e : fs::recursive_directory_iterator(private_dir())) {
    std::string name = e.path().filename();
    EXPECT_TRUE(e.is_directory() || name == unique("escape.txt") || name == unique("absolute.txt"))
        << e.path();
  }
}

// Whatever sits at the target already (a link, a hard link to another file,
// a FIFO), nothing is written through it and nothing waits on it.
TEST_F(ArchiveTest, ExtractionNeverWritesIntoAFileItDidNotCreate) {
  std::string victim = dir.file("victim");
  std::ofstream(victim) << "keep";
  std::string path = dir.file("planted.zip");
  make_zip(path, {{"a.txt", "overwritten"}});
  platform::Archive* archive = platform::archive_open(path.c_str());
  ASSERT_NE(archive, nullptr);
  const std::string symbolic = dir.file("symbolic"), hard = dir.file("hard"),
                    fifo = dir.file("fifo");
  fs::create_symlink(victim, symbolic);
  fs::create_hard_link(victim, hard);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& target : {symbolic, hard, fifo})
    EXPECT_EQ(platform::archive_extract(archive, 0, target.c_str(), 100), -1) << target;
  platform::archive_close(archive);
  EXPECT_EQ(slurp(victim), "keep");
  EXPECT_TRUE(fs::exists(hard));  // not removed either: it is not ours
}

// Files planted in the private directory, by another user while it was once
// open to others or by an older layout that unpacked straight into it, never
// receive a text: every unpacking makes a directory of its own.
TEST_F(ArchiveTest, PlantedFilesInThePrivateDirectoryReceiveNothing) {
  std::string victim = dir.file("victim");
  std::ofstream(victim) << "keep";
  fs::create_hard_link(victim, private_dir() + "book.txt");
  fs::create_symlink(victim, private_dir() + "link.txt");
  for (const char* name : {"book.txt", "link.txt"}) {
    std::string path = dir.file("book.zip");
    make_zip(path, {{name, "unpacked"}});
    std::string result;
    ASSERT_EQ(extract_first_entry(path.c_str(), result), 1);
    expect_unpacked_as(result, name);
    EXPECT_EQ(slurp(result), "unpacked");
  }
  EXPECT_EQ(slurp(victim), "keep");
}

TEST_F(ArchiveTest, EveryUnpackingIsFreshPrivateAndRemovedAtTheEnd) {
  std::string path = dir.file("book.zip");
  make_zip(path, {{"book.txt", "本文"}});
  std::string first, second;
  ASSERT_EQ(extract_first_entry(path.c_str(), first), 1);
  ASSERT_EQ(extract_first_entry(path.c_str(), second), 1);
  EXPECT_NE(fs::path(first).parent_path(), fs::path(second).parent_path());
  struct stat st;
  ASSERT_EQ(lstat(fs::path(first).parent_path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  platform::remove_extraction_dirs();  // what a program calls when it ends
  EXPECT_FALSE(fs::exists(first));
  EXPECT_FALSE(fs::exists(fs::path(second).parent_path()));
  EXPECT_TRUE(fs::is_empty(private_dir()));
}

// At start-up a program removes what crashed runs left: directories nobody
// holds and loose files. A running program's directory is held and stays.
TEST_F(ArchiveTest, StartUpClearsLeftoversButNotLiveDirectories) {
  std::string path = dir.file("book.zip");
  make_zip(path, {{"book.txt", "本文"}});
  std::string live;
  ASSERT_EQ(extract_first_entry(path.c_str(), live), 1);
  fs::create_directories(private_dir() + "run-crashed/sub");
  std::ofstream(private_dir() + "run-crashed/bomb.txt") << std::string(1000, 'A');
  std::ofstream(private_dir() + "old-layout.txt") << "left behind";
  fs::create_symlink("/etc/passwd", private_dir() + "planted-link");
  platform::clear_stale_extraction_dirs();
  EXPECT_FALSE(fs::exists(private_dir() + "run-crashed"));
  EXPECT_FALSE(fs::exists(private_dir() + "old-layout.txt"));
  EXPECT_FALSE(fs::is_symlink(private_dir() + "planted-link"));
  EXPECT_TRUE(fs::exists("/etc/passwd"));
  EXPECT_EQ(slurp(live), "本文");
}

TEST_F(ArchiveTest, AnArchiveThatIsNoRegularFileIsRefusedAtOnce) {
  const std::string fifo = dir.file("pipe.zip");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string result;
  EXPECT_EQ(extract_first_entry(fifo.c_str(), result), 0);  // a hang would time the test out
  EXPECT_EQ(extract_first_entry(dir.path.c_str(), result), 0);
  EXPECT_EQ(platform::archive_open("/dev/zero"), nullptr);
}

TEST_F(ArchiveTest, BombIsCutAt64MiB) {
  std::string path = dir.file("bomb.zip");
  make_zip(path, {{unique("bomb.txt"), std::string(ARCHIVE_ENTRY_MAX_BYTES + 4096, 'A')}});
  EXPECT_LT(fs::file_size(path), 1u << 20);
  std::string result;
  ASSERT_EQ(extract_first_entry(path.c_str(), result), 1);
  EXPECT_EQ(fs::file_size(result), static_cast<std::uintmax_t>(ARCHIVE_ENTRY_MAX_BYTES));
  // One byte under the limit arrives whole.
  make_zip(path, {{unique("bomb.txt"), std::string(ARCHIVE_ENTRY_MAX_BYTES - 1, 'A')}});
  ASSERT_EQ(extract_first_entry(path.c_str(), result), 1);
  EXPECT_EQ(fs::file_size(result), static_cast<std::uintmax_t>(ARCHIVE_ENTRY_MAX_BYTES - 1));
  fs::remove(result);
}

TEST(PrivateDir, ClosedToOthersAndOwned) {
  std::string dir = private_dir();
  struct stat st;
  ASSERT_EQ(lstat(dir.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(st.st_uid, getuid());
  EXPECT_EQ(dir.back(), '/');
}

TEST(PrivateDir, PlantedLinkInsteadOfTheDirectoryIsRefused) {
  test::TempDir tmp;
  test::TempDir elsewhere;
  fs::create_symlink(elsewhere.path, tmp.file("yomite-" + std::to_string(getuid())));
  const char* old = getenv("TMPDIR");
  std::string saved = old ? old : "";
  setenv("TMPDIR", tmp.path.c_str(), 1);
  std::string dir;
  EXPECT_EQ(platform::private_temp_dir(dir), 0);
  if (old)
    setenv("TMPDIR", saved.c_str(), 1);
  else
    unsetenv("TMPDIR");
}

TEST(RealArchive, ShiftJisNovelOpens) {
  YOMITE_NEED_SHARED_TESTDATA("aozora/tsumito_batsu.zip");
  OwnTmpdir tmpdir;
  ViewContext view;
  view.doc.file_name = test::shared_testdata("aozora/tsumito_batsu.zip");
  ASSERT_EQ(replace_archive_by_entry(view), 1);
  expect_unpacked_as(view.doc.file_name, "tsumito_batsu.txt");
  EXPECT_EQ(fs::file_size(view.doc.file_name), 1352753u);
  EXPECT_EQ(detect_encoding(view.doc.file_name.c_str()), ENC_SJIS);
}

}  // namespace
}  // namespace yomite
