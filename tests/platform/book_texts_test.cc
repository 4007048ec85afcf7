// Book composition over the real texts the project has (the samples, the Vim
// tutor, the novel), laid out with the IPA fonts in both writing directions:
// every column keeps to its length (one hanging 。、，．｡､ aside) and full
// columns end on it, no column begins with a mark that may not begin one or
// ends with an opening bracket, "――" and "……" stay whole, and every break is
// one ICU's strict Japanese line breaking allows too, or one of the listed
// differences. Where this mode may break is compared with ICU at every place
// of every line as well.
#include <gtest/gtest.h>
#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "decode/utf16.h"
#include "document/load.h"
#include "layout/book.h"
#include "layout/book_line.h"
#include "layout/break.h"
#include "layout/paint_steps.h"
#include "tests/shared_data.h"
#include "tests/temp_dir.h"
#include "view/attr_codes.h"

namespace yomite {
namespace {

const std::string SAMPLES = YOMITE_SOURCE_DIR "/samples/";
const std::string TUTOR = "/usr/share/vim/vim90/tutor/tutor.ja.sjis";
const char* const NOVEL = "aozora/tsumito_batsu.zip";
constexpr int WIDTH = 40;       // half-width units per column
constexpr int LOGICAL = 30000;  // so wide that every logical line is one column

void open_text(ViewContext& v, const std::string& path, bool vertical, int book, int width,
               int notation = 0) {
  v.doc.file_name = path;
  v.settings.full_notation = notation;
  v.settings.face_name = vertical ? "@ＭＳ ゴシック" : "ＭＳ ゴシック";
  v.settings.font_size = 18;
  v.settings.ruby_percent = 60;
  v.settings.column_chars = width;
  v.settings.page_lines = 20;
  v.settings.book_composition = book;
  load_document(v, nullptr);
  create_view_fonts(v);
  load_full_document(v);
}

std::u16string text_of(const Document& doc, const DisplayLine& line) {
  const char16_t* text = line_text(doc, line);
  return text ? std::u16string(text) : std::u16string();
}

std::string utf8(const std::u16string& s) {
  std::string out;
  icu::UnicodeString(s.data(), static_cast<int32_t>(s.size())).toUTF8String(out);
  return out;
}

// A logical line and where book composition broke it.
struct Paragraph {
  std::u16string text;
  std::vector<std::uint16_t> codes;  // empty without markup
  std::vector<int> lines;            // display lines of the book layout
  std::vector<int> starts;           // where each of them begins in `text`
};

// Pairs every paragraph of the book layout with its logical line (the same
// text laid out in one column); false when they do not match up.
bool paragraphs_of(const ViewContext& book, const ViewContext& whole, std::vector<Paragraph>& out) {
  int j = 0;
  for (int i = 0; i < whole.doc.line_count; ++i) {
    Paragraph p;
    p.text = text_of(whole.doc, whole.doc.lines[i]);
    if (const std::uint16_t* codes = line_codes(whole.doc, whole.doc.lines[i]))
      p.codes.assign(codes, codes + p.text.size());
    std::size_t at = 0;
    for (;; ++j) {
      if (j >= book.doc.line_count) return false;
      const std::u16string piece = text_of(book.doc, book.doc.lines[j]);
      // Spaces at a break belong to neither column (a paragraph's first
      // column, too, when it would hold nothing else).
      if (p.text.compare(at, piece.size(), piece) != 0 || piece.empty())
        while (at < p.text.size() && (p.text[at] == u' ' || p.text[at] == 0x3000)) ++at;
      if (p.text.compare(at, piece.size(), piece) != 0) {
        ADD_FAILURE() << "display line " << j << " \"" << utf8(piece) << "\" is not at " << at
                      << " of \"" << utf8(p.text) << "\"";
        return false;
      }
      p.lines.push_back(j);
      p.starts.push_back(static_cast<int>(at));
      at += piece.size();
      if (book.doc.lines[j].flags & DL_PARAGRAPH_END) break;
    }
    ++j;
    out.push_back(std::move(p));
  }
  return j == book.doc.line_count;
}

// ICU's strict Japanese line breaking.
struct Icu {
  std::unique_ptr<icu::BreakIterator> it;
  Icu() {
    UErrorCode status = U_ZERO_ERROR;
    it.reset(icu::BreakIterator::createLineInstance(icu::Locale("ja@lb=strict"), status));
    EXPECT_TRUE(U_SUCCESS(status));
  }
  // Places (1..length-1) where ICU allows a break.
  std::vector<bool> breaks(const std::u16string& text) {
    std::vector<bool> at(text.size() + 1, false);
    icu::UnicodeString s(text.data(), static_cast<int32_t>(text.size()));
    it->setText(s);
    for (int32_t p = it->first(); p != icu::BreakIterator::DONE; p = it->next())
      at[static_cast<std::size_t>(p)] = true;
    return at;
  }
};

bool is_space(char16_t c) {
  return c == u' ' || c == 0x3000;
}

bool printable_ascii(char16_t c) {
  return c > 0x20 && c < 0x7F;
}

bool fullwidth_digit(char16_t c) {
  return c >= u'０' && c <= u'９';
}

bool quote(char16_t c) {
  return c == u'“' || c == u'”' || c == u'‘' || c == u'’' || c == u'"' || c == u'\'';
}

// Where this mode and ICU judge a place differently on purpose. `before` is
// the last character before the place (spaces skipped), `after` the first
// after it, `spaced` whether spaces lie between.
enum Side { ICU_ONLY, OURS_ONLY, EITHER };  // who breaks there

struct Difference {
  const char* name;
  Side side;
  bool (*matches)(char16_t before, char16_t after, bool spaced);
};

bool ambiguous_letter(char16_t c) {  // signs of ambiguous width ICU takes for letters
  return c == u'×' || c == u'―' || c == u'°' || c == u'±';
}

const Difference DIFFERENCES[] = {
    // Latin words and numbers are never split: no break inside a run of
    // ASCII, after a hyphen or a slash neither.
    {"inside a run of ASCII", ICU_ONLY,
     [](char16_t b, char16_t a, bool spaced) {
       return !spaced && printable_ascii(b) && printable_ascii(a);
     }},
    // Full-width digits make one number; ICU treats each as an ideograph.
    {"inside a full-width number", ICU_ONLY,
     [](char16_t b, char16_t a, bool spaced) {
       return !spaced && fullwidth_digit(b) && fullwidth_digit(a);
     }},
    // A sign stays with its number (＃７, ￥１００); ICU keeps only some.
    {"between a prefix sign and its number", ICU_ONLY,
     [](char16_t b, char16_t a, bool spaced) {
       return !spaced && (b == u'＃' || b == u'￥' || b == u'＄' || b == u'£') &&
              (fullwidth_digit(a) || (a >= u'0' && a <= u'9'));
     }},
    // “ ‘ open and ” ’ close, as Japanese brackets; the ASCII apostrophe opens,
    // as standard composition takes it. ICU sees quotation marks that may face
    // either way.
    {"beside a quotation mark", EITHER,
     [](char16_t b, char16_t a, bool) { return quote(b) || quote(a); }},
    // An opening bracket keeps what follows it across a full-width space
    // (ICU breaks after spaces there).
    {"after spaces, behind an opening bracket", ICU_ONLY,
     [](char16_t b, char16_t, bool spaced) { return spaced && book_no_end(b); }},
    // "……" may begin a column (it is never split instead); ICU keeps "…"
    // with what comes before it.
    {"before an ellipsis", OURS_ONLY,
     [](char16_t b, char16_t a, bool) {
       return (a == u'…' || a == u'‥') && b != u'…' && b != u'‥';
     }},
    // After a space a path or a command may begin with / : ; and move on
    // whole; ICU keeps these signs with what comes before, even across spaces.
    {"a word beginning with a sign after a space", OURS_ONLY,
     [](char16_t, char16_t a, bool spaced) {
       return spaced && (a == u'/' || a == u':' || a == u';');
     }},
    // ICU takes ×, ―, °, ± for letters and keeps them with letters and each
    // other (××県); here they are Japanese signs, with a place to break beside.
    {"beside a sign ICU takes for a letter", OURS_ONLY,
     [](char16_t b, char16_t a, bool spaced) {
       return !spaced && (ambiguous_letter(b) || ambiguous_letter(a)) &&
              (ambiguous_letter(b) || b < 0x80) && (ambiguous_letter(a) || a < 0x80);
     }},
};

// The difference a place falls under, for the side that breaks there.
const Difference* difference_for(const std::u16string& t, int p, bool icu_breaks) {
  int k = p - 1;
  while (k >= 0 && is_space(t[static_cast<std::size_t>(k)])) --k;
  // Nothing but spaces before: the line's start.
  const char16_t before = k < 0 ? 0 : t[static_cast<std::size_t>(k)];
  const char16_t after = t[static_cast<std::size_t>(p)];
  for (const Difference& d : DIFFERENCES)
    if ((d.side == EITHER || (d.side == ICU_ONLY) == icu_breaks) &&
        d.matches(before, after, k < p - 1))
      return &d;
  return nullptr;
}

struct Text {
  const char* name;
  std::string path;
  int notation = 0;  // with the full bracket notation (its indents shorten columns)
};

class BookTexts : public ::testing::TestWithParam<bool> {
 public:
  // The texts available here (the tutor and the novel come from outside).
  static std::vector<Text> texts() {
    std::vector<Text> out = {{"yomite-no-hon", SAMPLES + "yomite-no-hon.txt"},
                             {"sen-wo-hiku", SAMPLES + "sen-wo-hiku.txt"}};
    if (std::ifstream(TUTOR).good()) out.push_back({"tutor", TUTOR});
    const std::string zip = test::shared_testdata(NOVEL);
    if (std::ifstream(zip).good()) {
      const std::string txt = test::process_temp_dir().file("novel.txt");
      std::string cmd = "unzip -p '" + zip + "' > '" + txt + "'";
      if (std::system(cmd.c_str()) == 0) {
        out.push_back({"novel", txt});
        out.push_back({"novel, full notation", txt, 1});
      }
    }
    return out;
  }
};

// Sum of the advances of display line `i` up to `end` units.
int length_of(const std::vector<int>& adv, int end) {
  int sum = 0;
  for (int k = 0; k < end; ++k) sum += adv[static_cast<std::size_t>(k)];
  return sum;
}

// Every reading of display line `index` lies within the column, whose text
// reaches `extent` px: none overhangs its head or its foot. Returns how many.
int readings_within(MeasureContext& measure, ViewContext& v, int index, int extent) {
  const DisplayLine& line = v.doc.lines[index];
  const std::uint16_t* codes = line_codes(v.doc, line);
  if (!codes) return 0;
  const int n = line_length(v.doc, line);
  std::vector<int> adv(static_cast<std::size_t>(n) + 1);
  BookLine l;
  book_layout_display_line(measure, v, index, adv.data(), l);
  int count = 0;
  for (int i = 0; i < n; ++i) {
    if (!is_ruby_code(codes[i])) continue;
    int units = 1;
    while (i + units < n && codes[i + units] == CONTINUATION_CODE) ++units;
    const char16_t* r = v.doc.annotation_texts[static_cast<std::size_t>(codes[i] - 65)];
    const int rn = r ? static_cast<int>(std::char_traits<char16_t>::length(r)) : 0;
    if (rn == 0) continue;
    std::vector<int> reading = reading_advances(v.typeset.font_ruby, r, rn);
    const int at = book_place_ruby(l, adv.data(), i, units, r, reading);
    int width = 0;
    for (int a : reading) width += a;
    EXPECT_GE(at, 0) << "a reading above the column's head";
    EXPECT_LE(at + width, extent) << "a reading past the column's foot";
    ++count;
  }
  return count;
}

// Whether a column may end before text[q]: where the rules allow a break,
// or inside a ruby base whose reading (in `whole`) divides there.
bool may_end_before(const ViewContext& whole, const std::u16string& text,
                    const std::uint16_t* codes, int q) {
  const int n = static_cast<int>(text.size());
  if (book_break_allowed(text.c_str(), codes, n, q)) return true;
  if (!codes || q <= 0 || q >= n || codes[q] != CONTINUATION_CODE) return false;
  int head = q - 1, end = q + 1;
  while (head > 0 && codes[head] == CONTINUATION_CODE) --head;
  while (end < n && codes[end] == CONTINUATION_CODE) ++end;
  if (!is_ruby_code(codes[head])) return false;
  const char16_t* reading = whole.doc.annotation_texts[codes[head] - RUBY_CODE_FIRST];
  return book_reading_division(text.c_str() + head, end - head, reading, q - head) >= 0 &&
         book_break_allowed(text.c_str(), nullptr, n, q);
}

TEST_P(BookTexts, ColumnsKeepTheRulesAndBreakWhereIcuDoes) {
  const bool vertical = GetParam();
  Icu icu;
  for (const Text& text : texts()) {
    SCOPED_TRACE(text.name);
    ViewContext book, whole;
    open_text(book, text.path, vertical, 1, WIDTH, text.notation);
    open_text(whole, text.path, vertical, 0, LOGICAL, text.notation);
    ASSERT_GT(book.doc.line_count, 0);
    std::vector<Paragraph> paragraphs;
    ASSERT_TRUE(paragraphs_of(book, whole, paragraphs));
    MeasureContext measure = view_measure_context(book);
    std::map<std::string, int> listed;
    int breaks = 0, forced = 0, full = 0, rubies = 0;
    for (const Paragraph& p : paragraphs) {
      const std::vector<bool> icu_breaks = icu.breaks(p.text);
      const std::uint16_t* codes = p.codes.empty() ? nullptr : p.codes.data();
      const int n = static_cast<int>(p.text.size());
      for (std::size_t k = 0; k < p.lines.size(); ++k) {
        const int index = p.lines[k];
        const DisplayLine& line = book.doc.lines[index];
        const std::u16string piece = text_of(book.doc, line);
        const int len = static_cast<int>(piece.size());
        SCOPED_TRACE("display line " + std::to_string(index) + " \"" + utf8(piece) + "\"");
        const int limit =
            column_length(book, line.flags & DL_QUOTE) - line_notation(book.doc, line).shortened;
        std::vector<int> adv(piece.size() + 1);
        justify_display_line(measure, book, index, adv.data());
        int end = len;
        while (end > 0 && is_space(piece[static_cast<std::size_t>(end - 1)])) --end;
        const int set = length_of(adv, end);
        const bool hangs = end > 0 && book_hangs(piece[static_cast<std::size_t>(end - 1)]) &&
                           set > limit && set - adv[static_cast<std::size_t>(end - 1)] <= limit;
        const int body = hangs ? set - adv[static_cast<std::size_t>(end - 1)] : set;
        const bool last = line.flags & DL_PARAGRAPH_END;
        // Where the column ends, and whether it had to end there.
        const int from = p.starts[k], to = last ? n : p.starts[k + 1];
        int place = -1;  // the last place to break inside the column
        for (int q = from + 1; q < to; ++q)
          if (may_end_before(whole, p.text, codes, q)) place = q;
        const bool cut = !last && !may_end_before(whole, p.text, codes, to);
        if (cut) {
          // Only where what would move on from that place could not go on
          // whole either: a run longer than a column, cut anyway.
          int next = to + 1;
          while (next < n && !may_end_before(whole, p.text, codes, next)) ++next;
          TextExtent run{};
          if (place >= 0) measure_text(measure, p.text.c_str() + place, next - place, run, book);
          EXPECT_TRUE(place < 0 || run.cx > limit)
              << "a break the rules refuse, with a place to break before it";
          ++forced;
        }
        EXPECT_LE(body, limit) << "the column is longer than its length";
        rubies += readings_within(measure, book, index, hangs ? set : body);
        if (!last && !cut) {
          ++full;
          EXPECT_EQ(body, limit) << "a full column that does not end on the grid";
        }
        if (last) continue;
        ++breaks;
        const char16_t head = p.text[static_cast<std::size_t>(to)];
        const char16_t tail = piece.empty() ? 0 : piece[static_cast<std::size_t>(end - 1)];
        if (!cut) {
          const bool word_head =
              printable_ascii(head) && is_space(p.text[static_cast<std::size_t>(to - 1)]);
          EXPECT_FALSE(book_no_start(head) && !word_head) << "begins the next column";
          EXPECT_FALSE(book_no_end(tail)) << "ends the column";
        }
        // A pair of ― or … stays whole; a run longer than a column is cut
        // between its pairs.
        if ((tail == u'―' || tail == u'…') && head == tail) {
          int run = to - 1;
          while (run > 0 && p.text[static_cast<std::size_t>(run - 1)] == head) --run;
          EXPECT_EQ((to - run) % 2, 0) << "a pair split between columns";
        }
        if (!icu_breaks[static_cast<std::size_t>(to)] && !cut) {
          const Difference* d = difference_for(p.text, to, false);
          if (d)
            ++listed[d->name];
          else
            ADD_FAILURE() << "ICU does not break before \"" << utf8(std::u16string(1, head))
                          << "\" at " << to << " of \"" << utf8(p.text) << "\"";
        }
      }
    }
    std::printf("[ %s %s ] %d breaks, %d full columns on the grid, %d forced, %d readings\n",
                text.name, vertical ? "vertical" : "horizontal", breaks, full, forced, rubies);
    for (const auto& [name, count] : listed) std::printf("    %5d %s\n", count, name.c_str());
    release_document(book);
    release_document(whole);
  }
}

// A column that does not end its paragraph reads letter-spaced when its
// characters at their own widths fall short of its length by more than a
// tenth of an em per gap between them.
bool loose_column(MeasureContext& measure, ViewContext& v, int index) {
  const DisplayLine& line = v.doc.lines[index];
  if (line.flags & DL_PARAGRAPH_END) return false;
  const char16_t* text = line_text(v.doc, line);
  const int n = line_length(v.doc, line);
  int natural = 0, chars = 0;
  for (int i = 0; i < n; ++chars) {
    const int units = char_units(text, i, n);
    TextExtent e{};
    measure_text(measure, text + i, units, e, v);
    natural += e.cx;
    i += units;
  }
  const int limit = column_length(v, line.flags & DL_QUOTE) - line_notation(v.doc, line).shortened;
  return 10 * (limit - natural) > 2 * v.typeset.half_width * std::max(chars - 1, 0);
}

// Loose columns are rare: at most one in 500 at 40 half cells a column, one
// in 150 at 24 (where fewer characters share what is left over).
TEST(BookLooseness, FewColumnsAreLetterSpaced) {
  const struct { int width, one_in; } widths[] = {{40, 500}, {24, 150}};
  for (const auto& w : widths) {
    for (const Text& text : BookTexts::texts()) {
      SCOPED_TRACE(std::string(text.name) + " at " + std::to_string(w.width));
      ViewContext book;
      open_text(book, text.path, true, 1, w.width, text.notation);
      MeasureContext measure = view_measure_context(book);
      // A column before a Latin word or a command that does not fit the
      // room left cannot be filled without splitting it; it is counted apart.
      int loose = 0, before_latin = 0;
      for (int i = 0; i + 1 < book.doc.line_count; ++i) {
        if (!loose_column(measure, book, i)) continue;
        const char16_t* next = line_text(book.doc, book.doc.lines[i + 1]);
        const char16_t head = next ? next[0] : 0;
        ++(printable_ascii(head) ? before_latin : loose);
      }
      std::printf("[ %s at %d ] %d of %d columns loose, %d more before a Latin word\n", text.name,
                  w.width, loose, book.doc.line_count, before_latin);
      // A short text may have one.
      EXPECT_LE(loose, std::max(1, book.doc.line_count / w.one_in));
      release_document(book);
    }
  }
}

// Every place of every line: this mode's break opportunities against ICU's.
TEST(BookIcu, BreakOpportunitiesAgreeButForTheListedDifferences) {
  Icu icu;
  std::map<std::string, int> listed;
  std::map<std::string, int> unlisted;
  long places = 0;
  std::vector<Text> texts = {{"yomite-no-hon", SAMPLES + "yomite-no-hon.txt"},
                             {"sen-wo-hiku", SAMPLES + "sen-wo-hiku.txt"},
                             {"tutor", TUTOR}};
  const std::string zip = test::shared_testdata(NOVEL);
  const std::string txt = test::process_temp_dir().file("novel-icu.txt");
  if (std::system(("unzip -p '" + zip + "' > '" + txt + "' 2>/dev/null").c_str()) == 0)
    texts.push_back({"novel", txt});
  for (const Text& text : texts) {
    if (!std::ifstream(text.path).good()) continue;
    ViewContext whole;
    open_text(whole, text.path, true, 0, LOGICAL);
    for (int i = 0; i < whole.doc.line_count; ++i) {
      const std::u16string t = text_of(whole.doc, whole.doc.lines[i]);
      const int n = static_cast<int>(t.size());
      const std::vector<bool> icu_breaks = icu.breaks(t);
      for (int p = 1; p < n; ++p) {
        if (is_low_surrogate(t[static_cast<std::size_t>(p)])) continue;
        ++places;
        const bool ours = book_break_allowed(t.c_str(), nullptr, n, p);
        const bool theirs = icu_breaks[static_cast<std::size_t>(p)];
        if (ours == theirs) continue;
        const Difference* d = difference_for(t, p, theirs);
        if (d) {
          ++listed[d->name];
          continue;
        }
        std::u16string pair = t.substr(static_cast<std::size_t>(p - 1), 2);
        if (std::getenv("YOMITE_SHOW_ICU_DIFFERENCES"))
          std::printf("%s|%s\n", utf8(t.substr(p > 8 ? p - 8 : 0, p > 8 ? 8 : p)).c_str(),
                      utf8(t.substr(p, 8)).c_str());
        ++unlisted[std::string(theirs ? "ICU only: " : "ours only: ") + utf8(pair)];
      }
    }
    release_document(whole);
  }
  std::printf("%ld places\n", places);
  for (const auto& [name, count] : listed) std::printf("    %6d %s\n", count, name.c_str());
  for (const auto& [name, count] : unlisted)
    ADD_FAILURE() << count << " unlisted difference(s) " << name;
}

INSTANTIATE_TEST_SUITE_P(BothDirections, BookTexts, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("Vertical") : std::string("Horizontal");
                         });

}  // namespace
}  // namespace yomite
