// The full notation through the loader with the fake fonts (full width 18,
// half width 9, 40 half-width units: 20 full-width characters a column):
// where indented and foot-aligned lines start, page breaks, the contents,
// and the real novel and the library's example list with nothing raw left.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "decode/decode.h"
#include "document/archive.h"
#include "document/load.h"
#include "layout/indent.h"
#include "locked/locked.h"
#include "platform/fake/fake_password_prompt.h"
#include "tests/environment.h"
#include "tests/shared_data.h"
#include "tests/temp_dir.h"
#include "viewer/contents.h"

namespace yomite {
namespace {

constexpr int CELL = 18;           // px, a full-width character of the fake font
constexpr int COLUMN = 20 * CELL;  // px, column_length

// A UTF-8 file (read as such by the detector), forced to the bracket notation.
std::string text_file(const std::string& name, const std::u16string& text) {
  std::string bytes = utf16_to_utf8(text.data(), text.size());
  std::string path = test::process_temp_dir().file(name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

class NotationLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_locked_state();
    fake::script_password_prompt({});
    v.settings.face_name = "@ＭＳ ゴシック";
    v.settings.font_size = 18;
    v.settings.column_chars = 40;
    v.settings.page_lines = 20;
    v.settings.text_format = DIALECT_BRACKET;
    v.settings.full_notation = 1;
  }
  void TearDown() override { release_document(v); }

  void open(const std::string& path) {
    v.doc.file_name = path;
    load_document(v, nullptr);
    create_view_fonts(v);
    load_full_document(v);
  }
  void open_text(const std::u16string& text) { open(text_file("notation.txt", text)); }

  std::u16string text(int i) const { return line_text(v.doc, v.doc.lines[i]); }
  LineNotation notation(int i) const { return line_notation(v.doc, v.doc.lines[i]); }

  // Display lines holding "［＃", the raw form of an annotation.
  int raw_lines() const {
    int raw = 0;
    for (int i = 0; i < v.doc.line_count; ++i)
      if (text(i).find(u"［＃") != std::u16string::npos) ++raw;
    return raw;
  }

  ViewContext v;
};

TEST_F(NotationLoad, IndentsShortenTheColumnAndSurviveItsBreaks) {
  // 30 characters after an indent of 3: 17 fit the first column.
  open_text(
      u"［＃３字下げ］あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ\r\n"
      u"［＃ここから２字下げ、折り返して４字下げ］\r\n"
      u"一いろはにほへとちりぬるをわかよたれそつねならむ\r\n"
      u"［＃ここで字下げ終わり］\r\n"
      u"後\r\n");
  ASSERT_EQ(v.doc.line_count, 5);
  EXPECT_EQ(text(0).size(), 17u);
  EXPECT_EQ(notation(0).indent, 3 * CELL);
  EXPECT_EQ(notation(0).shortened, 3 * CELL);
  EXPECT_EQ(notation(1).indent, 3 * CELL);     // the line's indent goes on past the break
  EXPECT_EQ(text(2).size(), 18u);              // the block: first column 2 cells in
  EXPECT_EQ(notation(2).indent, 2 * CELL);
  EXPECT_EQ(notation(3).indent, 4 * CELL);  // continuation 4 cells in
  EXPECT_EQ(notation(3).shortened, 4 * CELL);
  EXPECT_EQ(text(4), u"後");  // the block start and end lines made no column
  EXPECT_EQ(notation(4).indent, 0);
}

TEST_F(NotationLoad, FootAlignmentEndsTheColumnAtItsFoot) {
  open_text(
      u"［＃地付き］終\r\n"
      u"［＃地から２字上げ］著者名\r\n"
      u"本文。［＃地付き］（所収）\r\n");
  ASSERT_EQ(v.doc.line_count, 4);
  EXPECT_EQ(notation(0).indent, COLUMN - CELL);
  EXPECT_EQ(notation(1).indent, COLUMN - 2 * CELL - 3 * CELL);
  EXPECT_EQ(text(2), u"本文。");  // the text before the annotation keeps its place
  EXPECT_EQ(notation(2).indent, 0);
  EXPECT_EQ(text(3), u"（所収）");
  EXPECT_EQ(notation(3).indent, COLUMN - 4 * CELL);
}

TEST_F(NotationLoad, AnIndentLongerThanTheColumnLeavesRoomForText) {
  open_text(u"［＃３０字下げ］あいう\r\n");
  ASSERT_GE(v.doc.line_count, 1);
  EXPECT_EQ(notation(0).indent, COLUMN - INDENT_KEEPS_CELLS * CELL);
  EXPECT_EQ(text(0), u"あい");
}

TEST_F(NotationLoad, PageBreakStartsAPageInPageModeAndLeavesAGapWhenScrolling) {
  const std::u16string book = u"一\r\n二\r\n［＃改ページ］\r\n三\r\n";
  open_text(book);
  ASSERT_EQ(v.doc.line_count, 4);
  EXPECT_EQ(text(2), u"");  // one column of gap
  EXPECT_EQ(text(3), u"三");
  release_document(v);
  v.settings.page_mode = 1;
  open_text(book);
  ASSERT_EQ(v.doc.line_count, 21);
  EXPECT_EQ(text(20), u"三");  // the first column of page 2
}

// A title page stands in the middle of its page in page mode: empty columns
// before it (9 of the 18 left on a page of 20); its heading moves along.
// Scrolling, or a page that does not end before the next, it stays.
TEST_F(NotationLoad, ACentredPageStandsInTheMiddleOfItsPage) {
  const std::u16string title =
      u"［＃ページの左右中央］\r\n題名［＃「題名」は大見出し］\r\n著者\r\n";
  v.settings.page_mode = 1;
  open_text(title + u"［＃改ページ］\r\n本文\r\n");
  ASSERT_EQ(v.doc.line_count, 21);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(text(i), u"") << i;
  EXPECT_EQ(text(9), u"題名");
  EXPECT_EQ(text(10), u"著者");
  EXPECT_EQ(text(20), u"本文");  // the next page as before
  ASSERT_EQ(v.doc.headings.size(), 1u);
  EXPECT_EQ(v.doc.headings[0].line, 9);
  // Places in the text move with the lines: the title is logical line 1,
  // the author 2, the text after the break 4; the empty columns have none.
  for (int i = 0; i < 9; ++i) EXPECT_EQ(line_origin_offset(v.doc, i), ORIGIN_NONE) << i;
  EXPECT_EQ(logical_line_of(v.doc, 9), 1);
  EXPECT_EQ(line_at_origin(v.doc, 1, 0), 9);
  EXPECT_EQ(line_at_origin(v.doc, 2, 1), 10);
  EXPECT_EQ(line_at_origin(v.doc, 4, 0), 20);
  EXPECT_EQ(anchor_at(v.doc, 10, 1).excerpt, u"者本文");
  release_document(v);
  open_text(title);  // the text ends with it
  ASSERT_EQ(v.doc.line_count, 11);
  EXPECT_EQ(text(9), u"題名");
  release_document(v);
  v.settings.page_mode = 0;
  open_text(title + u"［＃改ページ］\r\n本文\r\n");
  EXPECT_EQ(text(0), u"題名");
}

TEST_F(NotationLoad, HeadingsFormTheContents) {
  open_text(
      u"［＃２字下げ］第一篇［＃「第一篇」は大見出し］\r\n"
      u"［＃７字下げ］一［＃「一」は中見出し］\r\n"
      u"本文\r\n"
      u"［＃中見出し］R&D［＃中見出し終わり］\r\n");
  ASSERT_EQ(v.doc.headings.size(), 3u);
  EXPECT_EQ(v.doc.headings[0].level, HEADING_LARGE);
  EXPECT_EQ(v.doc.headings[0].text, u"第一篇");
  EXPECT_EQ(v.doc.headings[0].line, 0);
  EXPECT_EQ(notation(0).heading_from, 0);
  EXPECT_EQ(notation(0).heading_to, 3);
  EXPECT_EQ(v.doc.headings[1].level, HEADING_MEDIUM);
  EXPECT_EQ(v.doc.headings[2].line, 3);
  EXPECT_EQ(contents_target_line(v, CMD_CONTENTS_FIRST + 2), 3);
  EXPECT_EQ(contents_target_line(v, CMD_CONTENTS_FIRST + 3), -1);
  EXPECT_EQ(contents_target_line(v, CMD_FULL_NOTATION), -1);
  v.viewport.top_line = 2;
  HistoryMenu menu = contents_menu(v);
  ASSERT_EQ(menu.items.size(), 3u);
  EXPECT_EQ(menu.title, "目次");
  EXPECT_EQ(menu.items[0].label, "第一篇");
  EXPECT_EQ(menu.items[1].label, "　一");  // indented by its level
  EXPECT_EQ(menu.items[2].label, "　R&&D");
  EXPECT_EQ(menu.items[1].checked, 1);  // where the reader is
  EXPECT_EQ(menu.items[0].checked + menu.items[2].checked, 0);
  release_document(v);
  EXPECT_TRUE(v.doc.headings.empty());
  EXPECT_EQ(contents_menu(v).items[0].grayed, 1);
}

// Smaller and larger text is measured in its own size: more or fewer
// characters a column.
TEST_F(NotationLoad, SmallerAndLargerTextTakeTheirOwnRoom) {
  const std::u16string line(30, u'あ');
  open_text(u"［＃ここから１段階小さな文字］\n" + line + u"\n［＃ここで小さな文字終わり］\n" +
            u"［＃ここから２段階大きな文字］\n" + line + u"\n［＃ここで大きな文字終わり］\n" +
            line + u"\n");
  ASSERT_GE(v.doc.line_count, 6);
  const std::size_t smaller = text(0).size(), larger = text(2).size(), plain = text(4).size();
  EXPECT_EQ(plain, 20u);
  EXPECT_GT(smaller, plain);
  EXPECT_LT(larger, plain);
  EXPECT_EQ(smaller + text(1).size(), 30u);
  EXPECT_EQ(larger + text(3).size(), 30u);
}

TEST_F(NotationLoad, SwitchedOffTheAnnotationsStayAsText) {
  v.settings.full_notation = 0;
  open_text(u"［＃３字下げ］一［＃「一」は中見出し］\r\n");
  ASSERT_EQ(v.doc.line_count, 1);
  EXPECT_EQ(text(0), u"［＃３字下げ］一［＃「一」は中見出し］");
  EXPECT_EQ(notation(0).indent, 0);
  EXPECT_TRUE(v.doc.headings.empty());
  EXPECT_EQ(v.typeset.font_heading, nullptr);
}

// A settings notice may switch the full notation while a long text is laid
// out in idle time: the load goes on in the notation it began with.
TEST_F(NotationLoad, ALoadKeepsTheNotationItBeganWith) {
  v.doc.file_name = text_file("switched.txt", u"［＃３字下げ］一\r\n［＃３字下げ］二\r\n");
  load_document(v, nullptr);
  create_view_fonts(v);
  LoadJob* job = begin_full_load(v);
  ASSERT_NE(job, nullptr);
  EXPECT_EQ(continue_full_load(*job, -1, 1), 1);
  v.settings.full_notation = 0;
  while (continue_full_load(*job, -1, -1)) {
  }
  end_full_load(job);
  ASSERT_EQ(v.doc.line_count, 2);
  EXPECT_EQ(text(1), u"二");
  EXPECT_EQ(notation(1).indent, 3 * CELL);
}

TEST_F(NotationLoad, NovelLeavesNothingRawAndListsItsChapters) {
  YOMITE_NEED_SHARED_TESTDATA("aozora/tsumito_batsu.zip");
  v.settings.text_format = DIALECT_AUTO;
  test::set_environment(test::TEMP_DIRECTORY_VARIABLE,
                        test::process_temp_dir().path);  // unpacked in our own folder
  v.doc.file_name = test::shared_testdata("aozora/tsumito_batsu.zip");
  ASSERT_EQ(replace_archive_by_entry(v), 1);
  open(v.doc.file_name);
  EXPECT_EQ(raw_lines(), 0);
  int large = 0, medium = 0, previous = -1;
  for (const HeadingEntry& h : v.doc.headings) {
    large += h.level == HEADING_LARGE;
    medium += h.level == HEADING_MEDIUM;
    EXPECT_GT(h.line, previous);  // in reading order, each on a column of its own
    previous = h.line;
    EXPECT_EQ(std::u16string(line_text(v.doc, v.doc.lines[h.line])).find(h.text), 0u);
  }
  EXPECT_EQ(large, 7);    // 第一篇 … 第六篇, エピローグ
  EXPECT_EQ(medium, 41);  // the chapters
  EXPECT_EQ(v.doc.headings[0].text, u"第一篇");
  EXPECT_EQ(v.doc.headings[1].text, u"一");
}

TEST_F(NotationLoad, ExampleListLeavesNothingRaw) {
  YOMITE_NEED_SHARED_TESTDATA("aozora/chukiichiran_kinyurei.txt");
  v.settings.text_format = DIALECT_AUTO;
  open(test::shared_testdata("aozora/chukiichiran_kinyurei.txt"));
  EXPECT_EQ(raw_lines(), 0);
  EXPECT_GT(v.doc.headings.size(), 40u);
  release_document(v);
  v.settings.full_notation = 0;
  open(test::shared_testdata("aozora/chukiichiran_kinyurei.txt"));
  EXPECT_GT(raw_lines(), 200);  // as it was: every annotation shown
}

}  // namespace
}  // namespace yomite
