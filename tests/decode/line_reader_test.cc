// The byte and UTF-16 line readers: the vectors of byte_lines.tests, long
// lines, keyed reading and the byte-order marks.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "decode/decode.h"
#include "decode/keystream.h"
#include "platform/fake/fake_trace.h"
#include "tests/temp_dir.h"
#include "trace/trace.h"

namespace yomite {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes parse_hex(const std::string& text) {
  Bytes out;
  std::istringstream in(text);
  std::string word;
  while (in >> word) out.push_back(static_cast<unsigned char>(std::stoul(word, nullptr, 16)));
  return out;
}

std::string trim(const std::string& s) {
  auto b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
  return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

std::vector<std::string> split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(s);
  while (std::getline(in, part, sep)) parts.push_back(trim(part));
  if (!s.empty() && s.back() == sep) parts.push_back("");
  return parts;
}

// Every line of a byte text, read as the loader reads it.
std::vector<Bytes> read_all(const Bytes& file, int mode, std::uint32_t key = 0, int r = 0,
                            const char* key_string = nullptr) {
  TextStream in;
  stream_open_memory(in, file.data(), file.size());
  std::vector<Bytes> lines;
  Bytes out(LINE_CAPACITY);
  int n;
  while ((n = read_byte_line(out.data(), LINE_CAPACITY, in, mode, key, r, key_string)) >= 0) {
    EXPECT_EQ(out[static_cast<std::size_t>(n)], 0) << "line not terminated";
    lines.emplace_back(out.begin(), out.begin() + n);
  }
  return lines;
}

struct ByteCase {
  int mode;
  Bytes input;
  std::vector<Bytes> lines;
  std::string name;
};

std::vector<ByteCase> load_byte_cases() {
  std::ifstream file(YOMITE_SOURCE_DIR "/tests/decode/byte_lines.tests");
  std::vector<ByteCase> cases;
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    auto fields = split(line, '|');
    if (fields.size() != 4) {
      ADD_FAILURE() << "bad vector: " << line;
      continue;
    }
    ByteCase c;
    c.mode = encoding_from_letter(fields[0][0]);
    if (fields[0] == "R") c.mode = ENC_RAW;
    c.input = parse_hex(fields[1]);
    if (!fields[2].empty())
      for (const std::string& l : split(fields[2], '/'))
        c.lines.push_back(parse_hex(l == "~" ? "" : l));
    c.name = fields[3];
    cases.push_back(c);
  }
  return cases;
}

TEST(ByteLineReader, Vectors) {
  auto cases = load_byte_cases();
  ASSERT_GT(cases.size(), 30u);
  for (const ByteCase& c : cases) EXPECT_EQ(read_all(c.input, c.mode), c.lines) << c.name;
}

TEST(ByteLineReader, LongLineGoesOnAsTheNextLineAndIsTraced) {
  fake::set_trace_receiver(true);
  trace_init();
  fake::trace_messages().clear();
  Bytes file(40000, 'a');
  file.push_back('\n');
  file.push_back('b');
  auto lines = read_all(file, ENC_SJIS);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].size(), 32767u);
  EXPECT_EQ(lines[1].size(), 40000u - 32767u);
  EXPECT_EQ(lines[2], Bytes{'b'});
  ASSERT_EQ(fake::trace_messages().size(), 2u);
  EXPECT_EQ(fake::trace_messages()[0], "61 too long line 32768  \n");
  EXPECT_EQ(fake::trace_messages()[1].substr(0, 4), "[aaa");
  EXPECT_EQ(fake::trace_messages()[1].size(), 1024u) << "a trace is at most 1024 characters";
  trace_shutdown();
}

TEST(ByteLineReader, CutLineLosesNothingInEveryMode) {
  // 32767 converted bytes and more: the whole line survives conversion.
  Bytes kanji;
  for (int i = 0; i < 20000; ++i) kanji.insert(kanji.end(), {0x88, 0x9F});
  auto lines = read_all(kanji, ENC_SJIS);
  std::size_t total = 0;
  for (const Bytes& l : lines) total += l.size();
  EXPECT_EQ(total, kanji.size()) << "every byte is still there after conversion";
  EXPECT_EQ(lines[0].size(), 32767u);
  EXPECT_EQ(lines[0].back(), '?') << "the lead byte the cut left alone";
}

TEST(ByteLineReader, Utf8CutKeepsCharactersWhole) {
  Bytes file(32766, 'a');
  file.insert(file.end(), {0xE3, 0x81, 0x82, 'z'});
  auto lines = read_all(file, ENC_UTF8);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), 32766u);
  EXPECT_EQ(lines[1], (Bytes{0xE3, 0x81, 0x82, 'z'}));
}

// A keystream that is easy to apply by hand: column j of line L XORs with
// (L * 3 + j) & 0xFF, plus r and the key string's byte.
const std::uint8_t* simple_keystream(std::uint32_t key, int r, const char* key_string) {
  static std::uint8_t row[KEYSTREAM_PERIOD];
  int line = (key >> 8) & 0xFF;
  for (int j = 0; j < KEYSTREAM_PERIOD; ++j)
    row[j] = static_cast<std::uint8_t>((line * 3 + j) ^ r ^ key_string[j % 80]);
  return row;
}

TEST(ByteLineReader, KeyedLinesAreUnscrambledBeforeTheLineEndTests) {
  set_keystream(simple_keystream);
  const std::string key_string(80, 'K');
  const int r = 0x55;
  const std::uint32_t ango = 0x40;
  auto scramble = [&](int line, const Bytes& plain) {
    const std::uint8_t* ks = simple_keystream(ango + 256u * line, r, key_string.c_str());
    Bytes out;
    for (std::size_t j = 0; j < plain.size(); ++j)
      out.push_back(plain[j] ^ ks[j % KEYSTREAM_PERIOD]);
    return out;
  };
  // Line 1 ends with CR LF (both scrambled), line 2 with a lone CR.
  Bytes file = scramble(1, {'a', 0x0D, 0x0A});
  Bytes second = scramble(2, {'b', 'c', 0x0D});
  file.insert(file.end(), second.begin(), second.end());
  TextStream in;
  stream_open_memory(in, file.data(), file.size());
  Bytes out(LINE_CAPACITY);
  ASSERT_EQ(
      read_byte_line(out.data(), LINE_CAPACITY, in, ENC_RAW, ango + 256 * 1, r, key_string.c_str()),
      1);
  EXPECT_EQ(out[0], 'a');
  ASSERT_EQ(
      read_byte_line(out.data(), LINE_CAPACITY, in, ENC_RAW, ango + 256 * 2, r, key_string.c_str()),
      2);
  EXPECT_EQ(out[0], 'b');
  EXPECT_EQ(out[1], 'c');
  EXPECT_EQ(
      read_byte_line(out.data(), LINE_CAPACITY, in, ENC_RAW, ango + 256 * 3, r, key_string.c_str()),
      -1);
  // A key whose low byte is 0 reads the line unchanged.
  stream_open_memory(in, file.data(), file.size());
  ASSERT_GE(read_byte_line(out.data(), LINE_CAPACITY, in, ENC_RAW, 256 * 1, r, key_string.c_str()),
            1);
  EXPECT_EQ(out[0], file[0]);
  set_keystream(nullptr);
}

std::vector<std::u16string> read_all_utf16(const Bytes& file, int mode,
                                           int capacity = LINE_CAPACITY) {
  TextStream in;
  stream_open_memory(in, file.data(), file.size());
  skip_byte_order_mark(in, mode);
  std::vector<std::u16string> lines;
  std::vector<char16_t> out(static_cast<std::size_t>(capacity));
  while (read_utf16_line(out.data(), capacity, in, mode)) lines.emplace_back(out.data());
  return lines;
}

TEST(Utf16LineReader, LineEndsAndMarks) {
  struct Case {
    int mode;
    Bytes input;
    std::vector<std::u16string> lines;
    const char* name;
  } cases[] = {
      {ENC_UTF16BE,
       {0x00, 0x41, 0x00, 0x0D, 0x00, 0x0A, 0x00, 0x42},
       {u"A", u"B"},
       "big-endian CR LF"},
      {ENC_UTF16LE,
       {0xFF, 0xFE, 0x41, 0x00, 0x0D, 0x00, 0x42, 0x00},
       {u"A", u"B"},
       "mark dropped, lone CR"},
      {ENC_UTF16LE, {0xFE, 0xFF, 0x41, 0x00}, {u"A"}, "either mark in either mode"},
      {ENC_UTF16BE, {0xFF, 0xFE, 0x00, 0x41}, {u"A"}, "the little-endian mark in big-endian mode"},
      {ENC_UTF16LE, {0x41, 0x00, 0x0A, 0x00}, {u"A"}, "no mark: nothing dropped"},
      {ENC_UTF16LE,
       {0x41, 0x00, 0xFF, 0xFF, 0x42, 0x00, 0x0A, 0x00, 0x43, 0x00},
       {u"A\xFFFF"
        u"B",
        u"C"},
       "U+FFFF does not end the document"},
      {ENC_UTF16LE, {0x41, 0x00, 0x42}, {u"A"}, "an odd byte at the end"},
      {ENC_UTF16LE, {0x0D, 0x00}, {u""}, "a lone CR at the end of the file"},
      {ENC_UTF16LE, {}, {}, "empty file"},
  };
  for (const Case& c : cases) EXPECT_EQ(read_all_utf16(c.input, c.mode), c.lines) << c.name;
}

TEST(Utf16LineReader, LongLinesAreCutWithoutSplittingAPair) {
  Bytes file;
  for (int i = 0; i < 32766; ++i) file.insert(file.end(), {0x41, 0x00});
  file.insert(file.end(), {0x42, 0xD8, 0x9F, 0xDF, 0x43, 0x00});  // U+20B9F then C
  auto lines = read_all_utf16(file, ENC_UTF16LE);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), 32766u);
  EXPECT_EQ(lines[1],
            u"\xD842\xDF9F"
            u"C");
}

TEST(ByteOrderMark, Utf8MarkIsSkippedOnlyWhenWhole) {
  Bytes with = {0xEF, 0xBB, 0xBF, 'a'}, partial = {0xEF, 0xBB, 'a'}, short_file = {0xEF};
  EXPECT_EQ(read_all(with, ENC_UTF8).size(), 1u);
  for (const Bytes* file : {&with, &partial, &short_file}) {
    TextStream in;
    stream_open_memory(in, file->data(), file->size());
    skip_byte_order_mark(in, ENC_UTF8);
    Bytes out(LINE_CAPACITY);
    int n = read_byte_line(out.data(), LINE_CAPACITY, in, ENC_UTF8, 0, 0, nullptr);
    Bytes expected = file == &with ? Bytes{'a'} : *file;
    EXPECT_EQ(Bytes(out.begin(), out.begin() + n), expected);
  }
}

TEST(TextStream, PushBackWorksAcrossARefill) {
  // A CR as the last byte of one buffer and a non-LF as the first of the next.
  std::string path = test::process_temp_dir().file("refill.txt");
  {
    std::ofstream f(path, std::ios::binary);
    f << std::string(STREAM_BUFFER_BYTES - 1, 'a') << '\r' << "bc";
  }
  TextStream in;
  ASSERT_EQ(stream_open(in, path.c_str()), 1);
  Bytes out(LINE_CAPACITY);
  EXPECT_EQ(read_byte_line(out.data(), LINE_CAPACITY, in, ENC_SJIS, 0, 0, nullptr),
            static_cast<int>(STREAM_BUFFER_BYTES - 1));
  ASSERT_EQ(read_byte_line(out.data(), LINE_CAPACITY, in, ENC_SJIS, 0, 0, nullptr), 2);
  EXPECT_EQ(out[0], 'b');
  EXPECT_EQ(read_byte_line(out.data(), LINE_CAPACITY, in, ENC_SJIS, 0, 0, nullptr), -1);
  stream_close(in);
  EXPECT_EQ(stream_open(in, (path + ".missing").c_str()), 0);
}

}  // namespace
}  // namespace yomite
