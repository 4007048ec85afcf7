// Encoding detection over buffers and files.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "decode/decode.h"
#include "platform/fake/fake_trace.h"
#include "tests/temp_dir.h"
#include "trace/trace.h"

namespace yomite {
namespace {

int detect(const std::string& bytes, bool cut = false) {
  return detect_encoding_bytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                               cut);
}

TEST(DetectEncoding, Decisions) {
  struct Case {
    std::string bytes;
    int mode;
    const char* name;
  } cases[] = {
      {"", ENC_SJIS, "empty file"},
      {"\xFF", ENC_SJIS, "one byte never tests for a mark"},
      {"\xFF\xFE\x82\xA0", ENC_UTF16LE, "FF FE wins over valid Shift_JIS"},
      {"\xFE\xFF", ENC_UTF16BE, "FE FF"},
      {"\xEF\xBB\xBF"
       "abc",
       ENC_UTF8, "UTF-8 mark"},
      {"abc\x1b$B0!", ENC_JIS, "ESC $"},
      {"abc\x1b(B", ENC_JIS, "ESC ("},
      {"abc\x1b", ENC_SJIS, "ESC as the last byte does not count"},
      {"abc\x1bx", ENC_SJIS, "ESC followed by another byte"},
      {"\xE3\x81\x82\xE3\x81\x84\r\n", ENC_UTF8, "valid UTF-8 with a multi-byte character"},
      {"plain ascii\n", ENC_EUC, "ASCII with bare LF is valid under both: EUC-JP"},
      {"plain ascii\r\n", ENC_SJIS, "ASCII with CR LF: Shift_JIS"},
      {"plain ascii", ENC_SJIS, "ASCII without any LF: Shift_JIS"},
      {"\xB0\xA1\xA4\xA2\n", ENC_EUC, "valid under both, bare LF: EUC-JP"},
      {"\xB0\xA1\xA4\xA2\r\n", ENC_SJIS, "valid under both, CR LF: Shift_JIS"},
      {"\x88\x9F\x82\xA0\n", ENC_SJIS, "valid Shift_JIS only"},
      {"\x8E\xB1\xE0\xFD\r\n", ENC_EUC, "valid EUC-JP only (SS2, then a pair Shift_JIS refuses)"},
      {"\x82\x20", ENC_SJIS, "a bad Shift_JIS trail, and 0x82 begins nothing in EUC-JP"},
      {"\x80\x80", ENC_SJIS, "valid under neither: Shift_JIS"},
  };
  for (const Case& c : cases) EXPECT_EQ(detect(c.bytes), c.mode) << c.name;
}

TEST(DetectEncoding, Utf8CutAtTheLimitStillCounts) {
  std::string bytes(DETECT_BYTES - 2, 'a');
  bytes.replace(0, 3, "\xE3\x81\x82");
  bytes += "\xE3\x81";  // a character cut off by the detection limit
  EXPECT_EQ(detect(bytes, true), ENC_UTF8);
  EXPECT_NE(detect(bytes, false), ENC_UTF8) << "without cut the test is strict";
}

// A small UTF-8 file whose last character was cut off (a download broken
// off, a file cut by hand) is still UTF-8: the cut at the end of the file
// counts no more than the cut at the detection limit.
TEST(DetectEncoding, SmallUtf8FileEndingInACutCharacter) {
  const std::string path = test::process_temp_dir().file("cut.txt");
  for (const char* tail : {"\xE3\x81", "\xE3", "\xF0\x9F\x98"}) {
    std::ofstream(path, std::ios::binary) << "\xE6\x9C\xAC\xE6\x96\x87\r\n" << tail;
    EXPECT_EQ(detect_encoding(path.c_str()), ENC_UTF8) << tail;
  }
  std::ofstream(path, std::ios::binary) << "\x88\x9F\x82\xA0\r\n\xE3";
  EXPECT_EQ(detect_encoding(path.c_str()), ENC_SJIS) << "not UTF-8 before the cut";
}

TEST(DetectEncoding, TracesBothValidityResults) {
  fake::set_trace_receiver(true);
  trace_init();
  fake::trace_messages().clear();
  detect("\x88\x9F\r\n");
  EXPECT_EQ(fake::trace_text(), "sjis=1 euc=0 ");
  trace_shutdown();
  fake::trace_messages().clear();
  detect("\x88\x9F\r\n");
  EXPECT_TRUE(fake::trace_messages().empty()) << "no receiver, no trace";
}

TEST(DetectEncoding, FilesAndMissingFiles) {
  std::string path = test::process_temp_dir().file("detect.txt");
  {
    std::ofstream f(path, std::ios::binary);
    f << "\xB0\xA1\n";
  }
  EXPECT_EQ(detect_encoding(path.c_str()), ENC_EUC);
  EXPECT_EQ(detect_encoding((path + ".missing").c_str()), ENC_SJIS);
}

TEST(Validity, ShiftJisAndEucBoundaries) {
  auto sjis = [](const std::string& s) {
    return is_valid_sjis(reinterpret_cast<const unsigned char*>(s.data()), s.size());
  };
  auto euc = [](const std::string& s) {
    return is_valid_euc(reinterpret_cast<const unsigned char*>(s.data()), s.size());
  };
  EXPECT_EQ(sjis("a\x88"), 1) << "the last byte is never examined as a lead";
  EXPECT_EQ(sjis("\x88\x3F"), 0);
  EXPECT_EQ(sjis("\x88\x40\xFC\xFC"), 1);
  EXPECT_EQ(sjis("\xFC\xFD"), 0);
  EXPECT_EQ(euc("\x8E\xA0\x8E\xDF"), 1);
  EXPECT_EQ(euc("\x8E\xE0"), 0);
  EXPECT_EQ(euc("\x8F\xB0\xA1"), 1);
  EXPECT_EQ(euc("\xA1\xA0"), 0);
  EXPECT_EQ(euc("\xA0\xA1"), 0);
  EXPECT_EQ(euc("a\xB0"), 1) << "a pair cut at the end passes";
  for (int b : {0x40, 0x7F, 0xFC}) EXPECT_EQ(is_sjis_trail_byte(b), 1) << b;
  for (int b : {0x3F, 0xFD}) EXPECT_EQ(is_sjis_trail_byte(b), 0) << b;
}

TEST(EncodingLetter, Letters) {
  EXPECT_EQ(encoding_from_letter('S'), ENC_SJIS);
  EXPECT_EQ(encoding_from_letter('E'), ENC_EUC);
  EXPECT_EQ(encoding_from_letter('J'), ENC_JIS);
  EXPECT_EQ(encoding_from_letter('U'), ENC_UTF16LE);
  EXPECT_EQ(encoding_from_letter('V'), ENC_UTF16BE);
  EXPECT_EQ(encoding_from_letter('8'), ENC_UTF8);
  EXPECT_EQ(encoding_from_letter('X'), -1);
  EXPECT_EQ(encoding_from_letter(0), -1);
}

}  // namespace
}  // namespace yomite
