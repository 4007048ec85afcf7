// Finding things: the folding rules, matches across column breaks, in
// readings and kana alike; the find window played through the fake desktop,
// the highlights on the page, the list of matches, the queries of other
// programs, and bookmarks.
#include "viewer/search.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "layout/paint.h"
#include "platform/fake/fake_canvas.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_font.h"
#include "platform/fake/fake_window.h"
#include "settings/settings.h"
#include "tests/temp_dir.h"
#include "tests/viewer/viewer_fixture.h"
#include "viewer/bookmarks.h"
#include "viewer/commands.h"
#include "viewer/dialogs.h"
#include "viewer/find.h"
#include "viewer/keys.h"
#include "viewer/messages.h"
#include "viewer/open.h"
#include "viewer/place.h"
#include "viewer/reader_commands.h"
#include "viewer/reader_queries.h"

namespace yomite {
namespace {

using platform::DialogControl;
using platform::DialogForm;
using Args = std::vector<std::string>;

TEST(SearchFolding, WidthCaseAndKana) {
  const SearchOptions plain{}, kana{0, 1};
  struct Case {
    char16_t in, out, out_kana;
  };
  const Case cases[] = {
      {u'A', u'a', u'a'},    {u'z', u'z', u'z'},    {u'Ａ', u'a', u'a'},   {u'ｚ', u'z', u'z'},
      {u'５', u'5', u'5'},   {u'！', u'!', u'!'},   {u'～', u'~', u'~'},   {u'\x3000', u' ', u' '},
      {u'カ', u'カ', u'か'}, {u'ヶ', u'ヶ', u'ゖ'}, {u'ヴ', u'ヴ', u'ゔ'}, {u'ヽ', u'ヽ', u'ゝ'},
      {u'ー', u'ー', u'ー'}, {u'ｶ', u'ｶ', u'ｶ'},    {u'漢', u'漢', u'漢'}, {u'É', u'É', u'É'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.in));
    EXPECT_EQ(fold_search_char(c.in, plain), c.out);
    EXPECT_EQ(fold_search_char(c.in, kana), c.out_kana);
  }
}

std::string write_file(const std::string& name, const std::string& bytes) {
  std::string path = test::process_temp_dir().file(name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// Bracket notation: ruby, full-width Latin, a long line that breaks at a
// space, kana in both scripts.
const char* TEXT =
    "表題\n"
    "----------------------------------------\n"
    "記号《きごう》\n"
    "----------------------------------------\n"
    "あいうえおかきくけこさしすせそたちつてと猫の額ほどの庭がある。\n"  // 猫の額 across a column
                                                                        // break? (20 a column)
    "ＹＯＭＩＴＥは読み手のための道具です。\n"
    "The quick brown fox jumps over the lazy dog near the river bank.\n"
    "吾輩《わがはい》は猫である。名前はまだ無い。\n"
    "カタカナのネコとひらがなのねこ。\n"
    "猫\n"
    "の額\n";

class Search : public ::testing::Test {
 protected:
  void SetUp() override {
    test::set_up_text_view(v, window);
    v.doc.file_name = write_file("search.txt", TEXT);
    std::remove(bookmarks_path(settings_path()).c_str());  // the tests' own bookmarks
    open_document(v, 0, -1, -1, nullptr);
    reset_find(v);
  }
  void TearDown() override {
    reset_find(v);
    release_document(v);
    process_settings() = ProcessSettings{};
  }

  std::vector<TextRange> find(const std::u16string& text, SearchOptions o = {}) {
    return find_all(v.doc, make_search_pattern(text, o));
  }

  std::u16string matched(const TextRange& m) {
    std::u16string out;
    for (int i = m.line; i <= m.end_line; ++i) {
      const char16_t* t = line_text(v.doc, v.doc.lines[i]);
      const int from = i == m.line ? m.index : 0;
      const int to =
          i == m.end_line ? m.end_index : static_cast<int>(std::char_traits<char16_t>::length(t));
      out.append(t + from, t + to);
    }
    return out;
  }

  ViewContext v;
  platform::Window window{600, 450};
};

TEST_F(Search, MatchesAcrossColumnBreaksButNotParagraphs) {
  // "あいう…と" fills the first column (20 full widths); 猫の額 follows in the next.
  std::vector<TextRange> m = find(u"と猫の額");
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].end_line, m[0].line + 1) << "the match spans the break";
  EXPECT_EQ(matched(m[0]), u"と猫の額");
  // "猫" and "の額" are two paragraphs: no match between them.
  EXPECT_EQ(find(u"猫の額").size(), 1u);
  // A space the break dropped still separates the words.
  ASSERT_GE(v.doc.line_count, 10);
  std::vector<TextRange> words = find(u"the river bank");
  ASSERT_EQ(words.size(), 1u);
  std::vector<TextRange> split = find(u"lazy dog near");
  ASSERT_EQ(split.size(), 1u);
  EXPECT_EQ(find(u"lazydog").size(), 0u);
  // Width and case alike; the pattern is folded too.
  EXPECT_EQ(find(u"yomite").size(), 1u);
  EXPECT_EQ(find(u"ＱＵＩＣＫ").size(), 1u);
  EXPECT_EQ(find(u"Ｔｈｅ").size(), 3u);  // The, the, the
  EXPECT_EQ(find(u"").size(), 0u);
  EXPECT_EQ(find(u"ないもの").size(), 0u);
}

TEST_F(Search, ReadingsAndKanaAsOptions) {
  EXPECT_EQ(find(u"わがはい").size(), 0u);
  std::vector<TextRange> m = find(u"わがはい", {1, 0});
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(matched(m[0]), u"吾輩") << "a reading finds its base";
  // Part of a reading with the text after the base.
  m = find(u"はいは猫", {1, 0});
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(matched(m[0]), u"吾輩は猫");
  // A match found both ways is one match.
  EXPECT_EQ(find(u"猫である", {1, 0}).size(), 1u);
  EXPECT_EQ(find(u"猫である").size(), 1u);
  // Kana alike.
  EXPECT_EQ(find(u"ねこ").size(), 1u);
  EXPECT_EQ(find(u"ねこ", {0, 1}).size(), 2u);
  EXPECT_EQ(find(u"ネコ", {0, 1}).size(), 2u);
}

TEST_F(Search, NextAndPreviousWrapAround) {
  std::vector<TextRange> m = {{2, 0, 2, 1}, {5, 3, 5, 4}, {5, 7, 5, 8}, {9, 0, 9, 1}};
  int wrapped = 0;
  EXPECT_EQ(match_from(m, 0, 0, 1, &wrapped), 0);
  EXPECT_EQ(wrapped, 0);
  EXPECT_EQ(match_from(m, 5, 4, 1, &wrapped), 2);
  EXPECT_EQ(match_from(m, 9, 1, 1, &wrapped), 0);
  EXPECT_EQ(wrapped, 1);
  EXPECT_EQ(match_from(m, 5, 7, -1, &wrapped), 1);
  EXPECT_EQ(wrapped, 0);
  EXPECT_EQ(match_from(m, 2, 0, -1, &wrapped), 3);
  EXPECT_EQ(wrapped, 1);
  EXPECT_EQ(match_from({}, 0, 0, 1, &wrapped), -1);
}

TEST_F(Search, TheFindWindowSearchesAsOneTypes) {
  ASSERT_EQ(fake::modeless_form(), nullptr);
  on_key(v, KEY_SLASH);
  DialogForm* form = fake::modeless_form();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->title, FIND_WINDOW_TITLE);
  const platform::ModelessHooks& hooks = fake::modeless_hooks();
  auto type = [&](const std::string& text) {
    platform::dialog_control(*form, ID_FIND_TEXT)->text = text;
    hooks.changed(*form, ID_FIND_TEXT, hooks.context);
  };
  auto status = [&] { return platform::dialog_control(*form, ID_FIND_STATUS)->label; };
  type("猫");
  EXPECT_EQ(v.viewport.highlights.size(), 3u);
  EXPECT_EQ(status(), "1 / 3");
  type("猫で");  // narrower as one types
  EXPECT_EQ(status(), "1 / 1");
  type("猫");
  hooks.button(*form, ID_OK, hooks.context);  // Enter: the next
  EXPECT_EQ(current_match(v), 1);
  hooks.again(*form, 0, hooks.context);  // F3 in the window
  EXPECT_EQ(current_match(v), 2);
  on_key(v, KEY_F1 + 2);  // F3 in the main window
  EXPECT_EQ(current_match(v), 0);
  EXPECT_EQ(status(), "1 / 3  " + std::string(FIND_WRAPPED_TO_START));
  fake::set_modifiers(platform::KEYMOD_SHIFT);
  on_key(v, KEY_F1 + 2);  // Shift+F3: back, wrapping to the end
  fake::set_modifiers(0);
  EXPECT_EQ(current_match(v), 2);
  EXPECT_EQ(status(), "3 / 3  " + std::string(FIND_WRAPPED_TO_END));
  type("ないもの");
  EXPECT_EQ(status(), FIND_NOTHING);
  // The options are the window's check boxes.
  platform::dialog_control(*form, ID_FIND_KANA)->checked = 1;
  type("ネコ");
  EXPECT_EQ(v.viewport.highlights.size(), 2u);
  // Esc closes it; the view stays where the search left it.
  const int top = v.viewport.top_line;
  platform::modeless_close();
  EXPECT_EQ(fake::modeless_form(), nullptr);
  EXPECT_EQ(v.viewport.top_line, top);
  EXPECT_TRUE(v.viewport.highlights.empty()) << "the matches are no longer marked";
  on_key(v, KEY_F1 + 2);  // F3 finds them again and shows the window
  EXPECT_EQ(v.viewport.highlights.size(), 2u);
  EXPECT_GE(current_match(v), 0);
  ASSERT_NE(fake::modeless_form(), nullptr);
  platform::modeless_close();
  // Ctrl+F stays the font command: letters act whatever modifier is held.
  const int opened = fake::modeless_opened();
  fake::set_modifiers(platform::KEYMOD_CTRL);
  on_key(v, 'F');
  fake::set_modifiers(0);
  EXPECT_EQ(fake::fonts_offered().size(), 1u);
  EXPECT_EQ(fake::modeless_opened(), opened);
}

TEST_F(Search, AMatchOnALaterPageIsBroughtIntoViewAndTheListJumps) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += i == 150 ? "ここに宝がある。\n" : "ただの行です。\n";
  text += "また宝。\n";
  release_document(v);
  v.doc.loaded = 0;
  v.doc.file_name = write_file("long.txt", text);
  open_document(v, 0, -1, -1, nullptr);
  ASSERT_EQ(find_text(v, u"宝", {}), 2);
  EXPECT_EQ(v.viewport.top_line, 148) << "two columns before the match";
  EXPECT_EQ(v.viewport.current_highlight, 0);
  // The list shows each match's page and words; choosing one goes there.
  fake::DialogStep second;
  second.edit = [](DialogForm& f) { platform::dialog_control(f, ID_FIND_MATCHES)->selected = 1; };
  fake::script_dialog_steps({second});
  run_menu_command(v, CMD_FIND_LIST);
  const DialogForm& list = fake::dialogs_shown().back();
  EXPECT_EQ(list.title, FIND_LIST_TITLE);
  const DialogControl& rows = list.controls[1];
  ASSERT_EQ(rows.items.size(), 2u);
  EXPECT_EQ(rows.items[0], "8ページ  ここに宝がある。");
  EXPECT_EQ(rows.items[1].substr(0, 11), "11ページ");
  EXPECT_EQ(current_match(v), 1);
  EXPECT_EQ(v.viewport.top_line, 198);
  // A relayout finds the matches again in the new lines.
  v.settings.column_chars = 10;
  reopen_document(v, 0);
  EXPECT_EQ(v.viewport.highlights.size(), 2u);
}

TEST_F(Search, HighlightsArePaintedOnlyWhereThereAreMatches) {
  auto paint = [&] {
    fake::Recording rec;
    platform::Canvas* c = fake::new_recording_canvas(rec, "win", 600, 450);
    paint_view(v, *c, PaintRect{0, 0, 600, 450}, PaintRect{0, 0, 600, 450});
    platform::canvas_destroy(c);
    std::string log;
    for (const std::string& line : rec.lines) log += line + "\n";
    return log;
  };
  const std::string plain = paint();
  find_text(v, u"猫", {});
  const std::string marked = paint();
  EXPECT_NE(plain, marked);
  reset_find(v);
  EXPECT_EQ(paint(), plain) << "without matches the page is what it was";
  find_text(v, u"猫", {});
  // One inverted block (the current match) and frames for the others.
  std::size_t inverts = 0;
  for (std::size_t at = marked.find("invert"); at != std::string::npos;
       at = marked.find("invert", at + 1))
    ++inverts;
  EXPECT_EQ(inverts, 1u);
}

TEST_F(Search, OtherProgramsAskForThePlaceFindAndBookmark) {
  fake::FakeSender asker;
  auto ask = [&](int code, const std::string& argument = "") {
    asker.argument = argument;
    asker.received.clear();
    const int result = on_command_message(v, code, fake::sender_of(asker));
    return std::make_pair(result,
                          asker.received.empty() ? std::string("(none)") : asker.received[0]);
  };
  v.viewport.top_line = 2;
  EXPECT_EQ(ask(QUERY_TOP_LINE), std::make_pair(2, std::string("2")));
  // Logical line 4 (the header block's lines counted), its second column.
  EXPECT_EQ(ask(QUERY_PLACE).second.substr(0, 5), "4,20,");
  EXPECT_EQ(ask(QUERY_PAGE).first, 1);
  EXPECT_EQ(ask(QUERY_PAGE_COUNT).first, 1);
  EXPECT_EQ(ask(QUERY_STATUS).second, progress_text(v));
  const auto found = ask(QUERY_FIND, "猫");
  EXPECT_EQ(found.first, 3);
  EXPECT_EQ(found.second.substr(0, 4), "1/3 ");
  EXPECT_EQ(ask(QUERY_FIND_NEXT).first, 1);
  EXPECT_EQ(ask(QUERY_MATCH).second.substr(0, 4), "2/3 ");
  EXPECT_EQ(ask(QUERY_MATCH).second.substr(0, 4), "2/3 ") << "asking moves nothing";
  EXPECT_EQ(ask(QUERY_FIND_PREVIOUS).second.substr(0, 4), "1/3 ");
  EXPECT_EQ(ask(QUERY_FIND_PREVIOUS).first, 2);  // wrapped
  EXPECT_EQ(ask(QUERY_FIND, "").first, 0);
  EXPECT_TRUE(v.viewport.highlights.empty());
  // Bookmarks: added at the top, listed with their lines.
  v.viewport.top_line = 3;
  EXPECT_EQ(ask(QUERY_ADD_BOOKMARK, "しるし").first, 1);
  const auto listed = ask(QUERY_BOOKMARKS);
  EXPECT_EQ(listed.first, 1);
  EXPECT_EQ(listed.second, "3\tしるし\n");
  // The standard queries stay as they were.
  EXPECT_EQ(ask(2).first, 0);
  EXPECT_EQ(ask(2).second, "(none)");
  EXPECT_EQ(ask(QUERY_FILE_NAME).second, v.doc.file_name);
  // Extension numbers never run from outside.
  EXPECT_EQ(on_command_message(v, CMD_FIND, nullptr), 0);
  EXPECT_EQ(fake::modeless_form(), nullptr);
}

TEST_F(Search, BookmarksAddListJumpRenameAndDelete) {
  v.viewport.top_line = 4;
  fake::DialogStep named;
  named.edit = [](DialogForm& f) { platform::dialog_control(f, ID_BOOKMARK_NAME)->text = "吾輩"; };
  fake::script_dialog_steps({named});
  fake::set_modifiers(platform::KEYMOD_CTRL);
  on_key(v, 'B');  // Ctrl+B is B
  fake::set_modifiers(0);
  ASSERT_EQ(fake::dialogs_shown().size(), 1u);
  EXPECT_EQ(fake::dialogs_shown()[0].controls[1].text, default_bookmark_name(v))
      << "the words there";
  v.viewport.top_line = 1;
  fake::script_dialog_steps({fake::DialogStep{}});  // OK with the words as the name
  run_menu_command(v, CMD_ADD_BOOKMARK);
  fake::DialogStep cancelled;
  cancelled.press = ID_CANCEL;
  fake::script_dialog_steps({cancelled});
  run_menu_command(v, CMD_ADD_BOOKMARK);
  ASSERT_EQ(file_bookmarks().size(), 2u);

  // The dialog lists them in book order; rename the second, delete the first,
  // jump to what is left.
  fake::DialogStep choose_second;
  choose_second.edit = [](DialogForm& f) {
    platform::dialog_control(f, ID_BOOKMARK_LIST)->selected = 1;
  };
  choose_second.press = ID_BOOKMARK_RENAME;
  fake::DialogStep new_name;
  new_name.edit = [](DialogForm& f) {
    platform::dialog_control(f, ID_BOOKMARK_NAME)->text = "猫の所";
  };
  fake::DialogStep choose_first;
  choose_first.edit = [](DialogForm& f) {
    platform::dialog_control(f, ID_BOOKMARK_LIST)->selected = 0;
  };
  choose_first.press = ID_BOOKMARK_DELETE;
  fake::DialogStep jump;
  fake::script_dialog_steps({choose_second, new_name, choose_first, jump});
  v.viewport.top_line = 0;
  run_menu_command(v, CMD_BOOKMARKS);
  const DialogForm& shown = fake::dialogs_shown()[3];
  EXPECT_EQ(shown.title, BOOKMARKS_TITLE);
  ASSERT_EQ(shown.controls[0].items.size(), 2u);
  EXPECT_EQ(shown.controls[0].items[1].substr(0, 6), "吾輩") << shown.controls[0].items[1];
  ASSERT_EQ(file_bookmarks().size(), 1u);
  EXPECT_EQ(file_bookmarks()[0].name, "猫の所");
  EXPECT_EQ(v.viewport.top_line, 4);

  // Another viewer's write reaches this one with the settings notice.
  ViewContext other;
  other.doc.file_name = v.doc.file_name;
  other.viewport.window = &window;
  add_bookmark(bookmarks_path(settings_path()), v.doc.file_name,
               Bookmark{anchor_at(v.doc, 2), 1, "他"});
  EXPECT_EQ(file_bookmarks().size(), 1u);
  on_settings_changed(v);
  EXPECT_EQ(file_bookmarks().size(), 2u);
}

}  // namespace
}  // namespace yomite
