// Places named by the text, found again after every kind of relayout and at a
// new start (also in a file that changed since), and the progress shown.
#include "viewer/place.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_font.h"
#include "platform/fake/fake_window.h"
#include "settings/history.h"
#include "settings/ini.h"
#include "settings/settings.h"
#include "tests/temp_dir.h"
#include "tests/viewer/viewer_fixture.h"
#include "view/attr_codes.h"
#include "viewer/command_table.h"
#include "viewer/commands.h"
#include "viewer/dialogs.h"
#include "viewer/open.h"
#include "viewer/reader_commands.h"
#include "viewer/scrolling.h"
#include "viewer/startup.h"

namespace yomite {
namespace {

// "42" -> "４２" (UTF-8): a number the vertical layout leaves as it is.
std::string full_width(int n) {
  const std::string digits = "０１２３４５６７８９";
  std::string out = n < 0 ? "－" : "";
  for (char c : std::to_string(n < 0 ? -n : n))
    out += digits.substr(3 * static_cast<std::size_t>(c - '0'), 3);
  return out;
}

// A text in the bracket notation (ruby, a heading, indents, page breaks, a
// form feed, Latin words that break at spaces): paragraph k begins with
// "段落k" in full-width digits, so every place has words of its own.
std::string book(int paragraphs, int first = 0) {
  std::string t =
      "試験の本\n----------------------------------------\n記号《きごう》の説明\n"
      "----------------------------------------\n"
      "［＃３字下げ］第一章［＃「第一章」は大見出し］\n";
  for (int k = first; k < first + paragraphs; ++k) {
    t += "　段落" + full_width(k) + "の始まり。吾輩《わがはい》は猫である。";
    for (int f = 0; f < k % 5 + 1; ++f) t += "名前はまだ無い。どこで生れたか頓と見当がつかぬ。";
    if (k % 7 == 3) t += "The quick brown fox jumps over the lazy dog again and again.";
    t += "\n";
    if (k % 11 == 5) t += "\f\n";
    if (k % 13 == 8) t += "［＃改ページ］\n";
  }
  return t;
}

std::string write_file(const std::string& name, const std::string& bytes) {
  std::string path = test::process_temp_dir().file(name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

class Place : public ::testing::Test {
 protected:
  void SetUp() override {
    test::set_up_text_view(v, window);
    v.doc.file_name = write_file("book.txt", book(80));
  }
  void TearDown() override {
    release_document(v);
    process_settings() = ProcessSettings{};
  }

  void open(std::vector<const char*> args = {}) {
    args.insert(args.begin(), "yomite");
    ViewerArgs a = parse_viewer_args(static_cast<int>(args.size()), args.data(), nullptr);
    open_document(v, 0, a.x, a.y, &a.options);
  }

  // The top line holds the text `a` names: its logical line and its words;
  // when the text itself is the same, at the offset it names.
  void expect_at(const TextAnchor& a, const char* what, bool same_text = true) {
    SCOPED_TRACE(what);
    const int top = v.viewport.top_line;
    ASSERT_GE(top, 0);
    ASSERT_LT(top, v.doc.line_count);
    EXPECT_EQ(logical_line_of(v.doc, top), a.logical);
    const int origin = line_origin_offset(v.doc, top);
    ASSERT_NE(origin, ORIGIN_NONE);
    bool found = false;
    for (int k = 0; k < line_length(v.doc, v.doc.lines[top]) && !found; ++k)
      found = excerpt_matches(v.doc, top, k, a.excerpt);
    EXPECT_TRUE(found) << "the words at the place begin in the top line";
    if (!same_text) return;
    EXPECT_LE(origin, a.offset);
    EXPECT_LE(a.offset, origin + line_length(v.doc, v.doc.lines[top]));
    EXPECT_TRUE(excerpt_matches(v.doc, top, a.offset - origin, a.excerpt));
  }

  int line_with(const std::u16string& words) {
    for (int i = 0; i < v.doc.line_count; ++i)
      if (std::u16string(line_text(v.doc, v.doc.lines[i])).find(words) != std::u16string::npos)
        return i;
    return -1;
  }

  ViewContext v;
  platform::Window window{300, 300};
};

TEST_F(Place, EveryDisplayLineNamesItsLogicalLineAndOffset) {
  open();
  ASSERT_GT(v.doc.line_count, 200);
  // Logical lines: the title, two separators and the block between them,
  // the heading, then the paragraphs (and the form feeds' and page breaks' lines).
  EXPECT_GE(logical_line_count(v.doc), 85);
  int previous_logical = -1, expected_offset = 0;
  for (int i = 0; i < v.doc.line_count; ++i) {
    const int logical = logical_line_of(v.doc, i);
    const int origin = line_origin_offset(v.doc, i);
    ASSERT_GE(logical, previous_logical) << i;
    if (origin == ORIGIN_NONE) continue;  // a form feed's empty columns
    if (logical != previous_logical) expected_offset = 0;
    // Lines of one logical line follow each other; a break drops at most a space.
    EXPECT_GE(origin, expected_offset) << i;
    EXPECT_LE(origin, expected_offset + 1) << i;
    expected_offset = origin + line_length(v.doc, v.doc.lines[i]);
    previous_logical = logical;
    EXPECT_EQ(line_at_origin(v.doc, logical, origin), i);
  }
  // The header block's lines were read, so the heading after it is logical line 4.
  EXPECT_EQ(logical_line_of(v.doc, line_with(u"第一章")), 4);
  // Past the text, or before any line: no line.
  EXPECT_EQ(line_at_origin(v.doc, logical_line_count(v.doc), 0), -1);
  EXPECT_EQ(line_at_origin(v.doc, -1, 0), -1);
}

TEST_F(Place, TheFirstWordsShownSurviveEveryRelayout) {
  open();
  const int start = line_with(u"段落４２");
  ASSERT_GT(start, 0);
  v.viewport.top_line = start + 1;  // a column inside a paragraph
  const TextAnchor place = anchor_at(v.doc, v.viewport.top_line);
  ASSERT_GE(place.logical, 0);
  ASSERT_GT(place.offset, 0);

  struct Relayout {
    const char* what;
    void (*change)(ViewContext& view);
    bool same_text = true;  // markup off shows the brackets: the offsets move
  };
  const Relayout relayouts[] = {
      {"narrower columns", [](ViewContext& view) { view.settings.column_chars = 24; }},
      {"wider columns", [](ViewContext& view) { view.settings.column_chars = 64; }},
      {"a larger font", [](ViewContext& view) { view.settings.font_size = 30; }},
      {"another face, in rows", [](ViewContext& view) { view.settings.face_name = "ＭＳ 明朝"; }},
      {"columns again", [](ViewContext& view) { view.settings.face_name = "@ＭＳ 明朝"; }},
      {"fewer columns a page", [](ViewContext& view) { view.settings.page_lines = 7; }},
      {"page mode", [](ViewContext& view) { view.settings.page_mode = 1; }},
      {"the full notation", [](ViewContext& view) { view.settings.full_notation = 1; }},
      {"book composition", [](ViewContext& view) { view.settings.book_composition = 1; }},
      {"markup off", [](ViewContext& view) { view.settings.markup_enabled = 0; }, false},
      {"markup on", [](ViewContext& view) { view.settings.markup_enabled = 1; }},
      {"the first width again", [](ViewContext& view) { view.settings.column_chars = 40; }},
  };
  for (const Relayout& r : relayouts) {
    r.change(v);
    reopen_document(v, v.settings.font_size);
    expect_at(place, r.what, r.same_text);
  }
  // Relayouts one after the other never drift: the kept place is the first one.
  EXPECT_EQ(v.viewport.top_place.anchor.offset, place.offset);
  EXPECT_EQ(v.viewport.top_place.anchor.logical, place.logical);
}

TEST_F(Place, TheMarkStaysOnItsWordsAndScrollingNamesANewPlace) {
  open();
  const int mark = line_with(u"段落３０") + 2;
  v.viewport.top_line = mark;
  run_menu_command(v, CMD_SET_MARK);
  const TextAnchor marked = anchor_at(v.doc, mark);
  v.viewport.top_line = 5;  // scrolled away since
  const TextAnchor shown = anchor_at(v.doc, 5);
  v.settings.column_chars = 30;
  reopen_document(v, 0);
  expect_at(shown, "the top after the width change");
  int now = -1;
  for (int i = 0; i < v.doc.line_count; ++i)
    if (v.doc.lines[i].flags & DL_MARK) now = i;
  ASSERT_GE(now, 0);
  v.viewport.top_line = now;
  expect_at(marked, "the mark after the width change");
  run_menu_command(v, CMD_JUMP_MARK);
  EXPECT_EQ(v.viewport.top_line, now);
  // The history still keeps the mark as a page of the current layout.
  release_document(v);
  EXPECT_EQ(v.viewport.mark_page, now / v.settings.page_lines + 1);
}

TEST_F(Place, TheSettingsDialogSwitchesResumeAndWritesItOnlyOff) {
  open();
  auto switch_to = [&](int on) {
    fake::DialogStep step;
    step.edit = [on](platform::DialogForm& f) {
      platform::dialog_control(f, ID_SETTINGS_KEEP_PLACE)->checked = on;
    };
    fake::script_dialog_steps({step});
    run_menu_command(v, CMD_SETTINGS);
  };
  switch_to(0);
  EXPECT_EQ(v.settings.keep_place, 0);
  IniFile ini;
  ini_load(settings_path(), ini);
  EXPECT_EQ(ini_get(ini, "Place", "Resume", "?"), "0");
  EXPECT_EQ(fake::dialogs_shown().back().controls.back().label, KEEP_PLACE_LABEL);
  switch_to(1);
  ini_load(settings_path(), ini);
  EXPECT_EQ(ini_get(ini, "Place", "Resume", "?"), "1") << "once there, the key stays";
}

TEST_F(Place, SwitchedOffTheStandardBehaviourStays) {
  v.settings.keep_place = 0;
  open();
  v.viewport.top_line = 57;
  v.settings.column_chars = 30;
  reopen_document(v, 0);
  EXPECT_EQ(v.viewport.top_line, 57);  // a reload keeps the top line's number
}

// --- resume ---

class Resume : public Place {
 protected:
  // Opens the file as the viewer starts (history, open step), reads on to
  // `words`, and closes as the viewer ends (release, history).
  TextAnchor read_to_and_close(const std::u16string& words) {
    start({});
    v.viewport.top_line = line_with(words);
    EXPECT_GE(v.viewport.top_line, 0);
    const TextAnchor at = anchor_at(v.doc, v.viewport.top_line);
    close();
    return at;
  }
  void start(std::vector<const char*> args) {
    const std::string name = v.doc.file_name;
    release_document(v);
    v.doc.loaded = 0;
    v.viewport = Viewport{};
    v.viewport.window = &window;
    take_file(v, name, process_history(), settings_path());
    open(args);
  }
  void close() {
    release_document(v);
    write_history(process_history(), v, settings_path());
  }
};

TEST_F(Resume, ReopeningReturnsToTheFirstWordsShown) {
  const TextAnchor at = read_to_and_close(u"段落５５");
  start({});
  expect_at(at, "reopened");
  // J and R on the command line win.
  close();
  start({"-J3"});
  EXPECT_EQ(v.viewport.top_line, 2);
  close();  // and the place is then where J put it
  start({});
  EXPECT_EQ(v.viewport.top_line, 2);
}

TEST_F(Resume, AChangedFileIsMatchedByItsWordsOrStartsAtTheTop) {
  const TextAnchor at = read_to_and_close(u"段落５５");
  // Ten paragraphs more before it: the same words are further on.
  std::ofstream(v.doc.file_name, std::ios::binary) << book(90, -10);
  start({});
  ASSERT_GE(v.viewport.top_line, 0);
  EXPECT_NE(logical_line_of(v.doc, v.viewport.top_line), at.logical);
  const int origin = line_origin_offset(v.doc, v.viewport.top_line);
  bool found = false;
  for (int k = 0; k <= line_length(v.doc, v.doc.lines[v.viewport.top_line]) && !found; ++k)
    found = excerpt_matches(v.doc, v.viewport.top_line, k, at.excerpt);
  EXPECT_TRUE(found) << "the top line holds the words read last";
  (void)origin;
  close();
  // A file whose words are gone starts at the top.
  std::ofstream(v.doc.file_name, std::ios::binary) << "まったく別の本です。\n二行目。\n";
  start({});
  EXPECT_EQ(v.viewport.top_line, 0);
}

TEST_F(Resume, SwitchedOffAFileOpensAtTheTop) {
  read_to_and_close(u"段落５５");
  v.settings.keep_place = 0;
  start({});
  EXPECT_EQ(v.viewport.top_line, 0);
}

// --- where the reader is ---

TEST_F(Place, ProgressCountsPagesAndShare) {
  Progress none = reading_progress(v);
  EXPECT_EQ(none.pages, 0);
  EXPECT_EQ(progress_text(v), "");
  open();
  const int lines = v.doc.line_count, per = v.settings.page_lines;
  v.viewport.top_line = 0;
  Progress p = reading_progress(v);
  EXPECT_EQ(p.page, 1);
  EXPECT_EQ(p.pages, (lines + per - 1) / per);
  EXPECT_EQ(p.percent, 100 / lines);
  v.viewport.top_line = lines - 1;
  p = reading_progress(v);
  EXPECT_EQ(p.page, p.pages);
  EXPECT_EQ(p.percent, 100);
  EXPECT_EQ(grouped_number(1723), "1,723");
  EXPECT_EQ(grouped_number(1234567), "1,234,567");
  EXPECT_EQ(grouped_number(999), "999");
  EXPECT_EQ(grouped_number(-1000), "-1,000");
  // The strip is off until the user shows it; the scroll bar's tooltip is always there.
  EXPECT_EQ(window.status_shown, 0);
  run_menu_command(v, CMD_STATUS_STRIP);
  v.viewport.top_line = 2 * per + 3;
  update_scroll_bar(v);
  const std::string expected =
      "3 / " + grouped_number(p.pages) + " (" + std::to_string((2 * per + 4) * 100 / lines) + " %)";
  EXPECT_EQ(window.status, expected);
  EXPECT_EQ(window.status_shown, 1);
  EXPECT_EQ(window.tooltips[platform::SCROLL_BAR_HORZ], expected);
  // The strip hides from the menu, and the settings file keeps it off.
  run_menu_command(v, CMD_STATUS_STRIP);
  EXPECT_EQ(window.status_shown, 0);
  IniFile ini;
  ini_load(settings_path(), ini);
  EXPECT_EQ(ini_get(ini, "Place", "Status", "?"), "0");
  EXPECT_EQ(ini_get(ini, "Place", "Resume", "?"), "?") << "a default is not written";
  // A place in percent: the first line of the page holding it.
  EXPECT_EQ(line_at_percent(v, 0), 0);
  EXPECT_EQ(line_at_percent(v, 50), lines / 2 / per * per);
  EXPECT_EQ(line_at_percent(v, 100), std::min(lines / per * per, lines - 1));
}

TEST_F(Place, ThePageJumpDialogShowsThePagesAndTakesAPercentage) {
  open();
  const int per = v.settings.page_lines;
  fake::DialogStep percent;
  percent.edit = [](platform::DialogForm& f) {
    platform::dialog_control(f, ID_PAGE_PERCENT)->text = "50";
  };
  fake::DialogStep too_much = percent;
  too_much.edit = [](platform::DialogForm& f) {
    platform::dialog_control(f, ID_PAGE_PERCENT)->text = "101";
  };
  fake::script_dialog_steps({too_much, percent});
  run_menu_command(v, CMD_PAGE_JUMP);
  const platform::DialogForm& shown = fake::dialogs_shown().back();
  EXPECT_EQ(shown.controls[3].label, "/ " + grouped_number(reading_progress(v).pages));
  EXPECT_EQ(v.viewport.top_line, v.doc.line_count / 2 / per * per);
}

}  // namespace
}  // namespace yomite
