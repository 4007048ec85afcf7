// The writer and the reader agree on every line: texts sealed in memory (fed
// in chunks of several sizes, so that line ends and CRs fall on block
// boundaries) read back as the normalised source.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "locked/locked.h"
#include "tests/locked/locked_test_util.h"

namespace yomite {
namespace {

using Lines = std::vector<std::string>;

struct RoundTrip {
  const char* name;
  std::string source;
  Lines expected;
};

void PrintTo(const RoundTrip& t, std::ostream* os) {
  *os << t.name;
}

std::string a(std::size_t n) {
  return std::string(n, 'a');
}

std::vector<RoundTrip> round_trips() {
  using namespace std::string_literals;
  return {
      {"Empty", "", {}},
      {"LfLines", "ab\ncd\n", {"ab", "cd"}},
      {"LastLineWithoutLf", "ab\ncd", {"ab", "cd"}},
      {"EmptyLines", "\n\n\n", {"", "", ""}},
      {"CrLf", "ab\r\ncd\r\n", {"ab", "cd"}},
      {"BareCrGetsLf", "ab\rcd\nef", {"ab", "cd", "ef"}},
      {"BareCrAtEnd", "ab\r", {"ab"}},
      {"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
      {"NulDropped", "a\0b\nc\0\0"s, {"ab", "c"}},
      {"NulBetweenCrAndLf", "a\r\0\nb"s, {"a", "b"}},
      {"ControlsBecomeBlanks", "\t\x1b\x01x\x0c\x7f\x1f"s, {"   x\x0c\x7f "}},
      {"HighBytesKept", "\x82\xa0\x83\x41\xff\x80\xa0\n", {"\x82\xa0\x83\x41\xff\x80\xa0"}},
      {"Exactly32766ThenLf", a(32766) + "\n", {a(32766)}},
      {"Exactly32767ThenLf", a(32767) + "\nb", {a(32767), "", "b"}},
      {"Line40000", a(40000) + "\nb", {a(32767), a(7233), "b"}},
      {"CrLfAfter32766", a(32766) + "\r\nb", {a(32766), "b"}},
      {"CrLfAfter32767", a(32767) + "\r\nb", {a(32767), "", "b"}},
      {"BareCrAfter32766", a(32766) + "\rb", {a(32766), "b"}},
      {"NulsDoNotCountTowardTheCut",
       a(100) + std::string(100, '\0') + a(32700) + "\n",
       {a(32767), a(33)}},
  };
}

class SealRoundTrip : public ::testing::TestWithParam<RoundTrip> {
 protected:
  void SetUp() override { reset_locked_state(); }
};

TEST_P(SealRoundTrip, ReadsBackNormalised) {
  const RoundTrip& t = GetParam();
  for (std::size_t chunk : {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{4096}}) {
    std::string file = test::seal_string(t.source, test::SAMPLE_KEY, 0, chunk);
    EXPECT_EQ(test::unseal_string(file), t.expected) << "chunk " << chunk;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, SealRoundTrip, ::testing::ValuesIn(round_trips()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Seal, LineNumbersWrapAfter256) {
  std::string source;
  Lines expected;
  for (int i = 0; i < 600; ++i) {
    expected.push_back("line " + std::to_string(i) +
                       std::string(static_cast<std::size_t>(i % 90), 'z'));
    source += expected.back() + (i % 3 ? "\n" : "\r\n");
  }
  EXPECT_EQ(test::unseal_string(test::seal_string(source, test::SAMPLE_KEY, 0, 1000)), expected);
}

TEST(Seal, BodyIsTheSourceXorTheKeystream) {
  // A long line crosses the 80-byte key and the 1040-byte period; the second
  // line starts again at column 0 with the next line's position terms.
  std::string first = a(2500), second = "bc";
  std::string file = test::seal_string(first + "\n" + second, test::SAMPLE_KEY, 0);
  ASSERT_EQ(file.size(), 256 + first.size() + 1 + second.size());
  int ango = key_ango(test::SAMPLE_KEY), r = key_random_term(ango);
  auto ks = [&](int line, int j) {
    return ((line % 256 * 1027 + j * 237) % 65) ^ ango ^ (r & 0xFF) ^ test::SAMPLE_KEY[j % 80];
  };
  std::string plain = first + "\n" + second;
  for (std::size_t k = 0; k < plain.size(); ++k) {
    int line = k <= first.size() ? 1 : 2;
    int j = static_cast<int>(line == 1 ? k : k - first.size() - 1);
    ASSERT_EQ(static_cast<unsigned char>(file[256 + k]),
              static_cast<unsigned char>(plain[k]) ^ ks(line, j))
        << k;
  }
}

TEST(Seal, EveryWrittenLineEndsWithLfOrAtTheLimit) {
  // Decodes byte by byte, starting a new line number after each LF and after
  // each LOCKED_LINE_MAX bytes other than CR and LF: a writer that cut
  // anywhere else would make the rest decode to other bytes.
  std::string source = a(32766) + "\r" + a(70005) + "\rx";
  std::string file = test::seal_string(source, test::SAMPLE_KEY, 0);
  int ango = key_ango(test::SAMPLE_KEY), r = key_random_term(ango);
  std::string plain;
  int line = 1, column = 0, stored = 0;
  for (std::size_t k = LOCKED_HEADER_BYTES; k < file.size(); ++k) {
    unsigned char b = static_cast<unsigned char>(file[k]) ^
                      keystream_byte(line, column++, ango, r, test::SAMPLE_KEY);
    plain += static_cast<char>(b);
    if (b != '\r' && b != '\n') ++stored;
    if (b == '\n' || stored == LOCKED_LINE_MAX) {
      ++line;
      column = stored = 0;
    }
  }
  EXPECT_EQ(plain, a(32766) + "\r\n" + a(70005) + "\r\nx");
  EXPECT_EQ(line, 5);  // 32766 + CR LF, 32767, 32767, 4471 + CR LF, then "x"
}

}  // namespace
}  // namespace yomite
