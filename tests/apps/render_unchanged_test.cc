// The standard layout stays byte for byte what it was: yomite-render's
// --dump-lines and the pixels of its pages, for the samples, the Vim tutor and
// the novel, in both writing directions, checked against checksums taken
// before any layout extension existed (render_unchanged.sums). Extensions are
// off by default, and off they must not move a pixel.
//
// After an intended change of the standard layout:
//   YOMITE_UPDATE_GOLDEN=1 build/tests/apps/yomite_render_unchanged_test
// then review the diff of tests/apps/render_unchanged.sums.
#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/shared_data.h"
#include "tests/temp_dir.h"

namespace {

using yomite::test::process_temp_dir;

const std::string RENDER = YOMITE_BINARY_DIR "/apps/yomite-render/yomite-render";
const std::string SUMS = YOMITE_SOURCE_DIR "/tests/apps/render_unchanged.sums";
const std::string SAMPLES = YOMITE_SOURCE_DIR "/samples/";
const std::string TUTOR = "/usr/share/vim/vim90/tutor/tutor.ja.utf-8";
const char* const NOVEL = "aozora/tsumito_batsu.zip";
const char* const HORIZONTAL = "'-FＭＳ ゴシック'";

// 64-bit FNV-1a.
struct Fnv {
  std::uint64_t h = 1469598103934665603ull;
  void add(const void* data, std::size_t n) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
  }
  std::string hex() const {
    char s[17];
    std::snprintf(s, sizeof s, "%016llx", static_cast<unsigned long long>(h));
    return s;
  }
};

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs yomite-render with `args`; its standard output, or "" with a failure.
std::string render(const std::string& args) {
  const std::string out = process_temp_dir().file("unchanged.out");
  std::string cmd = "'" + RENDER + "' " + args + " >'" + out + "' 2>/dev/null";
  int raw = std::system(cmd.c_str());
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << cmd;
  return slurp(out);
}

std::string text_sum(const std::string& text) {
  Fnv f;
  f.add(text.data(), text.size());
  return f.hex();
}

// The pixels of a PNG (not its bytes, which depend on the compressor).
std::string pixel_sum(const std::string& png) {
  cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
  Fnv f;
  if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    f.add(&w, sizeof w);
    f.add(&h, sizeof h);
    for (int y = 0; y < h; ++y) f.add(data + static_cast<std::ptrdiff_t>(y) * stride, 4u * w);
  } else {
    ADD_FAILURE() << "cannot read " << png;
  }
  cairo_surface_destroy(s);
  return f.hex();
}

std::string page_sum(const std::string& options, const std::string& file, int page) {
  const std::string png = process_temp_dir().file("unchanged.png");
  std::remove(png.c_str());
  render(options + " -o '" + png + "' --page " + std::to_string(page) + " '" + file + "'");
  return pixel_sum(png);
}

std::map<std::string, std::string> read_sums() {
  std::map<std::string, std::string> sums;
  std::ifstream in(SUMS);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::size_t tab = line.rfind('\t');
    if (tab != std::string::npos) sums[line.substr(0, tab)] = line.substr(tab + 1);
  }
  return sums;
}

// Collects name -> checksum and compares them with the file, or rewrites it.
class Unchanged : public ::testing::Test {
 protected:
  void check(const std::string& name, const std::string& sum) {
    got_.emplace_back(name, sum);
    if (update_) return;
    auto it = expected_.find(name);
    if (it == expected_.end())
      ADD_FAILURE() << name << " has no checksum in " << SUMS;
    else
      EXPECT_EQ(sum, it->second) << name << " changed";
  }
  void TearDown() override {
    if (!update_) return;
    std::map<std::string, std::string> all = read_sums();
    for (const auto& [name, sum] : got_) all[name] = sum;
    std::ofstream out(SUMS);
    out << "# name<TAB>FNV-1a 64 of yomite-render's --dump-lines or of a page's pixels\n";
    for (const auto& [name, sum] : all) out << name << '\t' << sum << '\n';
  }

  const bool update_ = std::getenv("YOMITE_UPDATE_GOLDEN") != nullptr;
  const std::map<std::string, std::string> expected_ = read_sums();
  std::vector<std::pair<std::string, std::string>> got_;
};

struct Direction {
  const char* name;
  std::string options;
};

const Direction DIRECTIONS[] = {{"vertical", ""}, {"horizontal", HORIZONTAL}};

TEST_F(Unchanged, SamplesLinesAndEveryPage) {
  struct Sample {
    const char* file;
    int pages;
  };
  // sen-wo-hiku.txt asks for "@ＭＳ 明朝" at 20 px in its first line.
  const Sample samples[] = {{"yomite-no-hon.txt", 5}, {"sen-wo-hiku.txt", 3}};
  for (const Direction& d : DIRECTIONS)
    for (const Sample& s : samples) {
      const std::string file = SAMPLES + s.file, name = std::string(s.file) + " " + d.name;
      check(name + " lines", text_sum(render(d.options + " --dump-lines '" + file + "'")));
      for (int page = 1; page <= s.pages; ++page)
        check(name + " page " + std::to_string(page), page_sum(d.options, file, page));
    }
}

TEST_F(Unchanged, TutorLines) {
  if (!std::ifstream(TUTOR).good()) GTEST_SKIP() << "vim-runtime is not installed";
  for (const Direction& d : DIRECTIONS)
    check(std::string("tutor ") + d.name + " lines",
          text_sum(render(d.options + " --dump-lines '" + TUTOR + "'")));
  check("tutor narrow lines", text_sum(render("-W24 --dump-lines '" + TUTOR + "'")));
}

TEST_F(Unchanged, NovelLinesAndPages) {
  YOMITE_NEED_SHARED_TESTDATA(NOVEL);
  const std::string file = yomite::test::shared_testdata(NOVEL);
  for (const Direction& d : DIRECTIONS) {
    const std::string name = std::string("novel ") + d.name;
    check(name + " lines", text_sum(render(d.options + " --dump-lines '" + file + "'")));
    for (int page : {1, 2, 3, 10, 100, 700, 1500})
      check(name + " page " + std::to_string(page), page_sum(d.options, file, page));
  }
  check("novel narrow lines", text_sum(render("-W24 --dump-lines '" + file + "'")));
  check("novel narrow page 50", page_sum("-W24", file, 50));
}

}  // namespace
