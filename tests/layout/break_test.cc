// Column breaking and justification with the fake metrics: a vertical face at
// 18 px, half width 9, 40 half-width units per column (360 px).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layout/break.h"
#include "layout/composition.h"
#include "platform/fake/fake_font.h"
#include "view/attr_codes.h"

namespace yomite {
namespace {

class BreakTest : public ::testing::Test {
 protected:
  void SetUp() override {
    v.typeset.font_main = fake::new_font("@ＭＳ ゴシック", 18, platform::ESCAPEMENT_DOWN);
    v.typeset.half_width = 9;
    v.typeset.char_height = 18;
    v.settings.column_chars = 40;
    v.typeset.fixed_pitch = 1;
    v.typeset.half_is_half = 1;
    v.typeset.vertical = 1;
    v.typeset.composition = &STANDARD_COMPOSITION;
    measure.font = v.typeset.font_main;
    ASSERT_EQ(begin_display_lines(v), 1);
    pass = begin_layout_pass(v, measure);
  }
  void TearDown() override { release_document(v); }

  // Breaks one logical line; returns the texts of the display lines it made.
  std::vector<std::u16string> lay_out(const std::u16string& text, int quote = 0,
                                      std::vector<std::uint16_t>* codes = nullptr) {
    int first = pass.line_index;
    std::vector<std::uint16_t> none(text.size() + 2, 0);
    std::vector<std::uint16_t>& c = codes ? *codes : none;
    EXPECT_EQ(break_logical_line(v, pass, text.data(), static_cast<int>(text.size()), c.data(),
                                 codes != nullptr, quote),
              1);
    std::vector<std::u16string> out;
    for (int j = first; j < pass.line_index; ++j)
      out.emplace_back(line_text(v.doc, v.doc.lines[j]));
    return out;
  }

  static std::u16string kanji(int n) { return std::u16string(static_cast<std::size_t>(n), u'漢'); }

  ViewContext v;
  MeasureContext measure;
  LayoutPass pass;
};

TEST_F(BreakTest, ColumnLengthAndQuotationIndent) {
  EXPECT_EQ(pass.half_cell, 9);
  EXPECT_EQ(column_length(v, 0), 360);
  EXPECT_EQ(column_length(v, 1), 324);
  EXPECT_EQ(lay_out(kanji(41)), (std::vector<std::u16string>{kanji(20), kanji(20), kanji(1)}));
  auto quoted = lay_out(kanji(19), 1);
  EXPECT_EQ(quoted, (std::vector<std::u16string>{kanji(18), kanji(1)}));
  EXPECT_EQ(v.doc.lines[pass.line_index - 2].flags, DL_QUOTE);
  EXPECT_EQ(v.doc.lines[pass.line_index - 1].flags, DL_QUOTE | DL_PARAGRAPH_END);
}

TEST_F(BreakTest, ClosingPunctuationHangsUpToThreeMarks) {
  EXPECT_EQ(lay_out(kanji(20) + u"。"), (std::vector<std::u16string>{kanji(20) + u"。"}));
  EXPECT_EQ(v.doc.lines[0].flags, DL_PARAGRAPH_END);
  EXPECT_EQ(lay_out(kanji(20) + u"」」」。"),
            (std::vector<std::u16string>{kanji(20) + u"」」」", u"。"}));
}

TEST_F(BreakTest, HangingTheLastCharactersEndsTheParagraph) {
  lay_out(kanji(20) + u"」。");
  ASSERT_EQ(pass.line_index, 1);
  EXPECT_EQ(v.doc.lines[0].flags, DL_PARAGRAPH_END);
}

TEST_F(BreakTest, OpeningBracketsMoveToTheNextColumn) {
  EXPECT_EQ(lay_out(kanji(19) + u"「" + kanji(5)),
            (std::vector<std::u16string>{kanji(19), u"「" + kanji(5)}));
  EXPECT_EQ(lay_out(kanji(17) + u"「（《" + kanji(5)),
            (std::vector<std::u16string>{kanji(17), u"「（《" + kanji(5)}));
  EXPECT_EQ(lay_out(kanji(16) + u"「「「「" + kanji(5)),
            (std::vector<std::u16string>{kanji(16) + u"「", u"「「「" + kanji(5)}))
      << "a fourth bracket stays";
}

TEST_F(BreakTest, LatinWordsStayWhole) {
  // 16 kanji and a half-width kana fill 33 units; the break falls between
  // "ef" and "gh".
  std::u16string head = kanji(16) + u"ｱ";
  EXPECT_EQ(lay_out(head + u"abcd efgh"), (std::vector<std::u16string>{head + u"abcd", u"efgh"}));
  std::u16string word(45, u'a');
  EXPECT_EQ(lay_out(word), (std::vector<std::u16string>{word.substr(0, 40), word.substr(40)}))
      << "a word longer than the column breaks inside";
}

TEST_F(BreakTest, SpacesAtABreakBelongToNeitherColumn) {
  EXPECT_EQ(lay_out(kanji(20) + u" " + kanji(1)),
            (std::vector<std::u16string>{kanji(20), kanji(1)}));
  EXPECT_EQ(lay_out(kanji(19) + u"   " + kanji(3)),
            (std::vector<std::u16string>{kanji(19) + u"  ", kanji(3)}))
      << "the third space hangs and the piece drops one";
  EXPECT_EQ(lay_out(kanji(3) + u" "), (std::vector<std::u16string>{kanji(3)}));
}

TEST_F(BreakTest, ASpaceAloneMakesNoColumn) {
  v.settings.column_chars = 1;  // 9 px: a space fits, a kanji does not
  EXPECT_EQ(lay_out(u" 漢"), (std::vector<std::u16string>{u"漢"}));
  v.settings.column_chars = 40;
  EXPECT_EQ(lay_out(kanji(20) + u"」」」 "), (std::vector<std::u16string>{kanji(20) + u"」」」"}));
  EXPECT_EQ(v.doc.lines[pass.line_index - 1].flags, DL_PARAGRAPH_END)
      << "the space after three hanging marks ends the paragraph with the column before it";
}

TEST_F(BreakTest, EmptyLineIsOneEmptyColumn) {
  EXPECT_EQ(lay_out(u""), (std::vector<std::u16string>{u""}));
  EXPECT_EQ(v.doc.lines[0].flags, DL_PARAGRAPH_END);
  EXPECT_EQ(line_codes(v.doc, v.doc.lines[0]), nullptr);
}

TEST_F(BreakTest, EveryColumnTakesAtLeastOneCharacter) {
  v.settings.column_chars = 1;  // 9 px: not even one full-width character fits
  EXPECT_EQ(lay_out(u"漢字「"), (std::vector<std::u16string>{u"漢", u"字", u"「"}));
}

TEST_F(BreakTest, SurrogatePairsAreOneCharacterAndNeverSplit) {
  std::u16string shikaru = u"\xD842\xDF9F";
  auto lines = lay_out(kanji(19) + shikaru + kanji(2));
  EXPECT_EQ(lines, (std::vector<std::u16string>{kanji(19) + shikaru, kanji(2)}));
}

TEST_F(BreakTest, RubyAcrossABreakIsDivided) {
  // A reading of 6 over a base of 4 whose first character ends the column.
  v.doc.annotation_texts[0] = arena_copy_text(v.doc.arena, u"ろくもじのよ", 6);
  pass.ruby_count = 1;
  std::vector<std::uint16_t> codes(24 + 2, 0);
  codes[19] = RUBY_CODE_FIRST;
  codes[20] = codes[21] = codes[22] = CONTINUATION_CODE;
  auto lines = lay_out(kanji(24), 0, &codes);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(std::u16string(v.doc.annotation_texts[0]), u"ろく");
  EXPECT_EQ(std::u16string(v.doc.annotation_texts[1]), u"もじのよ");
  EXPECT_EQ(pass.ruby_count, 2);
  EXPECT_EQ(line_codes(v.doc, v.doc.lines[0])[19], RUBY_CODE_FIRST);
  EXPECT_EQ(line_codes(v.doc, v.doc.lines[1])[0], RUBY_CODE_FIRST + 1);
  EXPECT_EQ(line_codes(v.doc, v.doc.lines[1])[1], CONTINUATION_CODE);
}

TEST_F(BreakTest, OneCharacterReadingGoesWholeToTheNextColumn) {
  v.doc.annotation_texts[0] = arena_copy_text(v.doc.arena, u"か", 1);
  pass.ruby_count = 1;
  std::vector<std::uint16_t> codes(22 + 2, 0);
  codes[19] = RUBY_CODE_FIRST;
  codes[20] = CONTINUATION_CODE;
  lay_out(kanji(22), 0, &codes);
  EXPECT_EQ(std::u16string(v.doc.annotation_texts[0]), u"");
  EXPECT_EQ(std::u16string(v.doc.annotation_texts[1]), u"か");
}

TEST_F(BreakTest, NoDivisionOnceTheReadingsAreFull) {
  v.doc.annotation_texts[0] = arena_copy_text(v.doc.arena, u"ろくもじのよ", 6);
  pass.ruby_count = RUBY_ENTRIES;
  std::vector<std::uint16_t> codes(24 + 2, 0);
  codes[19] = RUBY_CODE_FIRST;
  codes[20] = CONTINUATION_CODE;
  lay_out(kanji(24), 0, &codes);
  EXPECT_EQ(std::u16string(v.doc.annotation_texts[0]), u"ろくもじのよ");
  EXPECT_EQ(line_codes(v.doc, v.doc.lines[1])[0], CONTINUATION_CODE);
}

// Lays out `text` as one display line that is not the end of its paragraph.
std::vector<int> justified(BreakTest& t, ViewContext& v, MeasureContext& measure,
                           const std::u16string& text, std::uint16_t flags, int* stretched) {
  (void)t;
  DisplayLine* line = display_line_slot(v, 0);
  line->flags = flags;
  set_line_text(v.doc.arena, *line, text.data(), text.size());
  v.doc.line_count = 1;
  std::vector<int> advances(text.size() + 1);
  *stretched = justify_display_line(measure, v, 0, advances.data());
  return advances;
}

TEST_F(BreakTest, JustificationSpreadsOverAllButTheLastCharacter) {
  int stretched;
  auto adv = justified(*this, v, measure, kanji(20), 0, &stretched);  // 360 of 378
  EXPECT_EQ(stretched, 1);
  for (int i = 0; i < 18; ++i) EXPECT_EQ(adv[i], 19) << i;
  EXPECT_EQ(adv[18], 18);
  EXPECT_EQ(adv[19], 18);
  EXPECT_EQ(adv[20], 18) << "the entry after the last repeats it";

  adv = justified(*this, v, measure, kanji(14), 0, &stretched);  // 252: 126 over 13
  EXPECT_EQ(stretched, 1);
  for (int i = 0; i <= 8; ++i) EXPECT_EQ(adv[i], 28) << i;
  for (int i = 9; i <= 12; ++i) EXPECT_EQ(adv[i], 27) << i;
  EXPECT_EQ(adv[13], 18);

  adv = justified(*this, v, measure, kanji(12), 0, &stretched);  // 216 <= 226
  EXPECT_EQ(stretched, 0);
  EXPECT_EQ(adv[0], 18);
}

TEST_F(BreakTest, ParagraphEndsQuotationsAndSwitchingOff) {
  int stretched;
  justified(*this, v, measure, kanji(14), DL_PARAGRAPH_END, &stretched);
  EXPECT_EQ(stretched, 0) << "the last line of a paragraph";
  auto adv = justified(*this, v, measure, kanji(18), DL_QUOTE, &stretched);  // target 342
  EXPECT_EQ(stretched, 1);
  int total = 0;
  for (int i = 0; i < 18; ++i) total += adv[i];
  EXPECT_EQ(total, 342);
  v.settings.justify = 0;
  justified(*this, v, measure, kanji(14), 0, &stretched);
  EXPECT_EQ(stretched, 0);
}

TEST_F(BreakTest, SpacesTakeTwoMorePixels) {
  int stretched;
  auto adv = justified(*this, v, measure, kanji(10) + u" " + kanji(9), 0, &stretched);  // 351
  EXPECT_EQ(stretched, 1);
  int total = 0;
  for (int i = 0; i < 20; ++i) total += adv[i];
  EXPECT_EQ(total, 378);
  EXPECT_EQ(adv[10], 9 + 3) << "the space: one pixel and two more";
}

TEST(UprightPairs, TwoDigitsOrMarksAloneBetweenNonAscii) {
  struct Case {
    std::u16string text;
    std::vector<int> starts;
  } cases[] = {
      {u"漢12字", {1}}, {u"漢1234字", {}}, {u"漢a12字", {}},      {u"漢!?字", {1}},
      {u"12字", {0}},   {u"漢12", {1}},    {u"漢12字34", {1, 4}},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> marks(c.text.size());
    find_upright_pairs(c.text.c_str(), static_cast<int>(c.text.size()), marks.data());
    std::vector<int> starts;
    for (std::size_t i = 0; i < marks.size(); ++i)
      if (marks[i]) starts.push_back(static_cast<int>(i));
    EXPECT_EQ(starts, c.starts) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(Kinsoku, ListsAsGiven) {
  for (char16_t c : std::u16string(u"、。」』）ー ‥…ｰﾟ,.?!'"))
    EXPECT_EQ(is_line_start_forbidden(c), c == u'\'' ? 0 : 1) << static_cast<int>(c);
  for (char16_t c : std::u16string(u"「『（《｢(['"))
    EXPECT_EQ(is_line_end_forbidden(c), 1) << static_cast<int>(c);
  EXPECT_EQ(is_line_start_forbidden(0), 0);
  EXPECT_EQ(is_line_end_forbidden(u'」'), 0);
}

}  // namespace
}  // namespace yomite
