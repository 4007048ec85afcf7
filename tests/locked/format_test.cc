// Known values of the generator, checksums, derived values and keystream, and
// the header layout.
#if defined(_WIN32)
#include "platform/win32/windows_api.h"
#else
#include <iconv.h>
#endif

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "locked/locked.h"
#include "tests/locked/locked_test_util.h"

namespace yomite {
namespace {

TEST(Generator, SeededWithOneDrawsKnownValues) {
  LockedRng g;
  rng_seed(g, 1);
  const int expected[] = {41, 18467, 6334, 26500, 19169};
  for (int v : expected) EXPECT_EQ(rng_draw(g), v);
}

TEST(Generator, KeyStringIsTwentyDrawsInUpperCaseHex) {
  char key[LOCKED_KEY_CHARS + 1];
  make_key_string(1, key);
  EXPECT_EQ(std::strlen(key), 80u);
  EXPECT_EQ(std::string(key, 12), "0029482318BE");  // 41, 18467, 6334
  for (int i = 0; i < 80; ++i) {
    EXPECT_TRUE(std::strchr("0123456789ABCDEF", key[i])) << i;
    if (i % 4 == 0) {
      EXPECT_LE(key[i], '7') << "draws are 15-bit";
    }
  }
}

TEST(Checksums, AbcAndWrapping) {
  PasswordSums s = password_sums(reinterpret_cast<const unsigned char*>("abc"), 3);
  EXPECT_EQ(s.a, 590u);
  EXPECT_EQ(s.b, 1366u);
  EXPECT_EQ(s.c, 294u);
  // Forty digits shift B far past 32 bits: only the low 32 bits remain.
  std::string forty(40, 'F');
  PasswordSums w = password_sums(reinterpret_cast<const unsigned char*>(forty.data()), 40);
  EXPECT_EQ(w.b, 0xFFFFFF74u);
  EXPECT_EQ(w.c, 40u * 'F');
}

TEST(Keystream, PositionTermsOfLinesOneTwoAnd257) {
  const int line1[] = {52, 29, 6, 48, 25, 2};
  const int line2[] = {39, 16, 58, 35, 12, 54};
  for (int j = 0; j < 6; ++j) {
    EXPECT_EQ(position_term(1, j), line1[j]) << j;
    EXPECT_EQ(position_term(2, j), line2[j]) << j;
    EXPECT_EQ(position_term(257, j), line1[j]) << j;
  }
}

TEST(Keystream, RowsRepeatEvery1040ColumnsAndMatchTheFormula) {
  const char* key = test::SAMPLE_KEY;
  std::uint8_t row[KEYSTREAM_ROW_BYTES];
  fill_keystream_row(row, 3, 67, 12345, key);
  for (int j = 0; j < KEYSTREAM_ROW_BYTES; ++j) {
    int expected = ((3 * 1027 + j * 237) % 65) ^ 67 ^ (12345 & 0xFF) ^ key[j % 80];
    ASSERT_EQ(row[j], expected) << j;
  }
  EXPECT_EQ(keystream_byte(259, 32766, 67, 12345, key),
            keystream_byte(3, 32766 % 1040, 67, 12345, key));
}

TEST(DerivedValues, AngoForEachHexDigit) {
  // "4F" selects key character 79.
  const char digits[] = "0123456789ABCDEF";
  const int expected[] = {50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 67, 68, 69, 70, 71, 72};
  for (int d = 0; d < 16; ++d) {
    std::string key = "4F" + std::string(77, '0') + digits[d];
    EXPECT_EQ(key_ango(key.c_str()), expected[d]) << digits[d];
  }
  // The number stops at the first character that is not a hex digit.
  EXPECT_EQ(key_ango(("5x" + std::string(3, '0') + "A" + std::string(74, '0')).c_str()), 67);
  EXPECT_EQ(key_ango(("x" + std::string(79, '3')).c_str()), 'x' + 2);
}

TEST(DerivedValues, RandomTermSeedsWithAngoShiftedByAngoModSeven) {
  // ango 50: seed 100.
  LockedRng g;
  rng_seed(g, 100);
  EXPECT_EQ(key_random_term(50), rng_draw(g));
  rng_seed(g, 72u << 2);
  EXPECT_EQ(key_random_term(72), rng_draw(g));
}

// The system's own converter is the oracle.
#if defined(_WIN32)
std::string to_sjis(const std::string& utf8) {
  std::wstring wide(utf8.size(), L'\0');
  wide.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                          static_cast<int>(wide.size()))));
  std::string out(wide.size() * 2, '\0');
  out.resize(static_cast<std::size_t>(
      WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), out.data(),
                          static_cast<int>(out.size()), nullptr, nullptr)));
  return out;
}
#else
std::string to_sjis(const std::string& utf8) {
  iconv_t cd = iconv_open("SHIFT_JIS", "UTF-8");
  std::string out(utf8.size() * 2, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size(), out_left = out.size();
  char* o = out.data();
  iconv(cd, &in, &in_left, &o, &out_left);
  iconv_close(cd);
  out.resize(out.size() - out_left);
  return out;
}
#endif

TEST(Header, MagicIsTheShiftJisNotice) {
  std::string notice =
      std::string("\x1A\x1A\0\0", 4) + to_sjis(" Yomite このテキストは編集できません!! \r\n");
  ASSERT_EQ(notice.size(), static_cast<std::size_t>(LOCKED_MAGIC_BYTES));
  EXPECT_EQ(std::memcmp(notice.data(), LOCKED_MAGIC, LOCKED_MAGIC_BYTES), 0);
}

TEST(Header, LayoutWithAndWithoutPassword) {
  unsigned char h[LOCKED_HEADER_BYTES];
  build_locked_header(test::SAMPLE_KEY, 0, h);
  EXPECT_TRUE(is_locked_header(h, sizeof h));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(h + 64), 4), "1111");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(h + 128), 80), test::SAMPLE_KEY);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(h + 45), 19), std::string(19, '!'));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(h + 68), 60), std::string(60, '!'));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(h + 208), 46), std::string(46, '!'));
  EXPECT_EQ(h[254], 0x0D);
  EXPECT_EQ(h[255], 0x0A);

  build_locked_header(test::SAMPLE_KEY, 12, h);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(h + 128), 13), "xxxxxxxxxxxx6");
  PasswordSums s = password_sums(reinterpret_cast<const unsigned char*>(test::SAMPLE_KEY), 12);
  auto le32 = [&](int at) {
    return h[at] | h[at + 1] << 8 | h[at + 2] << 16 | static_cast<std::uint32_t>(h[at + 3]) << 24;
  };
  EXPECT_EQ(le32(208), s.a);
  EXPECT_EQ(le32(212), s.b);
  EXPECT_EQ(le32(216), s.c);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(h + 220), 34), std::string(34, '!'));
}

TEST(Header, RecognisedOnlyWithMagicVersionAndFullLength) {
  unsigned char h[LOCKED_HEADER_BYTES];
  build_locked_header(test::SAMPLE_KEY, 0, h);
  EXPECT_FALSE(is_locked_header(h, 255));
  h[65] = 'Z';  // only the first version byte counts
  EXPECT_TRUE(is_locked_header(h, sizeof h));
  h[64] = '2';
  EXPECT_FALSE(is_locked_header(h, sizeof h));
  h[64] = '1';
  h[44] ^= 1;
  EXPECT_FALSE(is_locked_header(h, sizeof h));
}

}  // namespace
}  // namespace yomite
