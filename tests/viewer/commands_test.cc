// Every command number on the fake window and desktop, with a document opened
// from a file through the real open step (fake fonts: cell 18, half width 9,
// pitch 30; one logical line of "あ" per display line).
#include "viewer/commands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <set>

#include "layout/composition.h"
#include "layout/paint.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_font.h"
#include "settings/ini.h"
#include "tests/viewer/viewer_fixture.h"
#include "viewer/command_table.h"
#include "viewer/contents.h"
#include "viewer/dialogs.h"
#include "viewer/open.h"
#include "viewer/reader_commands.h"

namespace yomite {
namespace {

using platform::DialogForm;
using platform::MenuItem;
using Args = std::vector<std::string>;

class Commands : public test::ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    fake::reset_fonts();
    release_document(v);  // a fresh view: the document and fonts go, settings start over
    v.doc.loaded = 0;
    v.settings = ViewSettings{};
    v.viewport = Viewport{};
    v.viewport.window = &window;
    v.settings.ruby_percent = 60;
    v.settings.page_lines = 20;
    std::string text;
    for (int i = 0; i < 100; ++i) text += "\xE3\x81\x82\n";  // あ
    v.doc.file_name = test::process_temp_dir().file("book.txt");
    std::ofstream(v.doc.file_name, std::ios::binary) << text;
    open_document(v, 0, -1, -1, nullptr);
    ASSERT_EQ(v.doc.line_count, 100);
  }

  // The settings file as this viewer wrote it.
  std::string stored(const char* section, const char* key) {
    IniFile ini;
    ini_load(process_settings().file_path, ini);
    return ini_get(ini, section, key, "(none)");
  }

  // A dialog step that types `text` into control `id` and presses OK.
  static fake::DialogStep type(int id, const std::string& text, int press = ID_OK) {
    fake::DialogStep step;
    step.edit = [id, text](DialogForm& s) { platform::dialog_control(s, id)->text = text; };
    step.press = press;
    return step;
  }
};

// A row added to the command table must not take another row's number or
// key, and the menu must show every row that has a label, with that label.
TEST_F(Commands, TheTableHoldsTogether) {
  std::set<int> keys;
  int previous_last = 0;
  for (const CommandRow& row : command_rows()) {
    EXPECT_LE(row.number, row.last) << row.number;
    EXPECT_GT(row.number, previous_last) << row.number;  // in order, ranges apart
    previous_last = row.last;
    ASSERT_NE(row.run, nullptr) << row.number;
    for (int k : row.keys) {
      if (k == 0) continue;
      EXPECT_TRUE(keys.insert(k).second) << "key bound twice: " << k;
    }
  }
  std::map<int, std::string> shown;
  std::function<void(const std::vector<MenuItem>&)> walk = [&](const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
      walk(item.submenu);
      if (item.id == 0) continue;
      EXPECT_NE(find_command(item.id), nullptr) << item.label;
      EXPECT_TRUE(shown.emplace(item.id, item.label).second) << "twice in the menu: " << item.id;
    }
  };
  v.settings.full_notation = 1;  // the contents submenu too
  walk(context_menu_items(v));
  for (const CommandRow& row : command_rows()) {
    if (!row.label) continue;
    ASSERT_TRUE(shown.count(row.number)) << row.label;
    EXPECT_EQ(shown[row.number], row.label);
  }
}

TEST_F(Commands, NumbersWithoutACommandDoNothing) {
  const int before_lines = v.doc.line_count, before_top = v.viewport.top_line;
  for (int n : {0, 1, 99, 110, 115, 119, 130, 140, 150, 199, 220, 300, -5}) run_command(v, n);
  EXPECT_EQ(v.doc.line_count, before_lines);
  EXPECT_EQ(v.viewport.top_line, before_top);
  EXPECT_TRUE(fake::started_processes().empty());
  EXPECT_TRUE(fake::dialogs_shown().empty());
  EXPECT_EQ(window.close_posted, 0);
  EXPECT_EQ(v.settings.smooth_scroll, 1);
}

TEST_F(Commands, WithoutADocumentOnlyTheDocumentFreeCommandsAct) {
  v.doc.loaded = 0;
  for (int n : {CMD_FONT, CMD_MAKE_STANDARD, CMD_WIDTH, CMD_FONT_LARGER, CMD_FONT_SMALLER,
                CMD_MARKUP, CMD_SET_MARK, CMD_JUMP_MARK, CMD_EDITOR, CMD_PAGE_JUMP, CMD_RELOAD}) {
    EXPECT_EQ(command_enabled(v, n), 0) << n;
    run_command(v, n);
  }
  EXPECT_TRUE(fake::dialogs_shown().empty());
  EXPECT_TRUE(fake::fonts_offered().empty());
  EXPECT_EQ(v.settings.markup_enabled, 1);
  EXPECT_EQ(v.settings.font_size, 18);
  for (int n : {CMD_SMOOTH, CMD_SMOOTH_DOTS_1, CMD_TEXT_COLOR, CMD_OPEN, CMD_SETTINGS,
                CMD_PAGE_MODE, CMD_CLOSE, CMD_ABOUT, CMD_HISTORY_FIRST})
    EXPECT_EQ(command_enabled(v, n), 1) << n;
  run_command(v, CMD_PAGE_MODE);
  EXPECT_EQ(v.settings.page_mode, 1);
  run_command(v, CMD_SMOOTH_DOTS_1 + 6);
  EXPECT_EQ(v.settings.smooth_dots, 7);
  EXPECT_EQ(stored("Scroll", "SmoothDot"), "7");
}

TEST_F(Commands, SmoothScrollingAndPageModeChangeOnlyTheField) {
  const int notices = fake::settings_notices();
  run_command(v, CMD_SMOOTH);
  EXPECT_EQ(v.settings.smooth_scroll, 0);
  run_command(v, CMD_PAGE_MODE);
  EXPECT_EQ(v.settings.page_mode, 1);
  EXPECT_EQ(fake::settings_notices(), notices);  // nothing written
  EXPECT_TRUE(window.log.empty());               // nor repainted
  run_command(v, CMD_SMOOTH_DOTS_1 + 2);
  EXPECT_EQ(v.settings.smooth_dots, 3);
  EXPECT_EQ(fake::settings_notices(), notices + 1);
}

TEST_F(Commands, LargerAndSmallerFontWithAndWithoutShift) {
  struct Case {
    int size, command, shift, result;
  };
  const Case cases[] = {
      {49, CMD_FONT_LARGER, 1, 50},  {48, CMD_FONT_LARGER, 1, 50},  {50, CMD_FONT_LARGER, 0, 50},
      {49, CMD_FONT_LARGER, 0, 50},  {11, CMD_FONT_SMALLER, 1, 10}, {12, CMD_FONT_SMALLER, 1, 10},
      {10, CMD_FONT_SMALLER, 1, 10}, {18, CMD_FONT_SMALLER, 0, 17},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.size << " " << c.command << " " << c.shift);
    reopen_document(v, c.size);
    ASSERT_EQ(v.settings.font_size, c.size);
    fake::set_modifiers(c.shift ? platform::KEYMOD_SHIFT : 0);
    run_command(v, c.command);
    EXPECT_EQ(v.settings.font_size, c.result);
    EXPECT_EQ(v.doc.loaded, 1);
  }
}

TEST_F(Commands, TheMarkMovesToItsPagesFirstColumnAcrossAFontChange) {
  v.settings.keep_place = 0;  // the standard behaviour, without the kept places
  v.viewport.top_line = 57;
  run_command(v, CMD_SET_MARK);
  EXPECT_TRUE(v.doc.lines[57].flags & DL_MARK);
  fake::script_font_choices({{-24, 1, 2, 0x30, "@ＭＳ 明朝"}});
  run_command(v, CMD_FONT);
  ASSERT_EQ(fake::fonts_offered().size(), 1u);
  EXPECT_EQ(fake::fonts_offered()[0].height, -18);
  EXPECT_EQ(fake::fonts_offered()[0].face, "@ＭＳ ゴシック");
  EXPECT_EQ(v.settings.face_name, "@ＭＳ 明朝");
  EXPECT_EQ(v.settings.font_size, 24);
  EXPECT_EQ(v.viewport.mark_page, 3);
  EXPECT_TRUE(v.doc.lines[40].flags & DL_MARK);
  EXPECT_FALSE(v.doc.lines[57].flags & DL_MARK);
  EXPECT_EQ(v.viewport.top_line, 57);  // a reload keeps the scroll position
  run_command(v, CMD_JUMP_MARK);
  EXPECT_EQ(v.viewport.top_line, 40);
}

TEST_F(Commands, FontChoiceSwitchesTheWritingDirection) {
  fake::script_font_choices({{-18, 1, 2, 0x30, "ＭＳ 明朝"}, {-18, 1, 2, 0x30, "@ＭＳ 明朝"}});
  run_command(v, CMD_FONT);
  EXPECT_EQ(v.typeset.vertical, 0);
  EXPECT_EQ(window.bars[platform::SCROLL_BAR_VERT].max, 1000);
  run_command(v, CMD_FONT);
  EXPECT_EQ(v.typeset.vertical, 1);
  EXPECT_EQ(window.bars[platform::SCROLL_BAR_HORZ].max, 1000);
  run_command(v, CMD_FONT);  // cancelled: nothing changes
  EXPECT_EQ(v.settings.face_name, "@ＭＳ 明朝");
}

TEST_F(Commands, MakeStandardWritesTheCurrentValues) {
  v.settings.column_chars = 30;
  v.settings.page_lines = 12;
  v.settings.font_size = 22;
  v.settings.face_name = "ＭＳ 明朝";
  run_command(v, CMD_MAKE_STANDARD);
  EXPECT_EQ(v.settings.std_face_name, "ＭＳ 明朝");
  EXPECT_EQ(stored("Font", "Font"), "ＭＳ 明朝");
  EXPECT_EQ(stored("Font", "Size"), "22");
  EXPECT_EQ(stored("Font", "Width"), "30");
  EXPECT_EQ(stored("Font", "Page"), "12");
}

TEST_F(Commands, ColoursWithCancel) {
  fake::script_color_choices({0x123456, -1, 0x00FF00, 0x0000FF});
  run_command(v, CMD_TEXT_COLOR);
  EXPECT_EQ(v.settings.text_color, 0x123456u);
  EXPECT_EQ(stored("Color", "Fore"), "123456");
  run_command(v, CMD_BACK_COLOR);  // cancelled
  EXPECT_EQ(v.settings.back_color, 0xFFFFFFu);
  run_command(v, CMD_BACK_COLOR);
  EXPECT_EQ(v.settings.back_color, 0x00FF00u);
  run_command(v, CMD_LINK_COLOR);
  EXPECT_EQ(v.settings.link_color, 0x0000FFu);
  EXPECT_EQ(stored("Color", "Footnote"), "0000FF");
  EXPECT_EQ(log_with("invalidate all 0").size(), 3u);
}

TEST_F(Commands, WidthDialogTakesOnlyNumbersFromTenToTwoHundred) {
  fake::script_dialog_steps({
      type(ID_WIDTH_COLUMN, "9", 0), type(ID_WIDTH_PAGE, "20"),    // 9: stays open
      type(ID_WIDTH_COLUMN, "201"),                                // stays open
      type(ID_WIDTH_COLUMN, "20x"),                                // not a number
      type(ID_WIDTH_COLUMN, "10", 0), type(ID_WIDTH_PAGE, "201"),  // 201 pages
      type(ID_WIDTH_PAGE, "200"),                                  // accepted
  });
  run_command(v, CMD_WIDTH);
  ASSERT_EQ(fake::dialogs_shown().size(), 1u);
  const DialogForm& shown = fake::dialogs_shown()[0];
  EXPECT_EQ(shown.title, "Yomite 文字数設定");
  EXPECT_EQ(shown.cancel_label, "ｷｬﾝｾﾙ");
  EXPECT_EQ(shown.controls[0].label, "１行の文字数(半角単位)(&W):");
  EXPECT_EQ(shown.controls[1].text, "40");
  EXPECT_EQ(shown.controls[3].text, "20");
  EXPECT_EQ(v.settings.column_chars, 10);
  EXPECT_EQ(v.settings.page_lines, 200);
  EXPECT_EQ(v.doc.loaded, 1);
  EXPECT_EQ(v.doc.line_count, 100);  // reopened: 5 half widths hold one "あ" a column
  EXPECT_GE(window.focused, 1);

  fake::script_dialog_steps({type(ID_WIDTH_COLUMN, "50", ID_CANCEL)});
  run_command(v, CMD_WIDTH);
  EXPECT_EQ(v.settings.column_chars, 10);
}

TEST_F(Commands, PageJumpRefusesZeroAndStopsAtTheLastLine) {
  v.viewport.top_line = 45;
  fake::script_dialog_steps(
      {type(ID_PAGE_NUMBER, "0"), type(ID_PAGE_NUMBER, ""), type(ID_PAGE_NUMBER, "4")});
  run_command(v, CMD_PAGE_JUMP);
  const DialogForm& shown = fake::dialogs_shown()[0];
  EXPECT_EQ(shown.title, "ページ移動");
  EXPECT_EQ(shown.controls[1].text, "3");  // floor(45 / 20) + 1
  EXPECT_EQ(shown.controls[1].max_chars, 5);
  EXPECT_EQ(shown.controls[1].digits_only, 1);
  EXPECT_EQ(shown.controls[2].kind, platform::CONTROL_SPIN);
  EXPECT_EQ(shown.controls[2].spin_max, 32767);
  EXPECT_EQ(v.viewport.top_line, 60);
  fake::script_dialog_steps({type(ID_PAGE_NUMBER, "99999")});
  run_command(v, CMD_PAGE_JUMP);
  EXPECT_EQ(v.viewport.top_line, 99);
}

TEST_F(Commands, SettingsDialogClampsRubyAndWritesWhatChanged) {
  const int notices = fake::settings_notices();
  process_settings().editor_command = "gedit";
  fake::script_dialog_steps({fake::DialogStep{}});
  run_command(v, CMD_SETTINGS);
  EXPECT_EQ(fake::settings_notices(), notices);  // nothing changed: nothing written
  fake::script_dialog_steps({type(ID_SETTINGS_EDITOR, "kate")});
  window.log.clear();
  run_command(v, CMD_SETTINGS);
  EXPECT_EQ(process_settings().editor_command, "kate");
  // Written at once, so that another viewer's notice cannot make it lost,
  // but nothing of the page changes.
  EXPECT_EQ(stored("Tool", "Editor"), "*kate");
  EXPECT_EQ(fake::settings_notices(), notices + 1);
  EXPECT_TRUE(log_with("invalidate").empty());
  const DialogForm& shown = fake::dialogs_shown()[1];
  EXPECT_EQ(shown.title, "Yomite 設定");
  EXPECT_EQ(platform::dialog_control(const_cast<DialogForm&>(shown), ID_SETTINGS_RUBY)->text, "60");

  struct Case {
    const char* typed;
    int stored;
  };
  for (Case c : {Case{"30", 40}, Case{"95", 80}, Case{"", 40}, Case{"55", 55}}) {
    SCOPED_TRACE(c.typed);
    fake::script_dialog_steps({type(ID_SETTINGS_RUBY, c.typed)});
    run_command(v, CMD_SETTINGS);
    EXPECT_EQ(v.settings.ruby_percent, c.stored);
  }
  EXPECT_EQ(stored("Font", "RubyPercent"), "55");

  fake::DialogStep justify;
  justify.edit = [](DialogForm& s) {
    platform::dialog_control(s, ID_SETTINGS_JUSTIFY)->checked = 0;
  };
  fake::script_dialog_steps({justify});
  window.log.clear();
  run_command(v, CMD_SETTINGS);
  EXPECT_EQ(v.settings.justify, 0);
  EXPECT_EQ(stored("Font", "Justify"), "0");
  EXPECT_EQ(log_with("invalidate"), Args{"invalidate all 0"});
  fake::script_dialog_steps({type(ID_SETTINGS_RUBY, "70", ID_CANCEL)});
  run_command(v, CMD_SETTINGS);
  EXPECT_EQ(v.settings.ruby_percent, 55);
}

TEST_F(Commands, ProgramChooserQuotesAPathWithABlank) {
  fake::script_file_choices({"/opt/My Editor/edit", ""});
  fake::script_dialog_steps({fake::DialogStep{nullptr, ID_SETTINGS_BROWSE, 0}, fake::DialogStep{}});
  run_command(v, CMD_SETTINGS);
  EXPECT_EQ(process_settings().editor_command, "\"/opt/My Editor/edit\"");
  std::string out = "x";
  EXPECT_EQ(choose_program(v.viewport.window, out), 0);  // cancelled
  EXPECT_EQ(out, "");
  fake::script_file_choices({"/usr/bin/kate"});
  EXPECT_EQ(choose_program(v.viewport.window, out), 1);
  EXPECT_EQ(out, "/usr/bin/kate");
}

TEST_F(Commands, EditorGetsTheFileAsOneArgument) {
  v.doc.file_name = test::process_temp_dir().file("a \"b\" 罪.txt");
  process_settings().editor_command = "\"/opt/My Editor/edit\" --new-window 'x y'";
  run_command(v, CMD_EDITOR);
  ASSERT_EQ(fake::started_processes().size(), 1u);
  EXPECT_FALSE(fake::started_processes()[0].viewer);
  EXPECT_EQ(fake::started_processes()[0].args,
            (Args{"/opt/My Editor/edit", "--new-window", "x y", v.doc.file_name}));
  EXPECT_TRUE(fake::message_boxes().empty());

  fake::script_start_results({0});
  process_settings().editor_command = "no-such-editor";
  run_command(v, CMD_EDITOR);
  EXPECT_EQ(fake::message_boxes(),
            Args{"起動できません: no-such-editor \"" + v.doc.file_name + "\""});
  v.doc.locked = 1;
  run_command(v, CMD_EDITOR);
  EXPECT_EQ(fake::started_processes().size(), 2u);
}

TEST(SplitCommandWords, ShellQuoting) {
  EXPECT_EQ(split_command_words("gedit"), Args{"gedit"});
  EXPECT_EQ(split_command_words("  a   b\t c "), (Args{"a", "b", "c"}));
  EXPECT_EQ(split_command_words("\"/a b/c\" -x"), (Args{"/a b/c", "-x"}));
  EXPECT_EQ(split_command_words("'it''s' \"q\\\"uote\" back\\ slash"),
            (Args{"its", "q\"uote", "back slash"}));
  EXPECT_EQ(split_command_words("a\"\"b ''"), (Args{"ab", ""}));
  EXPECT_EQ(split_command_words("\"\\n\""), Args{"\\n"});
  EXPECT_TRUE(split_command_words("   ").empty());
}

TEST_F(Commands, OpenDialogAndHistoryEntriesStartViewers) {
  fake::script_file_choices({"/books/b.txt", ""});
  run_command(v, CMD_OPEN);
  ASSERT_EQ(fake::file_filters_offered().size(), 1u);
  const auto& filters = fake::file_filters_offered()[0];
  ASSERT_GE(filters.size(), 2u);
  // Everything the viewer opens first (an extension), then the specified two.
  EXPECT_EQ(filters[0].patterns, "*.txt;*.ymx;*.zip");
  EXPECT_EQ(filters[1].name, "テキスト(*.txt;*.ymx)");
  EXPECT_EQ(filters[2].name, "ﾌｧｲﾙ(*.*)");
  EXPECT_EQ(fake::file_folders_offered()[0], test::process_temp_dir().path + "/")
      << "the chooser starts in the shown file's folder";
  ASSERT_EQ(fake::started_processes().size(), 1u);
  EXPECT_EQ(fake::started_processes()[0].args.size(), 2u);  // a full viewer stays where it is
  EXPECT_EQ(window.close_posted, 0);
  run_command(v, CMD_OPEN);  // cancelled
  EXPECT_EQ(fake::started_processes().size(), 1u);

  std::ofstream(process_settings().file_path)
      << "[History]\n01F=\"/books/old.txt\"\n01M=3\n02F=\"\"\n03F=\"/books/hidden.txt\"\n";
  context_menu_items(v);                  // reads the list
  run_command(v, CMD_HISTORY_FIRST + 1);  // an empty entry
  run_command(v, CMD_HISTORY_FIRST + 19);
  EXPECT_EQ(fake::started_processes().size(), 1u);
  v.doc.file_name.clear();  // an empty viewer: the new one takes its place
  window.x = 5;
  window.y = 6;
  run_command(v, CMD_HISTORY_FIRST);
  ASSERT_EQ(fake::started_processes().size(), 2u);
  EXPECT_EQ(fake::started_processes()[1].args,
            (Args{"/usr/bin/yomite", "/books/old.txt", "/X5", "/Y6"}));
  EXPECT_EQ(window.close_posted, 1);
}

TEST_F(Commands, MarkupToggleAndReloadReopen) {
  const int bounds = window.bounds_set;
  run_command(v, CMD_MARKUP);
  EXPECT_EQ(v.settings.markup_enabled, 0);
  EXPECT_EQ(v.doc.loaded, 1);
  run_command(v, CMD_RELOAD);
  EXPECT_EQ(window.bounds_set, bounds + 2);  // each open sizes the window
  EXPECT_EQ(window.moved, 0);                // and keeps its place
}

TEST_F(Commands, CloseAndAbout) {
  run_command(v, CMD_CLOSE);
  EXPECT_EQ(window.close_posted, 1);
  run_command(v, CMD_ABOUT);
  ASSERT_EQ(fake::dialogs_shown().size(), 1u);
  std::string all;
  for (const auto& c : fake::dialogs_shown()[0].controls) all += c.label + "\n";
  EXPECT_NE(all.find("Yomite 0."), std::string::npos) << all;
  EXPECT_NE(all.find("MIT"), std::string::npos);
  EXPECT_NE(all.find(settings_path()), std::string::npos);
}

// --- the context menu as data ---

std::vector<std::string> labels(const std::vector<MenuItem>& items) {
  std::vector<std::string> out;
  for (const MenuItem& i : items) out.push_back(i.separator ? "-" : i.label);
  return out;
}

TEST_F(Commands, ContextMenuItemsInOrderWithChecks) {
  v.settings.smooth_dots = 4;
  v.settings.page_mode = 1;
  std::vector<MenuItem> menu = context_menu_items(v);
  EXPECT_EQ(
      labels(menu),
      (Args{"開く(&O)...\tO", "履歴(&H)", "-", "スムーススクロール", "ｽﾑｰｽｽｸﾛｰﾙﾄﾞｯﾄ数(4)",
            "ページモード(&P)", "ページ移動...\tP",
            "検索(&Q)...\t/",         // extensions: search,
            "検索結果の一覧(&U)...",  // its matches,
            "位置を表示(&I)",         // the status strip
            "-", "文字色(&C)...", "背景色(&B)...", "リンク色(&L)...", "-", "フォント変更(&F)...\tF",
            "フォント大\t]", "フォント小\t[", "-", "幅変更(&W)...\tW", "-", "特殊メモon/off(&T)",
            "注記を組版する(&A)",  // the full notation's switch (extension)
            "マーク(&M)\tM", "マークへジャンプ(&J)\tJ",
            "しおりを挟む(&N)\tB",  // bookmarks (extension)
            "しおり一覧(&Y)...", "-", "エディタ起動(&E)\tE", "設定(&S)\tS",
            "現在のフォント/幅を標準にする(&Z)", "バージョン情報(&V)",
            // The window's extensions.
            "-", "配色(&K)", "ルビ(&R)", "ウィンドウに合わせて組む(&G)", "全画面表示\tF11"}));
  EXPECT_EQ(menu[3].checked, 1);   // smooth scrolling
  EXPECT_EQ(menu[5].checked, 1);   // page mode
  EXPECT_EQ(menu[9].checked, 0);   // the status strip, off until shown
  EXPECT_EQ(menu[21].checked, 1);  // markup
  ASSERT_EQ(menu[4].submenu.size(), 9u);
  for (int n = 0; n < 9; ++n) {
    EXPECT_EQ(menu[4].submenu[n].label, std::to_string(n + 1));
    EXPECT_EQ(menu[4].submenu[n].id, 101 + n);
    EXPECT_EQ(menu[4].submenu[n].checked, n == 3);
  }
  ASSERT_EQ(menu[1].submenu.size(), 1u);  // no history yet
  EXPECT_EQ(menu[1].submenu[0].label, "(なし)");
  EXPECT_EQ(menu[1].submenu[0].grayed, 1);
  for (const MenuItem& i : menu) EXPECT_EQ(i.grayed, 0) << i.label;
}

// Two items of one menu with the same access key make the key cycle between
// them instead of choosing one.
void expect_distinct_access_keys(const std::vector<MenuItem>& items, const std::string& menu) {
  std::map<char, std::string> seen;
  for (const MenuItem& i : items) {
    const std::size_t amp = i.label.find('&');
    if (amp != std::string::npos && amp + 1 < i.label.size()) {
      const auto [at, fresh] = seen.emplace(i.label[amp + 1], i.label);
      EXPECT_TRUE(fresh) << menu << ": " << i.label << " and " << at->second;
    }
    if (!i.submenu.empty()) expect_distinct_access_keys(i.submenu, i.label);
  }
}

TEST_F(Commands, ContextMenuAccessKeysAreDistinctInEachMenu) {
  v.doc.headings.push_back(HeadingEntry{1, u"一", 42});
  v.settings.full_notation = 1;
  expect_distinct_access_keys(context_menu_items(v), "the context menu");
}

TEST_F(Commands, ContextMenuGraysWithoutADocumentAndForALockedText) {
  v.doc.locked = 1;
  std::vector<MenuItem> menu = context_menu_items(v);
  for (const MenuItem& i : menu) EXPECT_EQ(i.grayed, i.id == CMD_EDITOR) << i.label;
  v.doc.loaded = 0;
  menu = context_menu_items(v);
  std::vector<int> grayed;
  for (const MenuItem& i : menu)
    if (i.grayed) grayed.push_back(i.id);
  EXPECT_EQ(grayed,
            (std::vector<int>{CMD_PAGE_JUMP, CMD_FIND, CMD_FIND_LIST, CMD_FONT, CMD_FONT_LARGER,
                              CMD_FONT_SMALLER, CMD_WIDTH, CMD_MARKUP, CMD_FULL_NOTATION,
                              CMD_SET_MARK, CMD_JUMP_MARK, CMD_ADD_BOOKMARK, CMD_BOOKMARKS,
                              CMD_EDITOR, CMD_MAKE_STANDARD}));
}

TEST_F(Commands, FullNotationItemsComeOnlyFromTheMenu) {
  run_command(v, CMD_FULL_NOTATION);  // a number the command table leaves doing nothing
  EXPECT_EQ(v.settings.full_notation, 0);
  fake::script_menu_answers({CMD_FULL_NOTATION});
  show_context_menu(v, 0, 0);
  EXPECT_EQ(v.settings.full_notation, 1);
  EXPECT_EQ(v.doc.loaded, 1);  // laid out again
  std::vector<MenuItem> menu = context_menu_items(v);
  EXPECT_EQ(menu[10].label, "目次");  // after the page jump (and search) while the notation is on
  EXPECT_EQ(menu[10].submenu[0].label, "(なし)");
  EXPECT_EQ(menu[23].label, "注記を組版する(&A)");
  EXPECT_EQ(menu[23].checked, 1);

  const int bounds = window.bounds_set;
  run_command(v, CMD_PAGE_MODE);  // page breaks depend on the mode: laid out again
  EXPECT_EQ(window.bounds_set, bounds + 1);
  v.doc.headings.push_back(HeadingEntry{1, u"一", 42});
  fake::script_menu_answers({CMD_CONTENTS_FIRST});
  show_context_menu(v, 0, 0);
  EXPECT_EQ(v.viewport.top_line, 42);
}

TEST_F(Commands, SettingsDialogSwitchesTheFullNotation) {
  fake::DialogStep on;
  on.edit = [](DialogForm& s) {
    platform::dialog_control(s, ID_SETTINGS_FULL_NOTATION)->checked = 1;
  };
  fake::script_dialog_steps({on});
  run_command(v, CMD_SETTINGS);
  EXPECT_EQ(v.settings.full_notation, 1);
  EXPECT_EQ(stored("Font", "FullNotation"), "1");
  EXPECT_EQ(v.doc.loaded, 1);
}

TEST_F(Commands, SettingsDialogSwitchesBookComposition) {
  const int pitch = v.typeset.column_pitch;
  fake::DialogStep on;
  on.edit = [](DialogForm& s) {
    platform::dialog_control(s, ID_SETTINGS_BOOK_COMPOSITION)->checked = 1;
  };
  fake::script_dialog_steps({on});
  run_command(v, CMD_SETTINGS);
  EXPECT_EQ(v.settings.book_composition, 1);
  EXPECT_EQ(v.typeset.composition, &BOOK_COMPOSITION);  // laid out again in it
  EXPECT_EQ(stored("Font", "BookComposition"), "1");
  EXPECT_NE(v.typeset.column_pitch, pitch);         // a quarter em between columns
  fake::script_dialog_steps({fake::DialogStep{}});  // OK without a change: no new layout
  const int bounds = window.bounds_set;
  run_command(v, CMD_SETTINGS);
  EXPECT_EQ(window.bounds_set, bounds);
}

TEST_F(Commands, HistorySubmenuAndTheChosenNumber) {
  std::ofstream(process_settings().file_path)
      << "[History]\n01F=\"/books/R&D.txt\"\n02F=\"" << v.doc.file_name << "\"\n";
  fake::script_menu_answers({CMD_SMOOTH, 0});
  show_context_menu(v, 12, 34);
  EXPECT_EQ(v.settings.smooth_scroll, 0);  // the chosen number ran
  show_context_menu(v, 0, 0);              // closed without a choice
  ASSERT_EQ(fake::menus_shown().size(), 2u);
  EXPECT_EQ(fake::menus_shown()[0].x, 12);
  const MenuItem& history = fake::menus_shown()[0].items[1];
  ASSERT_EQ(history.submenu.size(), 2u);
  EXPECT_EQ(history.submenu[0].label, "&1 R&&D.txt");
  EXPECT_EQ(history.submenu[1].label, "&2 book.txt");
  EXPECT_EQ(history.submenu[1].checked, 1);
  EXPECT_EQ(history.submenu[1].id, 201);
}

}  // namespace
}  // namespace yomite
