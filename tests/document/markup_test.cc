// The markup switch and the first-line directives.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "decode/decode.h"
#include "document/markup.h"
#include "tests/document/fake_faces.h"
#include "view/limits.h"

namespace yomite {
namespace {

struct Parsed {
  std::u16string text;
  int result;
};

Parsed parse_brace(ViewContext& view, std::u16string input, int store) {
  std::vector<char16_t> line(input.begin(), input.end());
  line.push_back(0);
  std::vector<std::uint16_t> codes(input.size() + CODES_SLACK);
  int rubies = 0, notes = 0;
  int result =
      parse_brace_markup(line.data(), codes.data(), view.doc.annotation_texts.data(), rubies,
                         view.doc.annotation_texts.data() + NOTE_FIRST_ENTRY, notes, view, store);
  return {std::u16string(line.data()), result};
}

TEST(MarkupSwitch, OffLeavesLineCodesAndCountsAlone) {
  auto view = std::make_unique<ViewContext>();
  view->settings.markup_enabled = 0;
  std::u16string input =
      u"｛フォント ＭＳ 明朝｝｛ルビ かんじ｝漢字｛/ルビ｝日本語《にほんご》［＃ここから引用文］";
  std::vector<char16_t> line(input.begin(), input.end());
  line.push_back(0);
  std::vector<std::uint16_t> codes(input.size() + CODES_SLACK, 0xBEEF);
  int rubies = 5, notes = 7, quote = QUOTE_OUTSIDE;
  EXPECT_EQ(parse_brace_markup(line.data(), codes.data(), view->doc.annotation_texts.data(), rubies,
                               view->doc.annotation_texts.data() + NOTE_FIRST_ENTRY, notes, *view, 1),
            0);
  EXPECT_EQ(parse_bracket_markup(line.data(), codes.data(), view->doc.annotation_texts.data(), rubies,
                                 *view, quote),
            0);
  EXPECT_EQ(std::u16string(line.data()), input);
  for (std::uint16_t c : codes) EXPECT_EQ(c, 0xBEEF);
  EXPECT_EQ(rubies, 5);
  EXPECT_EQ(notes, 7);
  EXPECT_EQ(quote, QUOTE_OUTSIDE);
  EXPECT_TRUE(view->settings.face_name.empty());
  EXPECT_EQ(view->doc.annotation_texts[5], nullptr);
}

// What a directive line stores, given the settings before it.
struct DirectiveCase {
  const char16_t* line;
  int store;
  std::string face_before;
  int size_before, width_before;
  std::string face;
  int vertical, size, width;
};

void PrintTo(const DirectiveCase& c, std::ostream* out) {
  *out << utf16_to_utf8(c.line, std::char_traits<char16_t>::length(c.line)) << " store=" << c.store;
}

class Directives : public testing::TestWithParam<DirectiveCase> {};

TEST_P(Directives, FillOnlyUnsetSettingsWhileStoring) {
  const DirectiveCase& c = GetParam();
  auto view = std::make_unique<ViewContext>();
  view->settings.face_name = c.face_before;
  view->typeset.vertical = 0;
  view->settings.font_size = c.size_before;
  view->settings.column_chars = c.width_before;
  Parsed parsed = parse_brace(*view, c.line, c.store);
  EXPECT_EQ(parsed.result, 1);
  EXPECT_EQ(view->settings.face_name, c.face);
  EXPECT_EQ(view->typeset.vertical, c.vertical);
  EXPECT_EQ(view->settings.font_size, c.size);
  EXPECT_EQ(view->settings.column_chars, c.width);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Directives,
    testing::Values(
        // The probe of a first line sets the vertical face, the size and the width.
        DirectiveCase{u"｛フォント @ＭＳ 明朝,20｝｛幅 30｝", 1, "", 0, 0, "@ＭＳ 明朝", 1, 20, 30},
        // The full load reads the same line without storing anything.
        DirectiveCase{u"｛フォント @ＭＳ 明朝,20｝｛幅 30｝", 0, "", 0, 0, "", 0, 0, 0},
        // Settings already made (options, settings file) win.
        DirectiveCase{u"｛フォント @ＭＳ 明朝,20｝｛幅 30｝", 1, "ＭＳ ゴシック", 12, 50,
                      "ＭＳ ゴシック", 0, 12, 50},
        // Widths below 10 become 40; 10 stays.
        DirectiveCase{u"｛幅 5｝", 1, "", 0, 0, "", 0, 0, 40},
        DirectiveCase{u"｛幅 9｝", 1, "", 0, 0, "", 0, 0, 40},
        DirectiveCase{u"｛幅 10｝", 1, "", 0, 0, "", 0, 0, 10},
        DirectiveCase{u"｛幅 -30｝", 1, "", 0, 0, "", 0, 0, 40},
        DirectiveCase{u"｛幅 ｝", 1, "", 0, 0, "", 0, 0, 40},
        // Huge numbers are kept to the layout's limits, so no geometry overflows.
        DirectiveCase{u"｛幅 99999999999999｝", 1, "", 0, 0, "", 0, 0, COLUMN_CHARS_MAX},
        DirectiveCase{u"｛幅 8192｝", 1, "", 0, 0, "", 0, 0, 8192},
        DirectiveCase{u"｛幅 8193｝", 1, "", 0, 0, "", 0, 0, COLUMN_CHARS_MAX},
        DirectiveCase{u"｛フォント ,2147483648｝", 1, "", 0, 0, "", 0, FONT_SIZE_MAX, 0},
        DirectiveCase{u"｛フォント ,-2147483648｝", 1, "", 0, 0, "", 0, -FONT_SIZE_MAX, 0},
        DirectiveCase{u"｛フォント ,512｝", 1, "", 0, 0, "", 0, 512, 0},
        // The first installed face of a list is taken; none installed gives the
        // default face, vertical when the list began with "@".
        DirectiveCase{u"｛フォント 無い書体;ＭＳ ゴシック｝", 1, "", 0, 0, "ＭＳ ゴシック", 0, 0,
                      0},
        DirectiveCase{u"｛フォント @無い書体｝", 1, "", 0, 0, "@ＭＳ ゴシック", 1, 0, 0},
        // The size after the comma may have leading spaces; an empty name sets only the size.
        DirectiveCase{u"｛フォント ＭＳ 明朝,  24｝", 1, "", 0, 0, "ＭＳ 明朝", 0, 24, 0},
        DirectiveCase{u"｛フォント ,16｝", 1, "", 0, 0, "", 0, 16, 0},
        // The name may end at the line end (the directive then stays as text).
        DirectiveCase{u"｛フォント ＭＳ 明朝", 1, "", 0, 0, "ＭＳ 明朝", 0, 0, 0}));

TEST(Directives, LongFaceListIsCutAtAWholeCharacter) {
  auto view = std::make_unique<ViewContext>();
  std::u16string line = u"｛フォント " + std::u16string(100, u'あ') + u"｝";
  parse_brace(*view, line, 1);
  ASSERT_EQ(last_face_list.size(), 255u);  // 85 characters of 3 bytes fit in 256
  EXPECT_EQ(last_face_list.substr(0, 3), "あ");
  EXPECT_EQ(last_face_list.substr(252), "あ");
}

TEST(Directives, ADirectiveOnlyLineLeavesNothing) {
  auto view = std::make_unique<ViewContext>();
  Parsed parsed = parse_brace(*view, u"｛フォント @ＭＳ 明朝,20｝｛幅 30｝", 1);
  EXPECT_EQ(parsed.result, 1);
  EXPECT_TRUE(parsed.text.empty());
}

TEST(FillCodes, WritesCountCellsAndNothingForZeroOrLess) {
  std::uint16_t cells[4] = {1, 1, 1, 1};
  fill_codes(cells + 1, 16, 2);
  EXPECT_EQ(cells[0], 1);
  EXPECT_EQ(cells[1], 16);
  EXPECT_EQ(cells[2], 16);
  EXPECT_EQ(cells[3], 1);
  fill_codes(cells, 9, 0);
  fill_codes(cells, 9, -3);
  EXPECT_EQ(cells[0], 1);
}

}  // namespace
}  // namespace yomite
