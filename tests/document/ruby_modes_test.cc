// Ruby display modes: a resolved line rewritten with its readings left out
// or set inline.
#include "document/ruby_modes.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "view/attr_codes.h"

namespace yomite {
namespace {

constexpr std::uint16_t R0 = RUBY_CODE_FIRST, R1 = RUBY_CODE_FIRST + 1;
constexpr std::uint16_t C = CONTINUATION_CODE, DOTS = CODE_EMPHASIS_DOTS, P = CODE_PLAIN;

struct Rewritten {
  std::u16string text;
  std::vector<std::uint16_t> codes;
  std::vector<int> moved;
  bool marked;
};

// "町内随一の本を読む": 随一 read ずいいち, 本 read ほん with an empty reading
// beside it, 読 with emphasis dots.
Rewritten rewrite(int mode, std::array<char16_t*, 2> readings) {
  const std::u16string text = u"町内随一の本を読む";
  const std::vector<std::uint16_t> codes = {P, P, R0, C, P, R1, P, DOTS, P};
  Rewritten r;
  r.marked = rewrite_ruby(mode, text.data(), static_cast<int>(text.size()), codes.data(),
                          readings.data(), r.text, r.codes, &r.moved);
  return r;
}

TEST(RubyModes, HiddenReadingsLeaveTheTextAndOtherMarks) {
  char16_t zuiichi[] = u"ずいいち", hon[] = u"ほん";
  Rewritten r = rewrite(RUBY_HIDE, {zuiichi, hon});
  EXPECT_EQ(r.text, u"町内随一の本を読む");
  EXPECT_EQ(r.codes, (std::vector<std::uint16_t>{P, P, P, P, P, P, P, DOTS, P}));
  EXPECT_TRUE(r.marked) << "the emphasis dots are still marked";
  for (int i = 0; i <= 9; ++i) EXPECT_EQ(r.moved[static_cast<std::size_t>(i)], i);
}

TEST(RubyModes, InlineReadingsFollowTheirBasesInParentheses) {
  char16_t zuiichi[] = u"ずいいち", empty[] = u"";
  Rewritten r = rewrite(RUBY_INLINE, {zuiichi, empty});
  EXPECT_EQ(r.text, u"町内随一（ずいいち）の本を読む") << "an empty reading adds nothing";
  ASSERT_EQ(r.codes.size(), r.text.size());
  for (std::size_t i = 0; i < r.codes.size(); ++i)
    EXPECT_EQ(r.codes[i], r.text[i] == u'読' ? DOTS : P) << i;
  // Units after a reading moved by its length and the two parentheses.
  EXPECT_EQ(r.moved[3], 3);
  EXPECT_EQ(r.moved[4], 10);
  EXPECT_EQ(r.moved[9], static_cast<int>(r.text.size()));
}

TEST(RubyModes, OnlyPlainCodesLeftSayTheLineHasNoMarkup) {
  const std::u16string text = u"硝子戸を";
  const std::vector<std::uint16_t> codes = {R0, C, C, P};
  char16_t garasudo[] = u"ガラスど";
  char16_t* readings[] = {garasudo};
  std::u16string out;
  std::vector<std::uint16_t> out_codes;
  EXPECT_FALSE(
      rewrite_ruby(RUBY_INLINE, text.data(), 4, codes.data(), readings, out, out_codes, nullptr));
  EXPECT_EQ(out, u"硝子戸（ガラスど）を");
  // A continuation whose head went before the line (a base cut by a break).
  const std::vector<std::uint16_t> tail = {C, C, P, P};
  EXPECT_FALSE(
      rewrite_ruby(RUBY_HIDE, text.data(), 4, tail.data(), readings, out, out_codes, nullptr));
  EXPECT_EQ(out, text);
}

}  // namespace
}  // namespace yomite
