// UTF-8 to UTF-16 and back, with the malformed forms a file may hold.
#include <gtest/gtest.h>

#include <string>

#include "decode/decode.h"

namespace yomite {
namespace {

std::u16string to16(const std::string& s) {
  std::u16string out(s.size() + 1, u'\0');
  int n = utf8_to_utf16(reinterpret_cast<const unsigned char*>(s.data()), static_cast<int>(s.size()),
                        out.data(), static_cast<int>(out.size()));
  out.resize(static_cast<std::size_t>(n));
  return out;
}

TEST(Utf8, ConversionReplacesEachMalformedPartOnce) {
  struct Case {
    std::string in;
    std::u16string out;
    const char* name;
  } cases[] = {
      {"a\xE3\x81\x82", u"aあ", "three bytes"},
      {"\xF0\xA0\xAE\x9F", u"\xD842\xDF9F", "outside the BMP: a surrogate pair"},
      {"\xC0\xAF", u"\xFFFD\xFFFD", "overlong lead and a lone continuation"},
      {"\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD", "an encoded surrogate"},
      {"\xE3\x81" "a", u"\xFFFD" "a", "a sequence cut short"},
      {"\xE3\x81", u"\xFFFD", "cut by the end of the line"},
      {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD", "above U+10FFFF"},
      {"\xFF", u"\xFFFD", "a byte that begins nothing"},
  };
  for (const Case& c : cases) EXPECT_EQ(to16(c.in), c.out) << c.name;
}

TEST(Utf8, NeverWritesHalfAPairAtTheCapacity) {
  std::string in = "a\xF0\xA0\xAE\x9F";
  char16_t out[3] = {1, 1, 1};
  EXPECT_EQ(utf8_to_utf16(reinterpret_cast<const unsigned char*>(in.data()), 5, out, 3), 1);
  EXPECT_EQ(out[1], 0);
}

TEST(Utf8, BackToUtf8) {
  std::u16string s = u"aあ\xD842\xDF9F\xD800";
  EXPECT_EQ(utf16_to_utf8(s.data(), s.size()), "a\xE3\x81\x82\xF0\xA0\xAE\x9F\xEF\xBF\xBD");
}

TEST(Utf8, DetectionNeedsOneMultiByteCharacter) {
  auto valid = [](const std::string& s, bool cut) {
    return is_valid_utf8_text(reinterpret_cast<const unsigned char*>(s.data()), s.size(), cut);
  };
  EXPECT_EQ(valid("ascii only", false), 0);
  EXPECT_EQ(valid("\xC3\xA9", false), 1);
  EXPECT_EQ(valid("\xE3\x81", true), 0) << "nothing whole before the cut";
  EXPECT_EQ(valid("\xC3\xA9\xE3\x81", true), 1);
  EXPECT_EQ(valid("\xC3\xA9\x82\xA0", false), 0);
}

}  // namespace
}  // namespace yomite
