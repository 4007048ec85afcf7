// The sample texts resolve completely: every form they use is recognised.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "document/markup.h"
#include "platform/codepage.h"

namespace yomite {
namespace {

// The Shift_JIS sample's lines as UTF-16, split at CR LF.
std::vector<std::u16string> sample_lines(const char* name) {
  std::ifstream file(std::string(YOMITE_SOURCE_DIR "/samples/") + name, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2) {
    std::vector<char16_t> units(at - start + 1);
    int n = platform::multibyte_to_utf16(
        932, reinterpret_cast<const unsigned char*>(bytes.data() + start),
        static_cast<int>(at - start), units.data(), static_cast<int>(units.size()));
    lines.emplace_back(units.data(), static_cast<std::size_t>(n));
  }
  return lines;
}

bool contains_any(const std::u16string& s, std::u16string_view chars) {
  return s.find_first_of(chars) != std::u16string::npos;
}

TEST(Samples, StoryInBracketNotation) {
  std::vector<std::u16string> lines = sample_lines("yomite-no-hon.txt");
  ASSERT_GT(lines.size(), 20u);
  auto view = std::make_unique<ViewContext>();
  int rubies = 0, quote = QUOTE_OUTSIDE, quoted_lines = 0, emphasised = 0;
  bool in_header = false;  // the loader drops the block between the 40-dash lines
  for (std::u16string& text : lines) {
    if (text == std::u16string(40, u'-')) in_header = !in_header;
    bool check_text = !in_header && text[0] != u'-';
    if (quote == QUOTE_ENDS_HERE) quote = QUOTE_OUTSIDE;
    std::vector<std::uint16_t> codes(text.size() + CODES_SLACK);
    parse_bracket_markup(text.data(), codes.data(), view->doc.annotation_texts.data(), rubies, *view,
                         quote);
    std::u16string resolved(text.data());
    if (check_text) {
      EXPECT_FALSE(contains_any(resolved, u"《》｜＃"));
    }
    for (std::size_t i = 0; i < resolved.size(); ++i)
      if (codes[i] == CODE_EMPHASIS_DOTS) ++emphasised;
    if (quote != QUOTE_OUTSIDE) ++quoted_lines;
  }
  EXPECT_EQ(rubies, 13);  // the two in the header block included
  EXPECT_EQ(emphasised, 8 + 5);
  EXPECT_EQ(quoted_lines, 3);
}

TEST(Samples, EssayInBraceNotation) {
  std::vector<std::u16string> lines = sample_lines("sen-wo-hiku.txt");
  ASSERT_GT(lines.size(), 10u);
  auto view = std::make_unique<ViewContext>();
  int rubies = 0, notes = 0;
  std::set<std::uint16_t> styles;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    std::u16string& text = lines[n];
    std::vector<std::uint16_t> codes(text.size() + CODES_SLACK);
    int found =
        parse_brace_markup(text.data(), codes.data(), view->doc.annotation_texts.data(), rubies,
                           view->doc.annotation_texts.data() + NOTE_FIRST_ENTRY, notes, *view, n == 0);
    std::u16string resolved(text.data());
    if (n == 0) {
      EXPECT_EQ(found, 1);
      EXPECT_TRUE(resolved.empty());
    }
    EXPECT_FALSE(contains_any(resolved, u"｛｝"));
    for (std::size_t i = 0; i < resolved.size(); ++i)
      if (is_line_style_code(codes[i])) styles.insert(codes[i]);
  }
  EXPECT_EQ(view->settings.face_name, "@ＭＳ 明朝");
  EXPECT_EQ(view->typeset.vertical, 1);
  EXPECT_EQ(view->settings.font_size, 20);
  EXPECT_EQ(view->settings.column_chars, 40);
  EXPECT_EQ(rubies, 2);
  EXPECT_EQ(notes, 4);
  EXPECT_EQ(view->doc.annotation_texts[NOTE_FIRST_ENTRY + 2][0], LINK_MARKER);
  EXPECT_EQ(view->doc.annotation_texts[NOTE_FIRST_ENTRY + 3][0], LINK_MARKER);
  EXPECT_EQ(styles.size(), 20u);  // every line style once
}

}  // namespace
}  // namespace yomite
