// Book composition's column breaking with the fake metrics (full width 18 px,
// half width 9, ruby 9): the vectors of book_break.tests, each column also set
// to its length by the justification painting uses.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "decode/decode.h"
#include "layout/book.h"
#include "layout/break.h"
#include "layout/composition.h"
#include "platform/fake/fake_font.h"
#include "view/attr_codes.h"

namespace yomite {
namespace {

std::u16string u16(const std::string& s) {
  std::u16string out(s.size() + 1, 0);
  int n = utf8_to_utf16(reinterpret_cast<const unsigned char*>(s.data()),
                        static_cast<int>(s.size()), out.data(), static_cast<int>(out.size()));
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::string u8(const std::u16string& s) {
  return utf16_to_utf8(s.data(), s.size());
}

std::vector<std::string> split(const std::string& s, const std::string& by) {
  std::vector<std::string> out;
  std::size_t at = 0;
  for (std::size_t next; (next = s.find(by, at)) != std::string::npos; at = next + by.size())
    out.push_back(s.substr(at, next - at));
  out.push_back(s.substr(at));
  return out;
}

const char* reason_name(int reason) {
  switch (reason) {
    case BOOK_BREAK_FITS:
      return "fits";
    case BOOK_BREAK_HANG:
      return "hang";
    case BOOK_BREAK_PUSH_IN:
      return "push-in";
    case BOOK_BREAK_PUSH_OUT:
      return "push-out";
    default:
      return "forced";
  }
}

// A vertical view in book composition on the fake face.
class BookView {
 public:
  BookView() {
    v.typeset.font_main = fake::new_font("@ＭＳ ゴシック", 18, platform::ESCAPEMENT_DOWN);
    v.typeset.font_ruby = fake::new_font("@ＭＳ ゴシック", 9, platform::ESCAPEMENT_DOWN);
    v.typeset.half_width = 9;
    v.typeset.char_height = 18;
    v.typeset.ruby_height = 9;
    v.typeset.fixed_pitch = 1;
    v.typeset.half_is_half = 1;
    v.typeset.vertical = 1;
    v.settings.book_composition = 1;
    v.typeset.composition = &BOOK_COMPOSITION;
    measure.font = v.typeset.font_main;
    begin_display_lines(v);
    pass = begin_layout_pass(v, measure);
    pass.book_breaks = &breaks;
  }
  ~BookView() {
    release_document(v);
    platform::font_delete(v.typeset.font_main);
    platform::font_delete(v.typeset.font_ruby);
    v.typeset.font_main = v.typeset.font_ruby = nullptr;
  }

  // Lays out one logical line written with ｜base《reading》 ruby; returns
  // its columns and why each but the last ended.
  std::vector<std::u16string> lay_out(const std::string& line, std::vector<std::string>* reasons) {
    std::u16string text;
    std::vector<std::uint16_t> codes;
    bool ruby = false;
    std::u16string in = u16(line);
    for (std::size_t i = 0; i < in.size(); ++i) {
      if (in[i] != u'｜') {
        text.push_back(in[i]);
        codes.push_back(0);
        continue;
      }
      std::size_t open = in.find(u'《', i), close = in.find(u'》', i);
      std::u16string reading = in.substr(open + 1, close - open - 1);
      v.doc.annotation_texts[static_cast<std::size_t>(pass.ruby_count)] =
          arena_copy_text(v.doc.arena, reading.data(), reading.size());
      for (std::size_t k = i + 1; k < open; ++k) {
        text.push_back(in[k]);
        codes.push_back(k == i + 1 ? RUBY_CODE_FIRST + pass.ruby_count : CONTINUATION_CODE);
      }
      ++pass.ruby_count;
      ruby = true;
      i = close;
    }
    codes.push_back(0);
    const int first = pass.line_index;
    breaks.clear();
    EXPECT_EQ(break_logical_line(v, pass, text.data(), static_cast<int>(text.size()), codes.data(),
                                 ruby, 0),
              1);
    v.doc.line_count = pass.line_index;
    std::vector<std::u16string> out;
    for (int j = first; j < pass.line_index; ++j)
      out.emplace_back(line_text(v.doc, v.doc.lines[j]));
    if (reasons)
      for (const BookBreak& b : breaks) reasons->push_back(reason_name(b.reason));
    return out;
  }

  // Display line j as the vectors write it, each reading after its base:
  // ｜base《reading》.
  std::u16string written(int j) const {
    const DisplayLine& l = v.doc.lines[j];
    const char16_t* text = line_text(v.doc, l);
    const int length = line_length(v.doc, l);
    const std::uint16_t* codes = line_codes(v.doc, l);
    std::u16string out;
    for (int k = 0; k < length; ++k) {
      if (!codes || !is_ruby_code(codes[k])) {
        out.push_back(text[k]);
        continue;
      }
      int end = k + 1;
      while (end < length && codes[end] == CONTINUATION_CODE) ++end;
      out += u"｜" + std::u16string(text + k, text + end) + u"《" +
             v.doc.annotation_texts[codes[k] - RUBY_CODE_FIRST] + u"》";
      k = end - 1;
    }
    return out;
  }

  // The length display line j is set to, and the hanging mark's advance.
  int set_length(int j, int* hanging) {
    const std::u16string text = line_text(v.doc, v.doc.lines[j]);
    std::vector<int> adv(text.size() + 1);
    justify_display_line(measure, v, j, adv.data());
    int sum = 0;
    for (std::size_t k = 0; k < text.size(); ++k) sum += adv[k];
    *hanging = !text.empty() && book_hangs(text.back()) ? adv[text.size() - 1] : 0;
    return sum;
  }

  ViewContext v;
  MeasureContext measure;
  LayoutPass pass;
  std::vector<BookBreak> breaks;
};

struct Vector {
  int line;
  int width;
  std::string input, columns, reasons, name;
};

std::vector<Vector> read_vectors() {
  std::vector<Vector> out;
  std::ifstream file(YOMITE_SOURCE_DIR "/tests/layout/book_break.tests");
  int n = 0;
  for (std::string line; std::getline(file, line);) {
    ++n;
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f = split(line, " | ");
    if (f.size() != 5) {
      ADD_FAILURE() << "book_break.tests:" << n << " wants five fields";
      continue;
    }
    out.push_back({n, std::stoi(f[0]), f[1], f[2], f[3], f[4]});
  }
  return out;
}

TEST(BookBreak, Vectors) {
  std::vector<Vector> vectors = read_vectors();
  ASSERT_GT(vectors.size(), 20u);
  for (const Vector& c : vectors) {
    SCOPED_TRACE("book_break.tests:" + std::to_string(c.line) + " " + c.name);
    BookView b;
    b.v.settings.column_chars = c.width;
    std::vector<std::string> reasons;
    b.lay_out(c.input, &reasons);
    std::string got;
    for (int j = 0; j < b.v.doc.line_count; ++j) got += (j ? " / " : "") + u8(b.written(j));
    EXPECT_EQ(got, c.columns);
    std::string why;
    for (const std::string& r : reasons) why += (why.empty() ? "" : " ") + r;
    EXPECT_EQ(why, c.reasons);
    // Every column but the last is set to the length exactly, a hanging mark
    // past it; none is longer.
    const int limit = column_length(b.v, 0);
    for (int j = 0; j < b.v.doc.line_count; ++j) {
      int hanging = 0;
      int set = b.set_length(j, &hanging);
      bool last = b.v.doc.lines[j].flags & DL_PARAGRAPH_END;
      if (set > limit) set -= hanging;
      if (!last && c.reasons.find("forced") == std::string::npos) {
        EXPECT_EQ(set, limit) << j;
      }
      EXPECT_LE(set, limit) << j;
    }
  }
}

TEST(BookBreak, ParagraphsAndQuotations) {
  BookView b;
  b.v.settings.column_chars = 20;
  auto cols = b.lay_out("", nullptr);
  EXPECT_EQ(cols, std::vector<std::u16string>{u""}) << "an empty line is one empty column";
  EXPECT_EQ(b.v.doc.lines[0].flags, DL_PARAGRAPH_END);
  std::u16string quoted = u"あいうえおかきくけこ";
  b.breaks.clear();
  const int first = b.pass.line_index;
  ASSERT_EQ(break_logical_line(b.v, b.pass, quoted.data(), 10, nullptr, 0, 1), 1);
  ASSERT_EQ(b.pass.line_index - first, 2) << "a quotation is two cells shorter";
  EXPECT_EQ(std::u16string(line_text(b.v.doc, b.v.doc.lines[first])), u"あいうえおかきく");
  EXPECT_EQ(b.v.doc.lines[first].flags, DL_QUOTE);
  EXPECT_EQ(b.v.doc.lines[first + 1].flags, DL_QUOTE | DL_PARAGRAPH_END);
}

TEST(BookBreak, SpacesLeftAtTheEndCloseTheParagraph) {
  BookView b;
  b.v.settings.column_chars = 20;
  auto cols = b.lay_out("あいうえおかきくけこ　　　", nullptr);
  EXPECT_EQ(cols, std::vector<std::u16string>{u"あいうえおかきくけこ　　　"});
  cols = b.lay_out("あいうえおかきくけこさ　　", nullptr);
  ASSERT_EQ(cols.size(), 2u);
  EXPECT_EQ(b.v.doc.lines[b.pass.line_index - 1].flags, DL_PARAGRAPH_END);
  cols = b.lay_out("　　　　　　　　　　　　あい", nullptr);
  EXPECT_EQ(cols, std::vector<std::u16string>{u"あい"}) << "a column of spaces alone is not made";
}

TEST(BookBreak, EveryColumnTakesAtLeastOneCharacter) {
  BookView b;
  b.v.settings.column_chars = 1;  // 9 px: no full-width character fits
  EXPECT_EQ(b.lay_out("漢字「", nullptr), (std::vector<std::u16string>{u"漢", u"字", u"「"}));
  std::u16string shikaru = u"\xD842\xDF9F";
  b.v.settings.column_chars = 20;
  std::vector<std::u16string> cols = b.lay_out("あいうえおかきくけ" + u8(shikaru) + "こ", nullptr);
  EXPECT_EQ(cols, (std::vector<std::u16string>{u"あいうえおかきくけ" + shikaru, u"こ"}));
}

TEST(BookBreak, RubyLongerThanAColumnIsStillDivided) {
  BookView b;
  b.v.settings.column_chars = 8;  // four cells; the base has six
  auto cols = b.lay_out("｜漢字漢字漢字《かんじかんじかんじ》", nullptr);
  ASSERT_EQ(cols.size(), 2u);
  EXPECT_EQ(cols[0], u"漢字漢字");
  EXPECT_EQ(line_codes(b.v.doc, b.v.doc.lines[1])[0], RUBY_CODE_FIRST + 1)
      << "the rest of the base has its own reading";
  EXPECT_EQ(std::u16string(b.v.doc.annotation_texts[0]) + b.v.doc.annotation_texts[1],
            u"かんじかんじかんじ");
}

TEST(BookBreak, JukugoReadingsDivideAtTheirKanjiGroupReadingsNever) {
  auto at = [](const std::u16string& base, const std::u16string& reading, int k) {
    return book_reading_division(base.data(), static_cast<int>(base.size()), reading.c_str(), k);
  };
  EXPECT_EQ(at(u"東京", u"とうきょう", 1), 2) << "きょ is one mora";
  EXPECT_EQ(at(u"東京大学", u"とうきょうだいがく", 2), 5);
  EXPECT_EQ(at(u"東京大学", u"とうきょうだいがく", 3), 7);
  EXPECT_EQ(at(u"学校", u"がっこう", 1), 2) << "っ is a mora of its own";
  EXPECT_EQ(at(u"時々", u"ときどき", 1), 2) << "々 is a kanji";
  EXPECT_EQ(at(u"今日", u"きょう", 1), -1) << "a reading of the word alone";
  EXPECT_EQ(at(u"紫陽花", u"あじさい", 1), -1);
  EXPECT_EQ(at(u"東京", u"Tokyo", 1), -1) << "only kana";
  EXPECT_EQ(at(u"倫敦", u"ロンドン", 1), -1) << "a loanword's reading";
  EXPECT_EQ(at(u"東京", u"とう　きょう", 1), -1);
  EXPECT_EQ(at(u"お茶", u"おちゃ", 1), -1) << "only kanji bases";
  EXPECT_EQ(at(u"東京", u"ょうとうき", 1), -1) << "a reading cannot begin with a small kana";
  EXPECT_EQ(at(u"東京", u"とうきょう", 0), -1) << "only between the kanji";
  EXPECT_EQ(at(u"東京", u"とうきょう", 2), -1);
  EXPECT_EQ(book_reading_division(u"東京", 2, nullptr, 1), -1);
}

TEST(BookBreak, DividedJukugoKeepsEachPartsMorae) {
  BookView b;
  b.v.settings.column_chars = 4;  // two cells
  auto cols = b.lay_out("｜新聞記者《しんぶんきしゃ》", nullptr);
  ASSERT_EQ(cols.size(), 2u);
  EXPECT_EQ(b.written(0), u"｜新聞《しんぶん》");
  EXPECT_EQ(b.written(1), u"｜記者《きしゃ》");
  EXPECT_EQ(line_codes(b.v.doc, b.v.doc.lines[1])[0], RUBY_CODE_FIRST + 1)
      << "a reading of its own";
}

TEST(BookBreak, OffLeavesStandardComposition) {
  BookView b;
  b.v.typeset.composition = &STANDARD_COMPOSITION;
  b.v.settings.column_chars = 20;
  EXPECT_EQ(b.lay_out("あいうえおかきくけこ」」」さ", nullptr),
            (std::vector<std::u16string>{u"あいうえおかきくけこ」」」", u"さ"}))
      << "three marks hang";
}

TEST(BookKinsoku, Lists) {
  for (char16_t c : std::u16string(u"、。」』）ー々ゝ・？！ぁっャヵㇰㇿ〻゠‐〜"))
    EXPECT_TRUE(book_no_start(c)) << u8(std::u16string(1, c));
  for (char16_t c : std::u16string(u"…‥―"))  // never split from their pair instead
    EXPECT_FALSE(book_no_start(c)) << u8(std::u16string(1, c));
  for (char16_t c : std::u16string(u"「『（《〝“‘"))
    EXPECT_TRUE(book_no_end(c)) << u8(std::u16string(1, c));
  for (char16_t c : std::u16string(u"漢あア「ｱ"))
    EXPECT_FALSE(book_no_start(c)) << u8(std::u16string(1, c));
  for (char16_t c : std::u16string(u"。、，．｡､")) EXPECT_TRUE(book_hangs(c));
  for (char16_t c : std::u16string(u"」！？ー…")) EXPECT_FALSE(book_hangs(c));
  EXPECT_FALSE(book_no_start(0));
}

TEST(BookKinsoku, PlacesToBreak) {
  struct Case {
    const char16_t* text;
    int p;
    int allowed;
  } cases[] = {
      {u"漢字", 1, 1},
      {u"漢。", 1, 0},
      {u"「漢", 1, 0},
      {u"漢 字", 1, 0},
      {u"漢 字", 2, 1},
      {u"「 字", 2, 0},
      {u"――", 1, 0},
      {u"……", 1, 0},
      {u"漢……", 1, 1},
      {u"ab", 1, 0},
      {u"a b", 2, 1},
      {u"a漢", 1, 1},
      {u"12", 1, 0},
      {u"１２", 1, 0},
      {u"5円", 1, 0},
      {u"￥5", 1, 0},
      {u"漢\xD842\xDF9F", 2, 0},
      {u"漢/", 1, 0},
      {u"？　漢", 1, 0},
      {u"？　漢", 2, 1},
  };
  for (const Case& c : cases) {
    std::u16string t = c.text;
    EXPECT_EQ(book_break_allowed(t.data(), nullptr, static_cast<int>(t.size()), c.p), c.allowed)
        << u8(t) << " at " << c.p;
  }
  std::u16string t = u"漢字";
  std::uint16_t codes[] = {RUBY_CODE_FIRST, CONTINUATION_CODE};
  EXPECT_EQ(book_break_allowed(t.data(), codes, 2, 1), 0) << "inside a ruby base";
}

}  // namespace
}  // namespace yomite
