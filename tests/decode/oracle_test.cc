// Oracles nobody here wrote: glibc's charmaps for the whole JIS X 0208 table,
// and the Vim tutor as Debian ships it in three encodings (plus the forms
// iconv makes of it) for the decoder as a whole.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "decode/decode.h"
#include "tests/temp_dir.h"

namespace yomite {
namespace {

const std::string kTutor = "/usr/share/vim/vim90/tutor/tutor.ja";

std::string run(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    pclose(p);
  }
  return out;
}

// Unicode scalar -> two-byte code of a glibc charmap (gzip'd).
std::map<std::string, std::pair<int, int>> charmap_pairs(const std::string& name) {
  std::map<std::string, std::pair<int, int>> pairs;
  std::string text = run("zcat /usr/share/i18n/charmaps/" + name + ".gz");
  std::regex line(R"(<(U[0-9A-F]+)>\s+/x([0-9a-f]{2})/x([0-9a-f]{2})\s)");
  for (std::sregex_iterator it(text.begin(), text.end(), line), end; it != end; ++it)
    pairs[(*it)[1]] = {std::stoi((*it)[2], nullptr, 16), std::stoi((*it)[3], nullptr, 16)};
  return pairs;
}

TEST(JisToSjis, AgreesWithGlibcCharmapsOnEveryCell) {
  auto euc = charmap_pairs("EUC-JP");
  auto sjis = charmap_pairs("SHIFT_JIS");
  if (euc.empty() || sjis.empty()) GTEST_SKIP() << "glibc charmaps not installed";
  int cells = 0;
  for (const auto& [code, e] : euc) {
    if (e.first < 0xA1 || e.second < 0xA1) continue;  // SS2/SS3 forms are not JIS X 0208
    auto s = sjis.find(code);
    if (s == sjis.end()) continue;
    SjisPair got = jis_to_sjis(e.first & 0x7F, e.second & 0x7F);
    EXPECT_EQ(got.first, s->second.first) << code;
    EXPECT_EQ(got.second, s->second.second) << code;
    ++cells;
  }
  EXPECT_GT(cells, 6800) << "every JIS X 0208 cell in both charmaps";
  SjisPair example = jis_to_sjis(0x30, 0x21);
  EXPECT_EQ(example.first, 0x88);
  EXPECT_EQ(example.second, 0x9F);
}

// Every line of a file as the loader will see it: decoded to UTF-16, with
// control characters turned into spaces.
std::vector<std::u16string> decode_file(const std::string& path, int* mode_out) {
  int mode = detect_encoding(path.c_str());
  *mode_out = mode;
  TextStream in;
  std::vector<std::u16string> lines;
  if (!stream_open(in, path.c_str())) return lines;
  skip_byte_order_mark(in, mode);
  std::vector<unsigned char> bytes(LINE_CAPACITY);
  std::vector<char16_t> units(LINE_CAPACITY);
  for (;;) {
    std::u16string line;
    if (mode == ENC_UTF16LE || mode == ENC_UTF16BE) {
      if (!read_utf16_line(units.data(), LINE_CAPACITY, in, mode)) break;
      line = units.data();
    } else {
      int n = read_byte_line(bytes.data(), LINE_CAPACITY, in, mode, 0, 0, nullptr);
      if (n < 0) break;
      int u = byte_line_to_utf16(mode, 932, bytes.data(), n, units.data(), LINE_CAPACITY);
      line.assign(units.data(), static_cast<std::size_t>(u));
    }
    for (char16_t& c : line)
      if (c >= 1 && c <= 0x20) c = u' ';
    lines.push_back(line);
  }
  stream_close(in);
  return lines;
}

// The UTF-8 tutor through iconv alone: the lines the decoder must give.
std::vector<std::u16string> expected_tutor_lines() {
  std::string utf16 = run("iconv -f UTF-8 -t UTF-16LE " + kTutor + ".utf-8");
  std::vector<std::u16string> lines(1);
  for (std::size_t i = 0; i + 1 < utf16.size(); i += 2) {
    char16_t c = static_cast<unsigned char>(utf16[i]) | static_cast<unsigned char>(utf16[i + 1])
                                                            << 8;
    if (c == u'\n') {
      lines.emplace_back();
    } else if (c != u'\r') {
      lines.back() += c >= 1 && c <= 0x20 ? u' ' : c;
    }
  }
  if (lines.back().empty()) lines.pop_back();  // the file ends with a line end
  return lines;
}

TEST(RealTexts, VimTutorReadsTheSameInEveryEncoding) {
  std::ifstream probe(kTutor + ".utf-8");
  if (!probe) GTEST_SKIP() << "vim-runtime is not installed";
  auto expected = expected_tutor_lines();
  ASSERT_GT(expected.size(), 900u);

  std::string dir = test::process_temp_dir().path;
  ASSERT_EQ(
      std::system(
          ("iconv -f UTF-8 -t ISO-2022-JP " + kTutor + ".utf-8 > " + dir + "/tutor.jis").c_str()),
      0);
  ASSERT_EQ(std::system(("(printf '\\377\\376'; iconv -f UTF-8 -t UTF-16LE " + kTutor +
                         ".utf-8) > " + dir + "/tutor.u16le")
                            .c_str()),
            0);
  ASSERT_EQ(std::system(("(printf '\\376\\377'; iconv -f UTF-8 -t UTF-16BE " + kTutor +
                         ".utf-8) > " + dir + "/tutor.u16be")
                            .c_str()),
            0);
  ASSERT_EQ(std::system(("iconv -f UTF-8 -t CP932 " + kTutor + ".utf-8 | sed 's/$/\\r/' > " + dir +
                         "/tutor.crlf")
                            .c_str()),
            0);

  struct Form {
    std::string path;
    int mode;
  } forms[] = {
      {kTutor + ".sjis", ENC_SJIS},        {kTutor + ".euc", ENC_EUC},
      {kTutor + ".utf-8", ENC_UTF8},       {dir + "/tutor.jis", ENC_JIS},
      {dir + "/tutor.u16le", ENC_UTF16LE}, {dir + "/tutor.u16be", ENC_UTF16BE},
      {dir + "/tutor.crlf", ENC_SJIS},
  };
  for (const Form& f : forms) {
    int mode = -1;
    auto lines = decode_file(f.path, &mode);
    EXPECT_EQ(mode, f.mode) << f.path << " detected";
    ASSERT_EQ(lines.size(), expected.size()) << f.path;
    for (std::size_t i = 0; i < lines.size(); ++i)
      ASSERT_EQ(lines[i], expected[i]) << f.path << " line " << i + 1;
  }
}

}  // namespace
}  // namespace yomite
