// yomite-render end to end: the real binary with the real fonts, on real texts.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

RenderRun run(const std::string& args) {
  const std::string base = process_temp_dir().file("render");
  const std::string out = base + ".out", err = base + ".err";
  std::string cmd = "'" + RENDER + "' " + args + " >'" + out + "' 2>'" + err + "'";
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
