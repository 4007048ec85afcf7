// yomite-render end to end: the real binary with the real fonts, on real texts.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/shared_data.h"
#include "tests/temp_dir.h"

namespace {

using yomite::test::process_temp_dir;

const std::string RENDER = YOMITE_BINARY_DIR "/apps/yomite-render/yomite-render";
const std::string TUTOR = "/usr/share/vim/vim90/tutor/tutor.ja.";
const std::string SAMPLES = YOMITE_SOURCE_DIR "/samples/";

struct RenderRun {
  int status = -1;
  std::string out, err;
};

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs yomite-render with `args` (which may end in a redirection of its
// own), after the shell commands of `before`, in `dir` when given.
RenderRun run(const std::string& args, const std::string& dir = "",
              const std::string& before = "") {
  const std::string base = process_temp_dir().file("render");
  const std::string out = base + ".out", err = base + ".err";
  // TMPDIR of this test's own: what the archive step unpacks, and what its
  // start-up cleanup removes, is no other program's.
  std::string cmd = "(" + (dir.empty() ? "" : "cd '" + dir + "' && ") + before + " TMPDIR='" +
                    process_temp_dir().path + "' '" + RENDER + "' " + args + ") >'" + out +
                    "' 2>'" + err + "'";
  int raw = std::system(cmd.c_str());
  RenderRun r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = slurp(out);
  r.err = slurp(err);
  return r;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::stringstream s(text);
  for (std::string line; std::getline(s, line);) out.push_back(line);
  return out;
}

bool exists(const std::string& path) {
  return std::ifstream(path).good();
}

// Every line is INDEX<TAB>FLAGS<TAB>TEXT with consecutive indices.
void expect_well_formed(const std::vector<std::string>& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string prefix = std::to_string(i) + "\t";
    ASSERT_EQ(lines[i].compare(0, prefix.size(), prefix), 0) << lines[i];
    std::size_t tab = lines[i].find('\t', prefix.size());
    ASSERT_NE(tab, std::string::npos) << lines[i];
    std::string flags = lines[i].substr(prefix.size(), tab - prefix.size());
    EXPECT_TRUE(flags == "-" || flags.find_first_not_of("PMQ") == std::string::npos) << flags;
  }
}

TEST(YomiteRender, TutorInThreeEncodingsGivesTheSameLines) {
  if (!exists(TUTOR + "sjis")) GTEST_SKIP() << "vim-runtime is not installed";
  RenderRun sjis = run("--dump-lines '" + TUTOR + "sjis'");
  ASSERT_EQ(sjis.status, 0) << sjis.err;
  std::vector<std::string> lines = lines_of(sjis.out);
  EXPECT_GT(lines.size(), 1000u);
  expect_well_formed(lines);
  EXPECT_NE(sjis.out.find("チュートリアル"), std::string::npos);
  for (const char* other : {"euc", "utf-8"}) {
    SCOPED_TRACE(other);
    RenderRun r = run("--dump-lines '" + TUTOR + other + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out == sjis.out);  // not EXPECT_EQ: the diff would be thousands of lines
  }
}

TEST(YomiteRender, SampleInShiftJisAndUtf8GivesTheSameLines) {
  RenderRun sjis = run("--dump-lines '" + SAMPLES + "yomite-no-hon.txt'");
  RenderRun utf8 = run("--dump-lines '" + SAMPLES + "yomite-no-hon.utf8.txt'");
  ASSERT_EQ(sjis.status, 0) << sjis.err;
  EXPECT_GT(lines_of(sjis.out).size(), 50u);
  EXPECT_TRUE(sjis.out == utf8.out);
}

TEST(YomiteRender, BothSamplesResolveTheirMarkup) {
  for (const char* name : {"yomite-no-hon.txt", "sen-wo-hiku.txt"}) {
    SCOPED_TRACE(name);
    RenderRun r = run("--dump-lines '" + SAMPLES + name + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> lines = lines_of(r.out);
    expect_well_formed(lines);
    EXPECT_GT(lines.size(), 20u);
    for (const char* markup : {"《", "［＃", "｛"})
      EXPECT_EQ(r.out.find(markup), std::string::npos);
  }
}

TEST(YomiteRender, ColumnLengthOptionShortensColumns) {
  const std::string file = "'" + SAMPLES + "yomite-no-hon.txt'";
  std::size_t standard = lines_of(run("--dump-lines " + file).out).size();
  std::size_t narrow = lines_of(run("-W20 --dump-lines " + file).out).size();
  EXPECT_GT(narrow, standard + standard / 2);
  // repeated options take the last value; lower-case x is no option and no file
  EXPECT_EQ(lines_of(run("-W20 -x5 -W40 --dump-lines " + file).out).size(), standard);
}

TEST(YomiteRender, ArchiveOpensItsFirstEntry) {
  YOMITE_NEED_SHARED_TESTDATA("aozora/tsumito_batsu.zip");
  RenderRun r =
      run("--dump-lines '" + yomite::test::shared_testdata("aozora/tsumito_batsu.zip") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> lines = lines_of(r.out);
  EXPECT_GT(lines.size(), 5000u);
  expect_well_formed(lines);
  EXPECT_EQ(r.out.find("《"), std::string::npos);  // every ruby was resolved
  // The unpacked text is gone with the program.
  const std::string private_dir = process_temp_dir().file("yomite-" + std::to_string(getuid()));
  EXPECT_TRUE(std::filesystem::is_empty(private_dir));
}

TEST(YomiteRender, Refusals) {
  struct Case {
    std::string args;
    const char* message;
  };
  const Case cases[] = {
      {"--dump-lines /nonexistent/dir/book.txt", "cannot read /nonexistent/dir/book.txt"},
      {"--frob '" + SAMPLES + "sen-wo-hiku.txt'", "unknown flag --frob"},
      {"--dump-lines", "no file given"},
      {"--size 0x0 '" + SAMPLES + "sen-wo-hiku.txt'", "--size"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    RenderRun r = run(c.args);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

TEST(YomiteRender, Help) {
  RenderRun r = run("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("usage: yomite-render"), std::string::npos);
  EXPECT_NE(r.out.find("Extension: -N1 book composition"), std::string::npos);
}

TEST(YomiteRender, BookCompositionOption) {
  const std::string file = "'" + SAMPLES + "yomite-no-hon.txt'";
  const std::string standard = run("--dump-lines " + file).out;
  EXPECT_EQ(run("-N0 --dump-lines " + file).out, standard) << "N0 is the default";
  const std::string book = run("/N1 --dump-lines " + file).out;
  EXPECT_NE(book, standard);
  expect_well_formed(lines_of(book));
  EXPECT_EQ(run("-N1 -N0 --dump-lines " + file).out, standard) << "the last value wins";
}

// Each display line's advances as set: one line per display line, every
// column that does not end its paragraph set to its length exactly (or past
// it by one hanging mark), none longer; the same lines as --dump-lines.
TEST(YomiteRender, AdvancesShowEachColumnSetToItsLength) {
  const std::string file = "'" + SAMPLES + "yomite-no-hon.txt'";
  const std::vector<std::string> text = lines_of(run("-N1 --dump-lines " + file).out);
  std::vector<std::string> lines = lines_of(run("-N1 --dump-advances " + file).out);
  ASSERT_FALSE(lines.empty());
  int half = 0, em = 0;
  ASSERT_EQ(std::sscanf(lines[0].c_str(), "# half_width=%d em=%d", &half, &em), 2);
  EXPECT_EQ(em, 2 * half);
  lines.erase(lines.begin());
  ASSERT_EQ(lines.size(), text.size());
  int full = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i]);
    std::istringstream in(lines[i]);
    std::string index, flags, advances, readings;
    int length = 0, natural = 0;
    std::getline(in, index, '\t');
    std::getline(in, flags, '\t');
    in >> length >> natural;
    in.ignore(1);
    std::getline(in, advances, '\t');
    std::getline(in, readings);
    EXPECT_EQ(index, std::to_string(i));
    EXPECT_EQ(flags, text[i].substr(text[i].find('\t') + 1, flags.size()));
    EXPECT_FALSE(readings.empty());
    std::istringstream each(advances);
    int sum = 0, last = 0;
    for (int a; each >> a;) sum += last = a;
    const bool hangs = sum > length && sum - last <= length;
    if (flags.find('P') != std::string::npos) {
      EXPECT_TRUE(sum <= length || hangs) << sum;
      continue;
    }
    EXPECT_TRUE(sum == length || hangs) << sum;
    ++full;
  }
  EXPECT_GT(full, 50);
}

// The text without its readings: every "｜" and "《…》" taken out.
std::string without_readings(std::string text) {
  for (std::size_t at; (at = text.find("｜")) != std::string::npos;) text.erase(at, 3);
  for (std::size_t at; (at = text.find("《")) != std::string::npos;) {
    const std::size_t end = text.find("》", at);
    if (end == std::string::npos) break;
    text.erase(at, end + 3 - at);
  }
  return text;
}

TEST(YomiteRender, RubyModes) {
  const std::string sample = SAMPLES + "yomite-no-hon.utf8.txt";
  const std::string stripped = process_temp_dir().file("no-readings.txt");
  std::ofstream(stripped, std::ios::binary) << without_readings(slurp(sample));
  // The bracket notation forced: the stripped text no longer shows its marks.
  const std::string standard = run("-T2 --dump-lines '" + sample + "'").out;
  EXPECT_EQ(run("-T2 -U0 --dump-lines '" + sample + "'").out, standard) << "U0 is the default";

  // Hidden: the same columns, and the same pixels, as the text without readings.
  const std::string hidden = run("-T2 -U1 --dump-lines '" + sample + "'").out;
  EXPECT_EQ(hidden, run("-T2 --dump-lines '" + stripped + "'").out);
  EXPECT_EQ(hidden.find("ガラスど"), std::string::npos);
  const std::string a = process_temp_dir().file("ruby-hidden.png");
  const std::string b = process_temp_dir().file("no-readings.png");
  ASSERT_EQ(run("-T2 -U1 -o '" + a + "' '" + sample + "'").status, 0);
  ASSERT_EQ(run("-T2 -o '" + b + "' '" + stripped + "'").status, 0);
  EXPECT_TRUE(slurp(a) == slurp(b)) << "the hidden readings' page differs from the plain text's";

  // Inline: each reading in parentheses after its base, in the lines' text.
  const std::string inline_lines = run("-T2 -U2 --dump-lines '" + sample + "'").out;
  EXPECT_NE(inline_lines.find("硝子戸（ガラスど）を開ける"), std::string::npos) << inline_lines;
  EXPECT_NE(inline_lines.find("町内随一（ずいいち）の"), std::string::npos);
  expect_well_formed(lines_of(inline_lines));
  EXPECT_GT(lines_of(inline_lines).size(), lines_of(standard).size());
}

}  // namespace

namespace {

// Width and height from a PNG file's header.
bool png_size(const std::string& path, int* w, int* h) {
  std::string bytes = slurp(path);
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return false;
  auto be32 = [&](std::size_t at) {
    return (static_cast<unsigned char>(bytes[at]) << 24) |
           (static_cast<unsigned char>(bytes[at + 1]) << 16) |
           (static_cast<unsigned char>(bytes[at + 2]) << 8) |
           static_cast<unsigned char>(bytes[at + 3]);
  };
  *w = be32(16);
  *h = be32(20);
  return true;
}

TEST(YomiteRender, PagesAsPngAndPdf) {
  const std::string png = process_temp_dir().file("render-page.png");
  const std::string pdf = process_temp_dir().file("render-pages.pdf");
  std::remove(png.c_str());
  RenderRun r = run("-o '" + png + "' --page 2 '" + SAMPLES + "yomite-no-hon.txt'");
  ASSERT_EQ(r.status, 0) << r.err;
  int w = 0, h = 0;
  ASSERT_TRUE(png_size(png, &w, &h));
  EXPECT_GT(w, 300);
  EXPECT_GT(h, 300);

  r = run("--size 400x300 -o '" + png + "' '" + SAMPLES + "yomite-no-hon.txt'");
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_TRUE(png_size(png, &w, &h));
  EXPECT_EQ(w, 400);
  EXPECT_EQ(h, 300);

  r = run("-o '" + png + "' --page 999 '" + SAMPLES + "yomite-no-hon.txt'");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no page 999"), std::string::npos) << r.err;

  r = run("-o '" + pdf + "' '" + SAMPLES + "sen-wo-hiku.txt'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(slurp(pdf).compare(0, 5, "%PDF-"), 0);

  r = run("-o '" + png + "' --page 0 '" + SAMPLES + "yomite-no-hon.txt'");
  EXPECT_EQ(r.status, 1);
}

// Extensions: every match with its line and page; the page of a place.
TEST(YomiteRender, FindPrintsMatchesAndAtDrawsThePageOfAPlace) {
  const std::string sample = SAMPLES + "yomite-no-hon.txt";
  RenderRun lines = run("--dump-lines '" + sample + "'");
  ASSERT_EQ(lines.status, 0) << lines.err;
  const std::vector<std::string> dumped = lines_of(lines.out);
  RenderRun found = run("--find 本 '" + sample + "'");
  ASSERT_EQ(found.status, 0) << found.err;
  const std::vector<std::string> matches = lines_of(found.out);
  ASSERT_GT(matches.size(), 5u);
  for (const std::string& m : matches) {
    // LINE<TAB>PAGE<TAB>WORDS: the line holds the word, the page is its page.
    const int line = std::atoi(m.c_str());
    const int page = std::atoi(m.substr(m.find('\t') + 1).c_str());
    ASSERT_LT(static_cast<std::size_t>(line), dumped.size());
    EXPECT_NE(dumped[static_cast<std::size_t>(line)].find("本"), std::string::npos) << m;
    EXPECT_EQ(page, line / 20 + 1) << m;
    EXPECT_NE(m.substr(m.rfind('\t')).find("本"), std::string::npos) << m;
  }
  // Width and case alike: the half-width pattern finds the full-width Ｔ.
  EXPECT_FALSE(run("--find t '" + sample + "'").out.empty());
  EXPECT_TRUE(run("--find 無いもの '" + sample + "'").out.empty());

  // A place: logical line 20 of the sample, offset 0.
  RenderRun at = run("--at 20,0, '" + sample + "'");
  ASSERT_EQ(at.status, 0) << at.err;
  const int line = std::atoi(at.out.c_str());
  const int page = std::atoi(at.out.substr(at.out.find('\t') + 1).c_str());
  EXPECT_EQ(page, line / 20 + 1);
  const std::string png = process_temp_dir().file("render-at.png");
  const std::string by_page = process_temp_dir().file("render-by-page.png");
  ASSERT_EQ(run("--at 20,0, -o '" + png + "' '" + sample + "'").status, 0);
  ASSERT_EQ(run("--page " + std::to_string(page) + " -o '" + by_page + "' '" + sample + "'").status,
            0);
  EXPECT_EQ(slurp(png), slurp(by_page));
  // Words that are nowhere, or no place at all, are refused.
  RenderRun gone = run("--at 20,0,どこにもない言葉 '" + sample + "'");
  EXPECT_EQ(gone.status, 1);
  EXPECT_NE(gone.err.find("no place"), std::string::npos) << gone.err;
  EXPECT_EQ(run("--at nowhere '" + sample + "'").status, 1);
  EXPECT_EQ(run("--find").status, 1);
}

// FNV-1a, 64 bits: a fingerprint of a whole output.
std::uint64_t fingerprint(const std::string& bytes) {
  std::uint64_t h = 0xcbf29ce484222325u;
  for (unsigned char c : bytes) h = (h ^ c) * 0x100000001b3u;
  return h;
}

// With the full notation off (the default, or -A0) every text lays out as it
// did before the extension existed: fingerprints of the --dump-lines output
// taken then.
TEST(YomiteRender, FullNotationOffLaysOutAsBefore) {
  setenv("TMPDIR", process_temp_dir().path.c_str(), 1);  // the novel unpacks in our own folder
  struct Case {
    std::string path;
    std::uint64_t lines;
  } cases[] = {
      {SAMPLES + "sen-wo-hiku.txt", 0x918f46a1b7037f0fu},
      {SAMPLES + "yomite-no-hon.txt", 0x5dca701c01e23d19u},
      {yomite::test::shared_testdata("aozora/tsumito_batsu.zip"), 0xabfe298ce200ee53u},
      {yomite::test::shared_testdata("aozora/chukiichiran_kinyurei.txt"), 0x963020f30ff48f09u},
  };
  for (const Case& c : cases) {
    if (!exists(c.path)) continue;  // ../shared is not beside this clone
    for (const char* option : {"", "-A0 "}) {
      RenderRun r = run(std::string(option) + "--dump-lines '" + c.path + "'");
      ASSERT_EQ(r.status, 0) << r.err;
      EXPECT_EQ(fingerprint(r.out), c.lines) << option << c.path;
    }
  }
}

TEST(YomiteRender, FullNotationOnLeavesNoAnnotationInTheNovel) {
  YOMITE_NEED_SHARED_TESTDATA("aozora/tsumito_batsu.zip");
  setenv("TMPDIR", process_temp_dir().path.c_str(), 1);  // the novel unpacks in our own folder
  RenderRun r =
      run("-A1 --dump-lines '" + yomite::test::shared_testdata("aozora/tsumito_batsu.zip") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> lines = lines_of(r.out);
  expect_well_formed(lines);
  EXPECT_EQ(r.out.find("［＃"), std::string::npos);
  EXPECT_NE(r.out.find("枘"), std::string::npos);  // the gaiji, resolved
  ASSERT_GT(lines.size(), 8u);
  EXPECT_EQ(lines[6], "6\tP\t第一篇");  // the heading without its annotations
  EXPECT_EQ(lines[8], "8\tP\t一");
}

}  // namespace

// --- hostile and unlucky input -------------------------------------------------

namespace {

const std::string YOMISEAL = YOMITE_BINARY_DIR "/apps/yomiseal/yomiseal";
const std::string SAMPLE = SAMPLES + "sen-wo-hiku.txt";

std::string quoted(const std::string& path) {
  return "'" + path + "'";
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Names in `dir` beginning with '.' (temporary files left behind).
std::vector<std::string> hidden_files(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (e.path().filename().string()[0] == '.') names.push_back(e.path().filename());
  return names;
}

// A disk that fills up: the shell's file-size limit makes every write past
// `kib` KiB fail (with the signal it raises ignored), as a full disk would.
RenderRun run_with_disk_of(int kib, const std::string& args) {
  return run(args, "", "ulimit -f " + std::to_string(kib) + "; trap '' XFSZ;");
}

TEST(RenderOutputs, AFailedWriteKeepsTheOldFileAndSaysSo) {
  yomite::test::TempDir dir;
  for (const char* name : {"page.png", "pages.pdf"}) {
    SCOPED_TRACE(name);
    const std::string out = dir.file(name);
    write_file(out, "the good old file");
    RenderRun r = run_with_disk_of(8, "-o " + quoted(out) + " " + quoted(SAMPLE));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot write " + out), std::string::npos) << r.err;
    EXPECT_EQ(slurp(out), "the good old file");
    EXPECT_TRUE(hidden_files(dir.path).empty());
  }
  // --dump-lines to a full standard output.
  RenderRun r = run("--dump-lines " + quoted(SAMPLE) + " >/dev/full");
  EXPECT_EQ(r.status, 1);
}

// Only a new name or a regular file is an output: a FIFO nobody reads would
// block the write forever, a device is no file to keep. Refused before
// anything is read, as inputs are, through a link too.
TEST(RenderOutputs, AnOutputThatIsNoRegularFileIsRefusedAtOnce) {
  yomite::test::TempDir dir;
  const std::string fifo = dir.file("pipe.png");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/full", dir.file("full.pdf"));
  for (const std::string& out : {fifo, std::string("/dev/full"), dir.file("full.pdf")}) {
    SCOPED_TRACE(out);
    RenderRun r = run("-o " + quoted(out) + " " + quoted(SAMPLE), "", "timeout 60 env");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("yomite-render: cannot write " + out +
                              ": it is a FIFO, a device or a socket, not a regular file\n",
                          0),
              0u)
        << r.err;
  }
  EXPECT_TRUE(hidden_files(dir.path).empty());
}

TEST(RenderOutputs, AnOutputThatIsTheInputIsRefused) {
  yomite::test::TempDir dir;
  const std::string text = dir.file("book.txt");
  write_file(text, slurp(SAMPLE));
  std::filesystem::create_hard_link(text, dir.file("same.png"));
  for (const std::string& out : {text, dir.file("same.png"), dir.path + "/./book.txt"}) {
    RenderRun r = run("-o " + quoted(out) + " " + quoted(text));
    EXPECT_EQ(r.status, 1) << out;
    EXPECT_NE(r.err.find("is the input file"), std::string::npos) << r.err;
    EXPECT_EQ(slurp(text), slurp(SAMPLE));
  }
}

TEST(RenderOutputs, ALockedTextWantsItsPassword) {
  yomite::test::TempDir dir;
  const std::string locked = dir.file("locked.txt");
  std::string cmd = "LC_ALL=C.UTF-8 '" + YOMISEAL + "' -P12 " + quoted(SAMPLE) + " " +
                    quoted(locked) + " >" + quoted(dir.file("password"));
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::string said = slurp(dir.file("password"));
  ASSERT_GE(said.size(), 13u);
  std::string password = said.substr(said.size() - 13, 12);

  RenderRun r = run("--dump-lines " + quoted(locked));
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("--password"), std::string::npos) << r.err;

  r = run("--password 0000000000FF --dump-lines " + quoted(locked));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("does not open"), std::string::npos) << r.err;

  RenderRun plain = run("--dump-lines " + quoted(SAMPLE));
  for (const std::string& given : {password, "--password=" + password}) {
    std::string lower = given;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    r = run((given == password ? "--password " + lower : given) + " --dump-lines " +
            quoted(locked));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out == plain.out);
  }
  EXPECT_EQ(run("--password 12G45678 " + quoted(locked)).status, 1);
}

TEST(RenderOutputs, AHugeWindowIsCutToTheLargestPageWithAWord) {
  const std::string png = process_temp_dir().file("huge.png");
  RenderRun r = run("/W1000000 -o " + quoted(png) + " " + quoted(SAMPLE));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("cut to at most 8192"), std::string::npos) << r.err;
  int w = 0, h = 0;
  ASSERT_TRUE(png_size(png, &w, &h));
  EXPECT_LE(w, 8192);
  EXPECT_LE(h, 8192);
  std::remove(png.c_str());
  // --size asks for what it asks for, and nothing is said.
  r = run("/W1000000 --size 900x700 -o " + quoted(png) + " " + quoted(SAMPLE));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.find("cut"), std::string::npos) << r.err;
  // Page counts with a huge page size stay whole.
  r = run("/H2147483647 /W-2147483648 --dump-lines -o " + quoted(png) + " " + quoted(SAMPLE));
  EXPECT_EQ(r.status, 0) << r.err;
  r = run("/H2147483647 -o " + quoted(process_temp_dir().file("all.pdf")) + " " + quoted(SAMPLE));
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST(RenderInputs, NoRegularFileIsRefusedAtOnce) {
  yomite::test::TempDir dir;
  const std::string fifo = dir.file("pipe.txt");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {std::string("/dev/zero"), fifo, dir.path}) {
    RenderRun r = run("--dump-lines " + quoted(path));  // a hang times the test out
    EXPECT_EQ(r.status, 1) << path;
    EXPECT_NE(r.err.find("cannot read " + path), std::string::npos) << r.err;
  }
}

// A text longer than a document may hold is laid out as far as the limit; the
// command says so once, and the last column says so on the page.
TEST(RenderInputs, ATextOverTheCharacterLimitIsCutWithAWord) {
  yomite::test::TempDir dir;
  const std::string text = dir.file("long.txt");
  std::string line(1000, 'a');
  line += "\n";
  std::string bytes;
  for (int k = 0; k < 1100; ++k) bytes += line;
  write_file(text, bytes);
  RenderRun r = run("--dump-lines " + quoted(text));
  ASSERT_EQ(r.status, 0) << r.err;
  // (The sanitizer build's leak checker may add its report after it.)
  EXPECT_EQ(
      r.err.rfind("yomite-render: the text holds more than 1048576 characters; the rest was not "
                  "loaded\n",
                  0),
      0u)
      << r.err;
  const std::vector<std::string> lines = lines_of(r.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines.back().find("を超えました）"), std::string::npos) << lines.back();
}

TEST(RenderInputs, EndOfOptionsOpensANameBeginningWithADash) {
  yomite::test::TempDir dir;
  write_file(dir.file("-dash.txt"), "ダッシュ\n");
  RenderRun r = run("--dump-lines -W20 -- -dash.txt", dir.path);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "0\tP\tダッシュ\n");
}

}  // namespace

namespace {

// A copy of yomite-render in a directory of its own, so that the settings
// file beside it is this test's alone.
struct OwnRenderer {
  yomite::test::TempDir dir;
  std::string program = dir.file("yomite-render");
  std::string settings = dir.file("YOMITE.INI");
  OwnRenderer() {
    std::filesystem::copy_file(RENDER, program);
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
  }
  RenderRun run(const std::string& args) const {
    const std::string out = dir.file("run.out"), err = dir.file("run.err");
    std::string cmd =
        "TMPDIR='" + dir.path + "' '" + program + "' " + args + " >'" + out + "' 2>'" + err + "'";
    int raw = std::system(cmd.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
  }
};

// Sizes of ±2^31 in the settings file reach the real fonts and pages kept to
// the layout's limits: no overflow (the sanitizer build checks), no font
// left behind, a page no larger than the largest.
TEST(RenderSettings, HugeNumbersAreKeptToTheLimits) {
  OwnRenderer r;
  const std::string png = r.dir.file("page.png");
  for (const char* font : {"Size=-2147483648\nWidth=2147483647\nPage=2147483647\n",
                           "Size=2147483647\nWidth=-2147483648\nPage=-2147483648\n"}) {
    SCOPED_TRACE(font);
    write_file(r.settings, std::string("[Font]\n") + font + "[Scroll]\nPageMode=1\n");
    RenderRun run = r.run("-o " + quoted(png) + " " + quoted(SAMPLES + "yomite-no-hon.txt"));
    ASSERT_EQ(run.status, 0) << run.err;
    int w = 0, h = 0;
    ASSERT_TRUE(png_size(png, &w, &h));
    EXPECT_LE(w, 8192);
    EXPECT_LE(h, 8192);
  }
}

// The same sizes in a text's first-line directive.
TEST(RenderSettings, HugeDirectiveSizesAreKeptToTheLimits) {
  OwnRenderer r;
  const std::string png = r.dir.file("page.png"), text = r.dir.file("directive.txt");
  for (const char* size : {"2147483648", "-2147483648"}) {
    SCOPED_TRACE(size);
    write_file(text,
               std::string("｛フォント ＭＳ ゴシック,") + size + "｝｛幅 99999999999｝本文\n");
    RenderRun run = r.run("-o " + quoted(png) + " " + quoted(text));
    ASSERT_EQ(run.status, 0) << run.err;
    int w = 0, h = 0;
    ASSERT_TRUE(png_size(png, &w, &h));
    EXPECT_LE(w, 8192);
    EXPECT_LE(h, 8192);
  }
}

// The page size a PDF states ("/MediaBox [ 0 0 W H ]" of its first page).
std::string pdf_page_box(const std::string& pdf) {
  const std::string bytes = slurp(pdf);
  const std::size_t at = bytes.find("/MediaBox");
  return at == std::string::npos ? "" : bytes.substr(at, bytes.find(']', at) - at);
}

// A negative column length or page is no size at all: the default takes its
// place, in the settings file and on the command line alike, and no page
// with a negative side is drawn.
TEST(RenderSettings, NegativeSizesGiveTheDefaults) {
  OwnRenderer r;
  const std::string pdf = r.dir.file("pages.pdf");
  const std::string args = "--dump-lines -o " + quoted(pdf) + " " + quoted(SAMPLE);
  write_file(r.settings, "[Scroll]\nPageMode=1\n");
  const RenderRun standard = r.run(args);
  ASSERT_EQ(standard.status, 0) << standard.err;
  const std::string standard_box = pdf_page_box(pdf);
  ASSERT_NE(standard_box, "");
  write_file(r.settings, "[Font]\nWidth=-2147483648\nPage=-5\n[Scroll]\nPageMode=1\n");
  for (const std::string& options : {std::string(), std::string("-W-40 -H-2147483648 ")}) {
    SCOPED_TRACE(options);
    const RenderRun run = r.run(options + args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("yomite-render:"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out == standard.out);
    EXPECT_EQ(pdf_page_box(pdf), standard_box);
  }
}

// A settings file that is too large or no regular file is refused with a
// word to the user; the text is laid out with the defaults, as without one.
TEST(RenderSettings, ARefusedSettingsFileIsSaidAndTheDefaultsAreUsed) {
  OwnRenderer r;
  const std::string standard = r.run("--dump-lines " + quoted(SAMPLE)).out;
  write_file(r.settings, "[Font]\nWidth=20\n;" + std::string(2 << 20, ' '));
  RenderRun run = r.run("--dump-lines " + quoted(SAMPLE));
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("settings file " + r.settings + " is too large"), std::string::npos)
      << run.err;
  EXPECT_TRUE(run.out == standard);
  std::filesystem::remove(r.settings);
  std::filesystem::create_symlink("/dev/zero", r.settings);
  run = r.run("--dump-lines " + quoted(SAMPLE));
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("not a regular file"), std::string::npos) << run.err;
  EXPECT_TRUE(run.out == standard);
  std::filesystem::remove(r.settings);
  ASSERT_EQ(mkfifo(r.settings.c_str(), 0600), 0);
  run = r.run("--dump-lines " + quoted(SAMPLE));  // a hang times the test out
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err.rfind("yomite-render: the settings file " + r.settings +
                              " is a FIFO, a device or a socket, not a regular file; the "
                              "defaults are used\n",
                          0),
            0u)
      << run.err;
  EXPECT_TRUE(run.out == standard);
}

}  // namespace
