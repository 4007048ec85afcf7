// Book composition's justification, ruby placing and geometry with the fake
// metrics: full width 18 px, half width 9, ruby 9 (half the text), columns of
// 40 half-width units (360 px).
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "layout/book.h"
#include "layout/book_line.h"
#include "layout/paint.h"
#include "tests/layout/view_fixture.h"
#include "view/attr_codes.h"

namespace yomite {
namespace {

using testing::TestView;

std::u16string kanji(int n) {
  return std::u16string(static_cast<std::size_t>(n), u'漢');
}

// The advances of a display line of `text`, and whether they differ from the
// plain widths.
struct Set {
  std::vector<int> adv;
  int changed = 0;
  int sum(int n) const { return std::accumulate(adv.begin(), adv.begin() + n, 0); }
};

Set set_line(TestView& t, const std::u16string& text, std::uint16_t flags = 0,
             const std::vector<std::uint16_t>& codes = {}) {
  int i = t.add(text, flags, codes);
  Set s;
  s.adv.assign(text.size() + 1, 0);
  MeasureContext measure = view_measure_context(t.view);
  s.changed = justify_display_line(measure, t.view, i, s.adv.data());
  return s;
}

TEST(BookJustify, AFullColumnEndsOnTheGrid) {
  TestView t(true, 600, 450, 1);
  Set s = set_line(t, kanji(20));
  EXPECT_EQ(s.sum(20), 360) << "not one cell more, as standard composition sets it";
  EXPECT_EQ(s.changed, 0);
  s = set_line(t, kanji(19));
  EXPECT_EQ(s.changed, 1);
  EXPECT_EQ(s.sum(19), 360);
  for (int i = 0; i < 18; ++i) EXPECT_EQ(s.adv[i], 19) << i;
  EXPECT_EQ(s.adv[18], 18) << "the last character never grows";
}

TEST(BookJustify, TheLastColumnOfAParagraphKeepsItsSpacing) {
  TestView t(true, 600, 450, 1);
  Set s = set_line(t, kanji(15), DL_PARAGRAPH_END);
  EXPECT_EQ(s.changed, 0);
  EXPECT_EQ(s.sum(15), 270);
  t.view.settings.justify = 0;
  s = set_line(t, kanji(19));
  EXPECT_EQ(s.sum(19), 342) << "justification switched off";
}

TEST(BookJustify, AdjacentPunctuationSharesItsSpaceAndGetsItBackFirst) {
  TestView t(true, 600, 450, 1);
  // 」「 take one and a half cells: 」 half, 「 a whole cell with its space
  // before the ink.
  Set s = set_line(t, u"あ」「い", DL_PARAGRAPH_END);
  EXPECT_EQ(s.adv[1], 9);
  EXPECT_EQ(s.adv[2], 18);
  s = set_line(t, u"あ。」い", DL_PARAGRAPH_END);
  EXPECT_EQ(s.adv[1], 9) << "。 set solid before 」";
  EXPECT_EQ(s.adv[2], 18);
  s = set_line(t, u"あ「（い", DL_PARAGRAPH_END);
  EXPECT_EQ(s.adv[1], 9) << "（ set solid after 「";
  // A full column that needs 27 px: the 9 」「 gave up come back first, the
  // other 18 spread one each.
  s = set_line(t, kanji(8) + u"」「" + kanji(9));
  EXPECT_EQ(s.sum(19), 360);
  EXPECT_EQ(s.adv[8], 9 + 9 + 1);
  EXPECT_EQ(s.adv[7], 19);
  EXPECT_EQ(s.adv[18], 18);
}

TEST(BookJustify, NeverInsideALatinWordOrANumber) {
  TestView t(true, 600, 450, 1);
  Set s = set_line(t, kanji(10) + u"Yomite" + kanji(5));  // 324 px: 36 to spread
  EXPECT_EQ(s.sum(21), 360);
  for (int i = 10; i < 15; ++i) EXPECT_EQ(s.adv[i], 9) << "letter " << i - 10;
  s = set_line(t, kanji(12) + u"１９３５" + kanji(3));  // 342 px
  EXPECT_EQ(s.sum(19), 360);
  for (int i = 12; i < 15; ++i) EXPECT_EQ(s.adv[i], 18) << "digit " << i - 12;
  s = set_line(t, u"Yomite is a reader of");  // only the spaces can take it
  EXPECT_EQ(s.sum(21), 360);
  EXPECT_EQ(s.adv[0], 9);
  EXPECT_GT(s.adv[6], 9);
}

TEST(BookJustify, PushingInTakesTheBracketsSpaceFirst) {
  // 21 cells in a column of 20: the brackets give up their half cells, the
  // comma keeps its.
  TestView t(true, 600, 450, 1);
  std::u16string text = u"漢漢、漢漢（漢）" + kanji(13);
  Set s = set_line(t, text);
  EXPECT_EQ(s.sum(21), 360);
  EXPECT_EQ(s.adv[2], 18) << "the comma";
  EXPECT_EQ(s.adv[4], 9) << "the space before （";
  EXPECT_EQ(s.adv[7], 9) << "the space after ）";
}

TEST(BookJustify, OneMarkHangsPastTheEnd) {
  TestView t(true, 600, 450, 1);
  Set s = set_line(t, kanji(20) + u"。");
  EXPECT_EQ(s.sum(20), 360) << "the column itself ends on the grid";
  EXPECT_EQ(s.adv[20], 18) << "the full stop hangs past it";
  s = set_line(t, kanji(19) + u"」、");
  EXPECT_EQ(s.sum(21), 360) << "」、 fits once the comma's own space goes: nothing hangs";
  EXPECT_EQ(s.adv[20], 9);
}

// Where the reading of the ruby on unit `head` is drawn, px along the line.
int reading_at(TestView& t, int line, int head, int units) {
  const int length = line_length(t.view.doc, t.view.doc.lines[line]);
  std::vector<int> adv(static_cast<std::size_t>(length) + 1);
  BookLine l;
  MeasureContext measure = view_measure_context(t.view);
  book_layout_display_line(measure, t.view, line, adv.data(), l);
  const DisplayLine& dl = t.view.doc.lines[line];
  const char16_t* r =
      t.view.doc.annotation_texts[static_cast<std::size_t>(line_codes(t.view.doc, dl)[head] - 65)];
  std::vector<int> reading(std::char_traits<char16_t>::length(r), 9);
  return book_place_ruby(l, adv.data(), head, units, r, reading);
}

TEST(BookRuby, AReadingOverhangsKanaButNeverTheColumnEnds) {
  TestView t(true, 600, 450, 1);
  struct Case {
    const char16_t* text;
    int head;
    int at;    // where the reading begins
    int base;  // where the base begins
    const char* why;
  } cases[] = {
      {u"あ志あ", 1, 14, 18, "overhangs the kana on both sides"},
      {u"漢志漢", 1, 18, 22, "beside kanji the base takes room instead"},
      {u"志あ", 0, 0, 0, "at the column head the reading begins with the base"},
      {u"あ志", 1, 9, 18, "at the foot it ends with the base, overhanging the kana"},
      {u"漢志", 1, 18, 27, "at the foot beside a kanji the base moves down"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::u16string text = c.text;
    std::vector<std::uint16_t> codes(text.size(), 0);
    codes[static_cast<std::size_t>(c.head)] = t.reading(u"こころ");  // 27 px over 18
    const int line = t.add(text, DL_PARAGRAPH_END, codes);
    EXPECT_EQ(reading_at(t, line, c.head, 1), c.at);
    std::vector<int> adv(text.size() + 1);
    MeasureContext measure = view_measure_context(t.view);
    justify_display_line(measure, t.view, line, adv.data());
    EXPECT_EQ(std::accumulate(adv.begin(), adv.begin() + c.head, 0), c.base);
    EXPECT_GE(c.at, 0);
    EXPECT_LE(c.at + 27, std::accumulate(adv.begin(), adv.begin() + text.size(), 0))
        << "the reading stays within the column";
  }
}

TEST(BookRuby, AShortReadingSpreadsOverItsBase) {
  TestView t(true, 600, 450, 1);
  std::vector<std::uint16_t> codes = {t.reading(u"あじさい"), CONTINUATION_CODE, CONTINUATION_CODE};
  int line = t.add(u"紫陽花", DL_PARAGRAPH_END, codes);
  // 18 px spare over four characters: half a share (2) before the first,
  // shares of 4, 5, 5 between them.
  EXPECT_EQ(reading_at(t, line, 0, 3), 2);
}

TEST(BookGeometry, HalfSizeRubyAndAWiderGap) {
  TestView standard(true);
  EXPECT_EQ(standard.view.typeset.ruby_height, 10);
  EXPECT_EQ(standard.view.typeset.column_pitch, 30);
  TestView book(true, 600, 450, 1);
  EXPECT_EQ(book.view.typeset.ruby_height, 9) << "half the text at the default ruby size";
  EXPECT_EQ(book.view.typeset.column_pitch, 9 + 18 + 4) << "a quarter em between columns";
  EXPECT_EQ(book.view.settings.ruby_percent, 60) << "the setting itself is left alone";
  ViewContext v;
  v.settings.face_name = "@ＭＳ ゴシック";
  v.settings.font_size = 18;
  v.settings.ruby_percent = 70;
  v.settings.book_composition = 1;
  create_view_fonts(v);
  EXPECT_EQ(v.typeset.ruby_height, 12) << "a ruby size set by the user still applies";
  release_document(v);
}

TEST(BookGeometry, HitTestingFollowsTheSlotsAndTheHangingMark) {
  TestView t(true, 600, 450, 1);
  t.add(u"あいう");
  t.add(u"かきく");
  t.add(kanji(20) + u"。", 0);
  auto at = [&](int across, int along) {
    const char16_t* hit = hit_test(t.view, 600 - across, along, 0);
    return hit ? std::u16string(hit) : std::u16string(u"(none)");
  };
  EXPECT_EQ(at(28, 20), u"(none)") << "the 4 px gap";
  EXPECT_EQ(at(89, 20), kanji(20) + u"。") << "the third column's text, 31 px a slot";
  EXPECT_EQ(at(71, 20), u"(none)") << "its ruby band";
  EXPECT_EQ(at(89, 10 + 360), u"。") << "the mark hanging below the grid";
}

}  // namespace
}  // namespace yomite
