// The real yomiseal binary: its outputs and exit codes, and texts it writes
// read back through the viewer's header check and line reader.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dirent.h>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "locked/locked.h"
#include "platform/fake/fake_password_prompt.h"
#include "tests/locked/locked_test_util.h"
#include "view/view_context.h"

namespace yomite {
namespace {

using Lines = std::vector<std::string>;
const char* const TUTOR = "/usr/share/vim/vim90/tutor/tutor.ja.sjis";

struct ToolRun {
  int code;
  std::string out, err;
};

class Yomiseal : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_locked_state();
    fake::script_password_prompt({});
    char dir[] = "/tmp/yomiseal-test-XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    dir_ = dir;
  }
  void TearDown() override { ASSERT_EQ(std::system(("rm -rf '" + dir_ + "'").c_str()), 0); }

  std::string path(const std::string& name) { return dir_ + "/" + name; }

  // Runs the tool in the test's directory under a UTF-8 locale, after the
  // shell commands of `before`; a run that hangs is ended after a minute.
  ToolRun run(const std::string& args, const std::string& before = "") {
    std::string cmd = "cd '" + dir_ + "' && " + before +
                      " LC_ALL=C.UTF-8 timeout 60 '" YOMITE_BINARY_DIR "/apps/yomiseal/yomiseal' " +
                      args + " >.out 2>.err";
    int status = std::system(cmd.c_str());
    ToolRun r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::read_file(path(".out")),
              test::read_file(path(".err"))};
    unlink(path(".out").c_str());
    unlink(path(".err").c_str());
    return r;
  }

  // What the viewer reads from a locked text, answering the prompt with `password`.
  Lines unseal(const std::string& file, const std::string& password = "") {
    if (!password.empty()) fake::script_password_prompt({{1, password}});
    ViewContext view;
    view.doc.file_name = file;
    int ango = check_locked_header(view, 0);
    if (ango == 0) return {"<not accepted>"};
    TextStream in;
    stream_open(in, file.c_str());
    Lines lines = test::read_body(in, ango);
    stream_close(in);
    return lines;
  }

  std::vector<std::string> entries() {
    std::vector<std::string> names;
    DIR* d = opendir(dir_.c_str());
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.' || std::string(e->d_name).size() > 2) names.push_back(e->d_name);
    closedir(d);
    return names;
  }

  std::string dir_;
};

// The source read as plain lines, as the viewer shows them: line ends
// removed, control bytes other than form feed as blanks.
Lines plain_lines(const std::string& bytes) {
  Lines lines;
  TextStream in;
  stream_open_memory(in, bytes.data(), bytes.size());
  std::vector<unsigned char> buf(LINE_CAPACITY);
  int n;
  while ((n = read_byte_line(buf.data(), LINE_CAPACITY, in, ENC_RAW, 0, 0, nullptr)) >= 0) {
    for (int i = 0; i < n; ++i)
      if (buf[i] < 0x20 && buf[i] != 0x0C) buf[i] = ' ';
    lines.emplace_back(reinterpret_cast<char*>(buf.data()), static_cast<std::size_t>(n));
  }
  stream_close(in);
  return lines;
}

const std::string USAGE =
    "usage:yomiseal [option] 元テキストfilename 暗号化テキストfilename\n"
    " option: -Px   x=パスワードの桁数\n";

TEST_F(Yomiseal, TutorRoundTripWithoutPassword) {
  if (access(TUTOR, R_OK) != 0) GTEST_SKIP() << TUTOR << " missing (vim-runtime)";
  ToolRun r = run(std::string("'") + TUTOR + "' tutor.lkd");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "");
  std::string source = test::read_file(TUTOR);
  std::string sealed = test::read_file(path("tutor.lkd"));
  ASSERT_EQ(sealed.size(), LOCKED_HEADER_BYTES + source.size());
  Lines expected = plain_lines(source);
  // No line of the text can be read in the file (a short word may turn up
  // by chance in scrambled bytes; a line of 24 bytes or more may not).
  for (const std::string& line : expected) {
    if (line.size() >= 24) {
      EXPECT_EQ(sealed.find(line), std::string::npos) << line;
    }
  }
  ASSERT_GT(expected.size(), 900u);
  EXPECT_EQ(unseal(path("tutor.lkd")), expected);
  EXPECT_EQ(fake::password_prompts_shown(), 0);
}

TEST_F(Yomiseal, TutorRoundTripWithPassword) {
  if (access(TUTOR, R_OK) != 0) GTEST_SKIP() << TUTOR << " missing (vim-runtime)";
  ToolRun r = run(std::string("-P12 '") + TUTOR + "' tutor.lkd");
  EXPECT_EQ(r.code, 0);
  ASSERT_EQ(r.out.size(), std::string("パスワード = \n").size() + 12) << r.out;
  ASSERT_EQ(r.out.rfind("パスワード = ", 0), 0u);
  std::string password = r.out.substr(r.out.size() - 13, 12);
  EXPECT_EQ(password.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  std::string sealed = test::read_file(path("tutor.lkd"));
  EXPECT_EQ(sealed.substr(LOCKED_KEY_OFFSET, 13).substr(0, 12), std::string(12, 'x'));
  EXPECT_NE(sealed[LOCKED_KEY_OFFSET + 12], 'x');
  EXPECT_EQ(unseal(path("tutor.lkd"), password), plain_lines(test::read_file(TUTOR)));
  EXPECT_EQ(fake::password_prompts_shown(), 1);
}

TEST_F(Yomiseal, ALongTextRoundTripsAcrossBlocks) {
  // Past several read blocks, sealed while the block before is written.
  if (access(TUTOR, R_OK) != 0) GTEST_SKIP() << TUTOR << " missing (vim-runtime)";
  const std::string tutor = test::read_file(TUTOR);
  std::string source;
  while (source.size() < (3u << 20)) source += tutor;
  test::write_file(path("long.txt"), source);
  ToolRun r = run("long.txt long.lkd");
  EXPECT_EQ(r.code, 0);
  ASSERT_EQ(test::read_file(path("long.lkd")).size(), LOCKED_HEADER_BYTES + source.size());
  EXPECT_EQ(unseal(path("long.lkd")), plain_lines(source));
}

TEST_F(Yomiseal, SpecialLinesRoundTrip) {
  using namespace std::string_literals;
  std::string a32767(32767, 'a'), b40000(40000, 'b');
  std::string source = "crlf\r\n" + a32767 + "\n" + b40000 + "\n" + "tab\there\x1b\x01\x0c!\n" +
                       "n\0u\0l\n"s + "bare\rcr\r\n" + "\x82\xa0\x82\xa2\r\n" + "last";
  test::write_file(path("src.txt"), source);
  EXPECT_EQ(run("src.txt out.lkd").code, 0);
  Lines expected = {"crlf",
                    a32767,
                    "",
                    b40000.substr(0, 32767),
                    b40000.substr(32767),
                    "tab here  \x0c!",
                    "nul",
                    "bare",
                    "cr",
                    "\x82\xa0\x82\xa2",
                    "last"};
  EXPECT_EQ(unseal(path("out.lkd")), expected);
}

TEST_F(Yomiseal, EmptySourceGivesAHeaderOnly) {
  test::write_file(path("empty.txt"), "");
  EXPECT_EQ(run("empty.txt out.lkd").code, 0);
  EXPECT_EQ(test::read_file(path("out.lkd")).size(), 256u);
  EXPECT_EQ(unseal(path("out.lkd")), Lines{});
}

TEST_F(Yomiseal, OutputsAndExitCodes) {
  test::write_file(path("src.txt"), "text\n");
  struct Row {
    std::string args;
    int code;
    std::string out;
  };
  const Row rows[] = {
      {"", 2, USAGE},
      {"src.txt", 2, USAGE},
      {"-P12 src.txt", 2, USAGE},
      {"--help", 0, USAGE +
                        "        x は 8 から 40 まで (0 または数字なしでパスワードなし)\n"
                        " 元テキストは Shift_JIS、EUC-JP、JIS、UTF-16、UTF-8 のどれでもよく、\n"
                        " Shift_JIS にして書き込みます (Shift_JIS にない文字があれば書きません)\n"
                        " --help     この説明\n"
                        " --version  版\n"},
      {"--version", 0, "yomiseal 0.1.0\n"},
      {"missing.txt out.lkd", 1, "missing.txt を使用できません\n"},
      {"src.txt no-dir/out.lkd", 1, "no-dir/out.lkd を使用できません\n"},
      {"src.txt out.lkd", 0, ""},
      {"-P0 src.txt out.lkd", 0, ""},
  };
  for (const Row& row : rows) {
    ToolRun r = run(row.args);
    EXPECT_EQ(r.code, row.code) << row.args;
    EXPECT_EQ(r.out, row.out) << row.args;
  }
}

TEST_F(Yomiseal, PasswordLengths) {
  test::write_file(path("src.txt"), "text\n");
  const std::pair<const char*, int> rows[] = {{"-P", 0},    {"-P0", 0},   {"-P8", 8},
                                              {"-P40", 40}, {"-P12", 12}, {"/P12", 12},
                                              {"/p12", 12}, {"-p12", 12}};
  for (const auto& [option, digits] : rows) {
    ToolRun r = run(std::string(option) + " src.txt out.lkd");
    ASSERT_EQ(r.code, 0) << option;
    std::string header = test::read_file(path("out.lkd")).substr(0, LOCKED_HEADER_BYTES);
    std::size_t masked = header.find_first_not_of('x', LOCKED_KEY_OFFSET) - LOCKED_KEY_OFFSET;
    EXPECT_EQ(masked, static_cast<std::size_t>(digits)) << option;
    if (digits > 0) {
      std::string password = r.out.substr(r.out.size() - 1 - digits, digits);
      reset_locked_state();
      EXPECT_EQ(unseal(path("out.lkd"), password), Lines{"text"}) << option;
    } else {
      EXPECT_EQ(r.out, "") << option;
    }
  }
}

// A locked text holds Shift_JIS: a source in another encoding the viewer
// reads (detected as the viewer detects it) is converted, so that sealing the
// sample in any of them gives the very bytes sealing its Shift_JIS form gives.
TEST_F(Yomiseal, EveryEncodingIsSealedAsShiftJis) {
  const std::string sample = YOMITE_SOURCE_DIR "/samples/yomite-no-hon.txt";
  const std::string seed = "YOMISEAL_TEST_SEED=7 ";
  ASSERT_EQ(run("'" + sample + "' sjis.lkd", seed).code, 0);
  const std::string expected = test::read_file(path("sjis.lkd"));
  const std::pair<const char*, const char*> made[] = {
      {"utf8", "iconv -f CP932 -t UTF-8"},
      {"utf8-bom", "{ printf '\\357\\273\\277'; iconv -f CP932 -t UTF-8; }"},
      {"euc", "iconv -f CP932 -t EUC-JP"},
      {"jis", "iconv -f CP932 -t ISO-2022-JP"},
      {"utf16le", "{ printf '\\377\\376'; iconv -f CP932 -t UTF-16LE; }"},
      {"utf16be", "{ printf '\\376\\377'; iconv -f CP932 -t UTF-16BE; }"},
  };
  for (const auto& [name, command] : made) {
    SCOPED_TRACE(name);
    const std::string source = std::string(name) + ".txt";
    ASSERT_EQ(std::system((std::string(command) + " <'" + sample + "' >'" + path(source) + "'")
                              .c_str()),
              0);
    ToolRun r = run("-P12 " + source + " out.lkd", seed);
    ASSERT_EQ(r.code, 0) << r.err;
    ToolRun sjis = run("-P12 '" + sample + "' sjis12.lkd", seed);
    EXPECT_EQ(r.out, sjis.out);
    EXPECT_TRUE(test::read_file(path("out.lkd")) == test::read_file(path("sjis12.lkd")));
    ASSERT_EQ(run(source + " plain.lkd", seed).code, 0);
    EXPECT_TRUE(test::read_file(path("plain.lkd")) == expected);
  }
}

// A character Shift_JIS has no form for stops the run with its name and
// line: nothing is written, no password printed.
TEST_F(Yomiseal, ACharacterWithoutAShiftJisFormIsNamed) {
  const struct {
    const char* text;
    const char* said;
  } cases[] = {
      {"一行目\n二行目に😀の顔\n", "src.txt の 2 行目の文字「😀」(U+1F600) は Shift_JIS にありません"},
      {"caf\xC3\xA9 の\r\n", "src.txt の 1 行目の文字「é」(U+00E9) は Shift_JIS にありません"},
  };
  for (const auto& c : cases) {
    test::write_file(path("src.txt"), c.text);
    ToolRun r = run("-P8 src.txt out.lkd");
    EXPECT_EQ(r.code, 1) << c.text;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, std::string("yomiseal: ") + c.said + "\n");
    EXPECT_EQ(access(path("out.lkd").c_str(), F_OK), -1);
  }
  std::vector<std::string> names = entries();
  EXPECT_EQ(names, std::vector<std::string>{"src.txt"}) << "no temporary file is left";
  // 〜 as JIS X 0208 reads it (U+301C, what Linux converters write) has its
  // Shift_JIS code, though Windows reads that code as ～ U+FF5E.
  test::write_file(path("src.txt"), "波〜線\n");
  ASSERT_EQ(run("src.txt out.lkd").code, 0);
  EXPECT_EQ(unseal(path("out.lkd")), Lines{"\x94\x67\x81\x60\x90\xFC"});
}

// A length outside 8..40 is refused with the range, and nothing is written
// (it was once bent into 8 or 40 digits, which the user learnt of only from
// the printed password).
TEST_F(Yomiseal, PasswordLengthsOutsideTheRangeAreRefused) {
  test::write_file(path("src.txt"), "text\n");
  for (const char* option : {"-P-3", "-P3", "-P7", "-P41", "-P12345678"}) {
    ToolRun r = run(std::string(option) + " src.txt out.lkd");
    EXPECT_EQ(r.code, 2) << option;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, std::string("yomiseal: ") + option +
                         ": パスワードの桁数は 8 から 40 までです (0 でパスワードなし)\n");
    EXPECT_EQ(access(path("out.lkd").c_str(), F_OK), -1) << option;
  }
}

TEST_F(Yomiseal, AbsolutePathsAreFiles) {
  test::write_file(path("src.txt"), "text\n");
  EXPECT_EQ(run("'" + path("src.txt") + "' '" + path("out.lkd") + "'").code, 0);
  EXPECT_EQ(unseal(path("out.lkd")), Lines{"text"});
}

TEST_F(Yomiseal, TwoRunsUseDifferentKeys) {
  test::write_file(path("src.txt"), "text\n");
  ASSERT_EQ(run("src.txt one.lkd").code, 0);
  ASSERT_EQ(run("src.txt two.lkd").code, 0);
  EXPECT_NE(test::read_file(path("one.lkd")), test::read_file(path("two.lkd")));
  EXPECT_EQ(unseal(path("one.lkd")), unseal(path("two.lkd")));
}

TEST_F(Yomiseal, DestinationThatIsTheSourceIsRefused) {
  test::write_file(path("src.txt"), "precious\n");
  ASSERT_EQ(link(path("src.txt").c_str(), path("hard.txt").c_str()), 0);
  for (const char* dest : {"src.txt", "./src.txt", "hard.txt"}) {
    ToolRun r = run(std::string("src.txt ") + dest);
    EXPECT_EQ(r.code, 1) << dest;
    EXPECT_NE(r.err.find("同じファイル"), std::string::npos) << dest;
    EXPECT_EQ(test::read_file(path("src.txt")), "precious\n");
  }
}

TEST_F(Yomiseal, FailuresLeaveNoPartialDestination) {
  // Tests run as root, for whom permission bits do not stop writing: /proc
  // is a directory nobody can create files in, and /dev/full fails every write.
  test::write_file(path("src.txt"), "text\n");
  test::write_file(path("old.lkd"), "old contents");
  ToolRun r = run("src.txt /proc/yomiseal-test.lkd");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "/proc/yomiseal-test.lkd を使用できません\n");

  // Every write past the first kilobyte fails, as on a full disk.
  test::write_file(path("big.txt"), std::string(3 << 20, 'a') + "\n");
  r = run("-P8 big.txt old.lkd", "ulimit -f 1; trap '' XFSZ;");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("old.lkd の書き込みに失敗しました"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "") << "no password for a text that was never written";
  // The same when the write that fails comes blocks after the first.
  r = run("big.txt old.lkd", "ulimit -f 2048; trap '' XFSZ;");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("old.lkd の書き込みに失敗しました"), std::string::npos) << r.err;
  unlink(path("big.txt").c_str());

  mkdir(path("dir").c_str(), 0755);
  r = run("dir old.lkd");  // a source that is no regular file
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("dir"), std::string::npos);
  EXPECT_EQ(test::read_file(path("old.lkd")), "old contents");
  std::vector<std::string> names = entries();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"dir", "old.lkd", "src.txt"}));
}

TEST_F(Yomiseal, ReplacesAnExistingDestinationKeepingItsMode) {
  test::write_file(path("src.txt"), "text\n");
  test::write_file(path("out.lkd"), std::string(100000, 'z'));
  chmod(path("out.lkd").c_str(), 0640);
  ASSERT_EQ(symlink("out.lkd", path("link.lkd").c_str()), 0);
  EXPECT_EQ(run("src.txt link.lkd").code, 0);
  struct stat st;
  ASSERT_EQ(lstat(path("link.lkd").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(stat(path("out.lkd").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(unseal(path("out.lkd")), Lines{"text"});
}

// A source that is no regular file could block the open or never end
// (/dev/zero): it is refused at once, and nothing is written.
TEST_F(Yomiseal, NoRegularSourceIsRefused) {
  ASSERT_EQ(mkfifo(path("pipe").c_str(), 0600), 0);
  for (const char* source : {"/dev/zero", "pipe"}) {
    ToolRun r = run(std::string(source) + " out.lkd");  // a hang times the test out
    EXPECT_EQ(r.code, 1) << source;
    EXPECT_EQ(r.out, std::string(source) + " を使用できません\n");
    EXPECT_NE(r.err.find("通常のファイルではありません"), std::string::npos) << r.err;
  }
  EXPECT_EQ(entries(), std::vector<std::string>{"pipe"});
}

// Only a new name or a regular file is a destination: a FIFO nobody reads
// would block forever, a device is no file to keep.
TEST_F(Yomiseal, NoRegularDestinationIsRefused) {
  test::write_file(path("src.txt"), "text\n");
  ASSERT_EQ(mkfifo(path("pipe").c_str(), 0600), 0);
  ASSERT_EQ(symlink("/dev/null", path("null.lkd").c_str()), 0);
  for (const char* dest : {"pipe", "/dev/null", "null.lkd"}) {
    ToolRun r = run(std::string("-P8 src.txt ") + dest);  // a hang would take a minute
    EXPECT_EQ(r.code, 1) << dest;
    EXPECT_EQ(r.out, std::string(dest) + " を使用できません\n");
    EXPECT_NE(r.err.find("通常のファイルではありません"), std::string::npos) << r.err;
  }
  std::vector<std::string> names = entries();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"null.lkd", "pipe", "src.txt"}));
}

// Starts yomiseal sealing `source` into `dest` in the test's directory, and
// waits until its temporary file exists: the child's pid, or -1 when the run
// ended before.
pid_t start_sealing(const std::string& dir, const char* source, const char* dest,
                    const std::function<bool()>& has_temporary) {
  pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    execl(YOMITE_BINARY_DIR "/apps/yomiseal/yomiseal", "yomiseal", source, dest,
          static_cast<char*>(nullptr));
    _exit(127);
  }
  for (int k = 0; k < 5000; ++k) {
    if (has_temporary()) return child;
    usleep(1000);
  }
  return child;
}

// A run ended by SIGINT, SIGTERM or SIGHUP while it writes removes its
// temporary file: nothing of it is left beside the destination.
TEST_F(Yomiseal, AKilledRunLeavesNoTemporaryFile) {
  // Gigabytes of a sparse file's zeros: read fast, never written (NUL bytes
  // are dropped), so the run lasts long enough to be stopped.
  test::write_file(path("big.txt"), "");
  ASSERT_EQ(truncate(path("big.txt").c_str(), 8LL << 30), 0);
  auto has_temporary = [&] {
    for (const std::string& name : entries())
      if (name.rfind(".yomiseal-", 0) == 0) return true;
    return false;
  };
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(sig);
    pid_t child = start_sealing(dir_, "big.txt", "out.lkd", has_temporary);
    ASSERT_GE(child, 0);
    const bool seen = has_temporary();
    kill(child, sig);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (!seen || !WIFSIGNALED(status)) GTEST_SKIP() << "the run ended before it could be stopped";
    EXPECT_EQ(WTERMSIG(status), sig);
    EXPECT_FALSE(has_temporary());
    EXPECT_FALSE(access(path("out.lkd").c_str(), F_OK) == 0);
  }
}

// A run killed outright (SIGKILL: no handler runs) leaves its temporary file;
// the next run in that folder recognises it as a dead run's and removes it,
// while a temporary file a running writer holds, and a file of the user's
// that only looks alike, stay.
TEST_F(Yomiseal, TheNextRunRemovesWhatAKilledRunLeft) {
  test::write_file(path("big.txt"), "");
  ASSERT_EQ(truncate(path("big.txt").c_str(), 8LL << 30), 0);
  auto temporaries = [&] {
    std::vector<std::string> found;
    for (const std::string& name : entries())
      if (name.rfind(".yomiseal-", 0) == 0) found.push_back(name);
    return found;
  };
  pid_t child = start_sealing(dir_, "big.txt", "out.lkd", [&] { return !temporaries().empty(); });
  ASSERT_GE(child, 0);
  const std::vector<std::string> left = temporaries();
  kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  if (left.empty() || !WIFSIGNALED(status)) GTEST_SKIP() << "the run ended before it was killed";
  ASSERT_EQ(temporaries(), left) << "SIGKILL runs no handler: the file stays";

  // A writer that is still running holds its file; a look-alike is no temporary file.
  test::write_file(path(".yomiseal-abcdef.tmp"), "held");
  const int held = open(path(".yomiseal-abcdef.tmp").c_str(), O_RDONLY);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  test::write_file(path(".yomiseal-backup"), "mine");
  test::write_file(path("src.txt"), "text\n");
  EXPECT_EQ(run("src.txt out.lkd").code, 0);
  std::vector<std::string> now = temporaries();
  std::sort(now.begin(), now.end());
  EXPECT_EQ(now, (std::vector<std::string>{".yomiseal-abcdef.tmp", ".yomiseal-backup"}));
  close(held);
  EXPECT_EQ(unseal(path("out.lkd")), Lines{"text"});
}

}  // namespace
}  // namespace yomite
