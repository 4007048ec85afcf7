// Code page 932 both ways by the shared table: every code reads back as the
// character it reads as, a character with several codes gets the one Windows
// writes, and the Windows build agrees with the system's own conversion.
#include "platform/shared/cp932.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "platform/codepage.h"

namespace yomite::platform {
namespace {

unsigned code_of(char16_t u) {
  unsigned char b[2] = {0, 0};
  const int n = cp932_bytes(u, b);
  return n == 0 ? 0 : n == 1 ? b[0] : (b[0] << 8 | b[1]);
}

TEST(Cp932, EveryCodeReadsBackAsItsCharacter) {
  int checked = 0;
  for (unsigned code = 0x8140; code <= 0xFCFC; ++code) {
    const unsigned lead = code >> 8, trail = code & 0xFF;
    if ((lead > 0x9F && lead < 0xE0) || trail < 0x40 || trail == 0x7F || trail > 0xFC) continue;
    const unsigned char b[2] = {static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)};
    char16_t u = 0;
    if (convert_cp932(b, 2, &u, 1) != 1 || u == UNMAPPED_UNIT) continue;
    unsigned char again[2] = {0, 0};
    const int n = cp932_bytes(u, again);
    ASSERT_EQ(n, 2) << std::hex << code;
    char16_t v = 0;
    convert_cp932(again, n, &v, 1);
    EXPECT_EQ(v, u) << std::hex << code;
    ++checked;
  }
  EXPECT_GT(checked, 7000);
  for (unsigned b = 0; b < 0x80; ++b) EXPECT_EQ(code_of(static_cast<char16_t>(b)), b);
  EXPECT_EQ(code_of(u'ｱ'), 0xB1u);
  EXPECT_EQ(code_of(u'・'), 0x8145u);
}

TEST(Cp932, SeveralCodesGiveTheOneWindowsWrites) {
  EXPECT_EQ(code_of(u'≒'), 0x81E0u);  // JIS X 0208, not NEC row 13
  EXPECT_EQ(code_of(u'∵'), 0x81E6u);
  EXPECT_EQ(code_of(u'Ⅰ'), 0x8754u);  // NEC row 13, not IBM
  EXPECT_EQ(code_of(u'ⅰ'), 0xFA40u);  // IBM, not NEC's copy
  EXPECT_EQ(code_of(u'￤'), 0xFA55u);
  EXPECT_EQ(code_of(u'￢'), 0x81CAu);
}

TEST(Cp932, JisFormsAndCharactersWithoutACode) {
  EXPECT_EQ(code_of(u'〜'), 0x8160u);  // U+301C, as JIS X 0208 reads 0x8160
  EXPECT_EQ(code_of(u'～'), 0x8160u);
  EXPECT_EQ(code_of(u'−'), 0x817Cu);
  EXPECT_EQ(code_of(u'—'), 0x815Cu);
  for (char16_t u : {u'é', u'€', u'\xD83D', u'\xDE00', u'\xFFFD'})
    EXPECT_EQ(code_of(u), 0u) << static_cast<unsigned>(u);
}

#if defined(_WIN32)
// What Windows writes for every character it can write without a stand-in.
TEST(Cp932, TheSameCodesAsWindows) {
  for (unsigned u = 1; u < 0x10000; ++u) {
    if (u >= 0xD800 && u < 0xE000) continue;
    const wchar_t w = static_cast<wchar_t>(u);
    char b[2] = {0, 0};
    BOOL lost = FALSE;
    const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &w, 1, b, 2, nullptr, &lost);
    if (n <= 0 || lost) continue;
    // 0x80, 0xA0 and 0xFD..0xFF: Windows' own round trips, which the table
    // (and so the viewer) reads as no character.
    char16_t read = 0;
    convert_cp932(reinterpret_cast<const unsigned char*>(b), n, &read, 1);
    if (read == UNMAPPED_UNIT && u != UNMAPPED_UNIT) continue;
    const unsigned windows = n == 1 ? static_cast<unsigned char>(b[0])
                                    : (static_cast<unsigned char>(b[0]) << 8 |
                                       static_cast<unsigned char>(b[1]));
    EXPECT_EQ(code_of(static_cast<char16_t>(u)), windows) << std::hex << u;
  }
}
#endif

}  // namespace
}  // namespace yomite::platform
