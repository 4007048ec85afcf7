// The loading pipeline with the fake fonts (full width 18, half width 9, 40
// half-width units per column): files of every kind become display lines.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "decode/decode.h"
#include "document/load.h"
#include "locked/locked.h"
#include "platform/fake/fake_font.h"
#include "platform/fake/fake_password_prompt.h"
#include "platform/fake/fake_trace.h"
#include "tests/locked/locked_test_util.h"
#include "tests/temp_dir.h"
#include "trace/trace.h"

namespace yomite {
namespace {

std::string write_file(const std::string& name, const std::string& bytes) {
  std::string path = test::process_temp_dir().file(name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

class LoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_locked_state();
    fake::script_password_prompt({});
    v.settings.face_name = "@ＭＳ ゴシック";
    v.settings.font_size = 18;
    v.settings.column_chars = 40;
    v.settings.page_lines = 20;
  }
  void TearDown() override { release_document(v); }

  // The open step as far as loading goes: probe, then fonts and full load.
  void open(const std::string& path) {
    v.doc.file_name = path;
    load_document(v, nullptr);
    create_view_fonts(v);
    load_full_document(v);
  }

  std::vector<std::u16string> texts() const {
    std::vector<std::u16string> out;
    for (int j = 0; j < v.doc.line_count; ++j) out.emplace_back(line_text(v.doc, v.doc.lines[j]));
    return out;
  }

  ViewContext v;
};

using Lines = std::vector<std::u16string>;

TEST_F(LoadTest, PlainLinesInEveryLineEnd) {
  open(write_file("plain.txt", "\xE6\x9C\xAC\xE6\x96\x87\r\n\r\nend\rlast"));  // 本文 in UTF-8
  EXPECT_EQ(texts(), (Lines{u"本文", u"", u"end", u"last"}));
  for (int j = 0; j < v.doc.line_count; ++j) {
    EXPECT_EQ(v.doc.lines[j].flags, DL_PARAGRAPH_END);
    EXPECT_EQ(line_codes(v.doc, v.doc.lines[j]), nullptr);
  }
}

TEST_F(LoadTest, DirectiveOnlyFirstLineLeavesNoColumn) {
  v.settings.face_name.clear();
  v.settings.column_chars = 0;
  std::string text = "｛フォント ＭＳ 明朝,20｝｛幅 30｝\r\n一行目\r\n";
  v.doc.file_name = write_file("brace.txt", text);
  load_document(v, nullptr);  // the probe stores the directives
  EXPECT_EQ(v.settings.face_name, "ＭＳ 明朝");
  EXPECT_EQ(v.settings.font_size, 18) << "an earlier value wins over the directive";
  EXPECT_EQ(v.settings.column_chars, 30);
  EXPECT_EQ(v.doc.line_count, 0) << "the probe lays nothing out";
  create_view_fonts(v);
  load_full_document(v);
  EXPECT_EQ(texts(), (Lines{u"一行目"}));
}

std::string header_block_text(int extra_separators) {
  std::string dashes(40, '-');
  std::string text = "題名《だいめい》\r\n" + dashes + "\r\n注意書き\r\n" + dashes + "\r\n本文\r\n";
  for (int k = 0; k < extra_separators; ++k) text += "\r\n";
  text += "十行目を過ぎて\r\n";
  for (int k = 0; k < 10; ++k) text += "行\r\n";
  return text + dashes + "\r\n";
}

TEST_F(LoadTest, HeaderBlockIsDroppedInBracketNotation) {
  open(write_file("bracket.txt", header_block_text(0)));
  Lines lines = texts();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], u"題名");
  EXPECT_EQ(lines[1], u"本文") << "the block and its fences are gone";
  EXPECT_EQ(lines.back(), std::u16string(40, u'-')) << "a later separator stays as text";
  EXPECT_NE(line_codes(v.doc, v.doc.lines[0]), nullptr);
}

TEST_F(LoadTest, ForcedBracketNotationNeedsTwoSeparators) {
  std::string text = std::string(40, '-') + "\r\n本文《ほんぶん》\r\n";
  v.settings.text_format = DIALECT_BRACKET;
  open(write_file("one-separator.txt", text));
  EXPECT_EQ(texts(), (Lines{std::u16string(40, u'-'), u"本文"}));
}

TEST_F(LoadTest, MarkupOffShowsEverythingAsText) {
  v.settings.markup_enabled = 0;
  open(write_file("off.txt", header_block_text(0)));
  Lines lines = texts();
  EXPECT_EQ(lines[0], u"題名《だいめい》");
  EXPECT_EQ(lines[1], std::u16string(40, u'-'));
  for (int j = 0; j < v.doc.line_count; ++j) EXPECT_EQ(line_codes(v.doc, v.doc.lines[j]), nullptr);
}

TEST_F(LoadTest, FormFeedStartsANewPage) {
  open(write_file("ff.txt", "a\r\nb\r\nc\fc\r\nd\r\n"));
  Lines lines = texts();
  ASSERT_EQ(lines.size(), 21u);
  EXPECT_EQ(lines[2], u"c c") << "the form feed itself becomes a space";
  for (int j = 3; j < 20; ++j) EXPECT_EQ(lines[static_cast<std::size_t>(j)], u"") << j;
  EXPECT_EQ(lines[20], u"d");
}

TEST_F(LoadTest, TabsAndIsolatedDigits) {
  open(write_file("digits.txt", "a\tb\r\n漢1字 2 字、3字\r\n漢12字\r\n"));
  EXPECT_EQ(texts(), (Lines{u"a b", u"漢１字２字、３字", u"漢12字"}));
  release_document(v);
  v.settings.face_name = "ＭＳ ゴシック";  // horizontal writing keeps digits as they are
  open(v.doc.file_name);
  EXPECT_EQ(texts()[1], u"漢1字 2 字、3字");
}

TEST_F(LoadTest, LockedTextReadsAsShiftJisWithBraceNotation) {
  char key[LOCKED_KEY_CHARS + 1];
  make_key_string(12345, key);
  // "本文｛ルビ ほん｝本｛/ルビ｝" in Shift_JIS
  std::string source =
      "\x96\x7B\x95\xB6\r\n\x81\x6F\x83\x8B\x83\x72 "
      "\x82\xD9\x82\xF1\x81\x70\x96\x7B\x81\x6F/\x83\x8B\x83\x72\x81\x70\r\n";
  open(write_file("locked.txt", test::seal_string(source, key, 0)));
  EXPECT_EQ(texts(), (Lines{u"本文", u"本"}));
  EXPECT_EQ(v.doc.locked, 1);
  EXPECT_EQ(v.settings.text_format, DIALECT_BRACE);
  EXPECT_EQ(v.settings.encoding_letter, 'S');
  ASSERT_NE(line_codes(v.doc, v.doc.lines[1]), nullptr);
  EXPECT_EQ(std::u16string(v.doc.annotation_texts[0]), u"ほん");
}

TEST_F(LoadTest, RefusedPasswordLoadsNothing) {
  char key[LOCKED_KEY_CHARS + 1];
  make_key_string(777, key);
  std::string path = write_file("password.txt", test::seal_string("secret\r\n", key, 8));
  fake::script_password_prompt({{0, ""}});  // cancel
  open(path);
  EXPECT_EQ(v.doc.line_count, 0);
  EXPECT_EQ(v.doc.locked, 1);
  EXPECT_EQ(locked_refused(), 1);
}

// A load a limit ended while text remained ends in a column of its own that
// says so: the text of its last logical line (empty when no limit cut it).
std::u16string cut_notice(const ViewContext& v) {
  if (v.doc.load_cut == LOAD_WHOLE) return u"";
  int first = v.doc.line_count - 1;
  while (first > 0 && !(v.doc.lines[first - 1].flags & DL_PARAGRAPH_END)) --first;
  std::u16string text;
  for (int j = first; j < v.doc.line_count; ++j) text += line_text(v.doc, v.doc.lines[j]);
  return text;
}

// Display lines of the text itself, without the closing notice.
int text_columns(const ViewContext& v) {
  int n = v.doc.line_count;
  if (v.doc.load_cut != LOAD_WHOLE)
    while (n > 0 && (n == v.doc.line_count || !(v.doc.lines[n - 1].flags & DL_PARAGRAPH_END))) --n;
  return n;
}

TEST_F(LoadTest, CharacterLimitEndsAfterTheLineThatPassedItAndSaysSo) {
  std::string line(1000, 'a');
  std::string text;
  for (int k = 0; k < 1049; ++k) text += line + "\n";
  // 1,049,000 characters passed 1,048,576, and the text ends there: it is whole.
  open(write_file("long.txt", text));
  EXPECT_EQ(v.doc.load_cut, LOAD_WHOLE);
  EXPECT_EQ(line_text(v.doc, v.doc.lines[v.doc.line_count - 1])[0], u'a');
  const int whole = v.doc.line_count;
  // One line more is not read, and the last column says why.
  release_document(v);
  open(write_file("long.txt", text + "b\n"));
  EXPECT_EQ(v.doc.load_cut, LOAD_CUT_CHARACTERS);
  EXPECT_EQ(text_columns(v), whole);
  EXPECT_EQ(cut_notice(v),
            u"（この先は読み込んでいません。文字数が上限の１０４８５７６字を超えました）");
  // In slices, asked once more after the end, as a window's load may be: once.
  const int with_notice = v.doc.line_count;
  release_document(v);
  load_document(v, nullptr);
  create_view_fonts(v);
  LoadJob* job = begin_full_load(v);
  ASSERT_NE(job, nullptr);
  while (continue_full_load(*job, -1, 100)) {
  }
  EXPECT_EQ(continue_full_load(*job, -1, -1), 0);
  end_full_load(job);
  EXPECT_EQ(v.doc.line_count, with_notice);
}

// Lines of NUL bytes hold no characters: only the bytes read end the load.
TEST_F(LoadTest, ByteLimitEndsLinesWithoutCharacters) {
  fake::set_trace_receiver(true);
  trace_init();
  fake::trace_messages().clear();
  open(write_file("zero-bytes.txt", std::string(DOCUMENT_MAX_BYTES + (1 << 20), '\0')));
  // Each physical line holds 32767 bytes; the load stops before the next
  // line once 64 MiB have been read.
  EXPECT_EQ(text_columns(v), DOCUMENT_MAX_BYTES / 32767 + 1);
  EXPECT_EQ(v.doc.load_cut, LOAD_CUT_BYTES);
  EXPECT_EQ(cut_notice(v),
            u"（この先は読み込んでいません。ファイルが上限の６４ＭｉＢを超えました）");
  EXPECT_NE(fake::trace_text().find("limit of bytes reached"), std::string::npos);
  trace_shutdown();
  std::remove(test::process_temp_dir().file("zero-bytes.txt").c_str());
}

// Empty lines (and form-feed pages) are columns without characters: the
// count of display lines ends the load.
TEST_F(LoadTest, DisplayLineLimitEndsEmptyLines) {
  open(write_file("empty-lines.txt", std::string(DOCUMENT_MAX_LINES + 100, '\n')));
  EXPECT_EQ(text_columns(v), DOCUMENT_MAX_LINES);
  EXPECT_EQ(v.doc.load_cut, LOAD_CUT_LINES);
  EXPECT_EQ(cut_notice(v),
            u"（この先は読み込んでいません。行数が上限の４１９４３０４行を超えました）");
  std::remove(test::process_temp_dir().file("empty-lines.txt").c_str());
  release_document(v);
  v.settings.page_lines = 1024;  // each two-byte line "\f\n" is a page of 1024 columns
  std::string feeds;
  for (int k = 0; k < 5000; ++k) feeds += "\f\n";
  open(write_file("form-feeds.txt", feeds));
  EXPECT_EQ(text_columns(v), DOCUMENT_MAX_LINES);
  EXPECT_EQ(v.doc.load_cut, LOAD_CUT_LINES);
}

// The limit is checked before each line: the line that passes it is laid out
// whole, however many columns it takes (here the longest physical line, one
// half-width letter a column), and still the column naming the limit follows.
TEST_F(LoadTest, TheLineThatPassesTheDisplayLineLimitIsLaidOutWhole) {
  v.settings.column_chars = 1;
  const int longest = 32767;  // bytes the reader takes as one line at most
  open(write_file("long-last-line.txt", std::string(DOCUMENT_MAX_LINES - 1, '\n') +
                                            std::string(longest, 'a') + "\nb\n"));
  EXPECT_EQ(text_columns(v), DOCUMENT_MAX_LINES - 1 + longest);
  EXPECT_EQ(v.doc.load_cut, LOAD_CUT_LINES);
  EXPECT_EQ(line_text(v.doc, v.doc.lines[text_columns(v) - 1]), std::u16string(u"a"));
  std::remove(test::process_temp_dir().file("long-last-line.txt").c_str());
}

// A FIFO or a device given as the text is refused at once: the document is
// empty, as for a file that cannot be opened, and nothing waits or reads on.
#if !defined(_WIN32)
TEST_F(LoadTest, NoRegularFileGivesAnEmptyDocument) {
  const std::string fifo = test::process_temp_dir().file("pipe.txt");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero"), test::process_temp_dir().path}) {
    release_document(v);
    open(path);
    EXPECT_EQ(v.doc.line_count, 0) << path;
  }
}
#else
TEST_F(LoadTest, NoRegularFileGivesAnEmptyDocument) {
  for (const std::string& path :
       {std::string("NUL"), std::string("CON"), test::process_temp_dir().path}) {
    release_document(v);
    open(path);
    EXPECT_EQ(v.doc.line_count, 0) << path;
  }
}
#endif

TEST_F(LoadTest, UnreadableFileGivesAnEmptyDocument) {
  fake::set_trace_receiver(true);
  trace_init();
  fake::trace_messages().clear();
  open(test::process_temp_dir().file("does-not-exist.txt"));
  EXPECT_EQ(v.doc.line_count, 0);
  EXPECT_NE(fake::trace_text().find("cannot open"), std::string::npos);
  trace_shutdown();
}

TEST_F(LoadTest, SamplesLoadInBothNotations) {
  open(YOMITE_SOURCE_DIR "/samples/yomite-no-hon.txt");
  int rubies = 0;
  while (rubies < RUBY_ENTRIES && v.doc.annotation_texts[static_cast<std::size_t>(rubies)])
    ++rubies;
  EXPECT_GT(v.doc.line_count, 20);
  EXPECT_GT(rubies, 5);
  for (int j = 0; j < v.doc.line_count; ++j)
    EXPECT_EQ(std::u16string(line_text(v.doc, v.doc.lines[j])).find(u'《'), std::u16string::npos)
        << j;
  Lines story = texts();
  release_document(v);
  open(YOMITE_SOURCE_DIR "/samples/yomite-no-hon.utf8.txt");
  EXPECT_EQ(texts(), story) << "the UTF-8 copy lays out the same";
  release_document(v);
  v.settings.face_name.clear();
  open(YOMITE_SOURCE_DIR "/samples/sen-wo-hiku.txt");
  EXPECT_GT(v.doc.line_count, 10);
  EXPECT_NE(v.doc.annotation_texts[NOTE_FIRST_ENTRY], nullptr);
}

TEST(ConvertIsolatedDigits, Cases) {
  struct Case {
    std::u16string in, out;
  } cases[] = {
      {u"漢1字", u"漢１字"},      {u"1字", u"１字"},
      {u"漢 1 字", u"漢１字"},    {u"漢 1字", u"漢１字"},
      {u"漢1 字", u"漢１字"},     {u"漢12字", u"漢12字"},
      {u"漢1", u"漢1"},           {u"a1字", u"a1字"},
      {u"漢 1  字", u"漢 1  字"}, {u"漢1字2字", u"漢１字２字"},
  };
  for (const Case& c : cases) {
    std::u16string s = c.in;
    convert_isolated_digits(s.data());
    EXPECT_EQ(std::u16string(s.c_str()), c.out) << std::string(c.in.begin(), c.in.end());
  }
  // Book composition takes the full-width tilde (beyond U+FEFF) for the wave
  // dash: a range stands upright either way.
  std::u16string range = u"1～3日";
  convert_isolated_digits(range.data());
  EXPECT_EQ(range, u"1～3日");
  convert_isolated_digits(range.data(), u"～");
  EXPECT_EQ(std::u16string(range.c_str()), u"１～３日");
  range = u"1〜3日";
  convert_isolated_digits(range.data());
  EXPECT_EQ(std::u16string(range.c_str()), u"１〜３日");
}

}  // namespace
}  // namespace yomite
