// The open step on the fake backend (full width S, half width S / 2; window
// parts: scroll bars 17, frame 4, edge 2, caption 19).
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/fake/fake_font.h"
#include "platform/fake/fake_trace.h"
#include "platform/fake/fake_window.h"
#include "settings/settings.h"
#include "tests/temp_dir.h"
#include "trace/trace.h"
#include "viewer/open.h"
#include "viewer/program.h"

namespace yomite {
namespace {

std::string write_file(const std::string& name, const std::string& bytes) {
  std::string path = test::process_temp_dir().file(name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// Logical lines of 1, 2, 1 and 1 display lines at 40 half widths per column.
const std::string FOUR_LINES = repeat("あ", 25) + "\n" + "い\n" + "う\n" + "え\n";

class OpenDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::reset_fonts();
    fake::set_trace_receiver(true);
    trace_init();
    fake::trace_messages().clear();
    platform::fake_system_measures() = {17, 17, 4, 4, 2, 2, 19, 1000, 0, 0};
    process_settings().command_line_colors = 0;
    v.viewport.window = &window;
    v.settings.ruby_percent = 60;  // as the settings give it
    v.doc.file_name = write_file("open.txt", FOUR_LINES);
  }
  void TearDown() override {
    release_document(v);
    trace_shutdown();
    process_settings().command_line_colors = 0;
  }

  void open(std::vector<const char*> args, int font_size = 0) {
    args.insert(args.begin(), "yomite");
    ViewerArgs a = parse_viewer_args(static_cast<int>(args.size()), args.data(), nullptr);
    open_document(v, font_size, a.x, a.y, &a.options);
  }

  ViewContext v;
  platform::Window window{300, 300};
};

TEST_F(OpenDocument, DefaultsFilledAfterTheOptions) {
  open({});
  EXPECT_EQ(v.doc.loaded, 1);
  EXPECT_EQ(v.settings.column_chars, 40);
  EXPECT_EQ(v.settings.page_lines, 20);
  EXPECT_EQ(v.settings.face_name, "@ＭＳ ゴシック");
  EXPECT_EQ(v.settings.font_size, 18);
  EXPECT_EQ(v.doc.line_count, 5);
  EXPECT_EQ(window.repaints, 1);
  EXPECT_EQ(window.busy, 0);
  EXPECT_EQ(fake::trace_text().find("fontsize="), std::string::npos);
}

TEST_F(OpenDocument, TracesInStepOrder) {
  open({"-G5"});
  std::string t = fake::trace_text();
  std::size_t at = 0;
  for (const char* step : {"arg1 -G5 ", "---3 ", "fontsize=10 5 ", "---4 ", "size="}) {
    std::size_t found = t.find(step, at);
    ASSERT_NE(found, std::string::npos) << step << " in " << t;
    at = found;
  }
}

TEST_F(OpenDocument, StandardValuesBeforeFallbacks) {
  v.settings.std_column_chars = 30;
  v.settings.std_page_lines = 8;
  v.settings.std_face_name = "ＭＳ 明朝";
  v.settings.std_font_size = 5;  // the settings' size is not clamped
  open({"-W20"});
  EXPECT_EQ(v.settings.column_chars, 20);
  EXPECT_EQ(v.settings.page_lines, 8);
  EXPECT_EQ(v.settings.face_name, "ＭＳ 明朝");
  EXPECT_EQ(v.settings.font_size, 5);
  EXPECT_EQ(v.typeset.vertical, 0);
}

TEST_F(OpenDocument, RequestedSizeClamped) {
  struct Case {
    std::vector<const char*> args;
    int argument;
    int size;
    const char* trace;
  };
  const Case cases[] = {
      {{"-G5"}, 0, 10, "fontsize=10 5 "},
      {{"-G99"}, 0, 50, "fontsize=50 99 "},
      {{}, 30, 30, "fontsize=30 30 "},
      {{"-G12"}, 30, 12, "fontsize=12 12 "},  // the option replaces the request
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.trace);
    release_document(v);
    v.doc.loaded = 0;
    v.settings.font_size = 0;
    fake::trace_messages().clear();
    open(c.args, c.argument);
    EXPECT_EQ(v.settings.font_size, c.size);
    EXPECT_NE(fake::trace_text().find(c.trace), std::string::npos);
  }
}

// Vertical writing at 18 px: pitch 10 + 18 + 2 = 30, column 9 * (40 + 8) = 432.
// Client height 432 + 17 = 449; width 30 * floor(673 / 30) = 660.
TEST_F(OpenDocument, VerticalGeometry) {
  open({"-x10", "-Y20"});
  EXPECT_EQ(v.typeset.column_pitch, 30);
  EXPECT_EQ(window.width, 660 + 2 * 4 + 2 * 2);
  EXPECT_EQ(window.height, 449 + 19 + 2 * 4 + 2 * 2);
  EXPECT_EQ(window.moved, 0);  // only Y was given
  EXPECT_NE(fake::trace_text().find("size=672 480  40 xy=-1 20 "), std::string::npos);
}

TEST_F(OpenDocument, VerticalPageModeAndMove) {
  v.settings.page_mode = 1;
  open({"-X10", "-Y20", "-H12"});
  EXPECT_EQ(window.width, 30 * 12 + 12);
  EXPECT_EQ(window.moved, 1);
  EXPECT_EQ(window.x, 10);
  EXPECT_EQ(window.y, 20);
}

// Horizontal writing: width 432 + 17 = 449 with no frame added; client
// height 30 * floor(449 / 30) = 420, or the screen's height when less.
TEST_F(OpenDocument, HorizontalGeometry) {
  open({"-FＭＳ ゴシック"});
  EXPECT_EQ(window.width, 449);
  EXPECT_EQ(window.height, 420 + 19 + 2 * 4 + 2 * 2);
  release_document(v);
  v.doc.loaded = 0;
  platform::fake_system_measures().full_screen_client_height = 300;
  open({"-FＭＳ ゴシック"});
  EXPECT_EQ(window.height, 300 + 31);
}

TEST(WindowSizeFor, HugeColumnsAndPagesStayWithinAWindow) {
  const platform::SystemMeasures m = {17, 17, 4, 4, 2, 2, 19, 1000, 0, 0};
  ViewContext v;
  v.typeset.column_pitch = 30;
  v.typeset.half_width = 9;
  v.typeset.vertical = 1;
  v.settings.page_mode = 1;
  v.settings.column_chars = 2147483647;
  v.settings.page_lines = 2147483647;
  WindowSize size = window_size_for(v, m);
  EXPECT_EQ(size.width, WINDOW_SIZE_MAX);
  EXPECT_EQ(size.height, WINDOW_SIZE_MAX);
  v.settings.column_chars = -100;  // a column shorter than nothing still gets one pitch
  v.settings.page_lines = -3;
  size = window_size_for(v, m);
  EXPECT_EQ(size.width, 30 + 12);
  EXPECT_EQ(size.height, 30 + 31);
}

// The window never exceeds the screen, however long the columns or however
// many the page holds; a screen of unknown size leaves the window alone.
TEST_F(OpenDocument, WindowNeverExceedsTheScreen) {
  platform::fake_system_measures().screen_width = 1280;
  platform::fake_system_measures().screen_height = 1000;
  open({"-W1000000"});
  EXPECT_EQ(window.height, 1000);
  EXPECT_LE(window.width, 1280);
  release_document(v);
  v.doc.loaded = 0;
  v.settings.page_mode = 1;
  open({"-H2147483647", "-W40"});
  EXPECT_EQ(window.width, 1280);
  EXPECT_EQ(window.height, 449 + 19 + 2 * 4 + 2 * 2);
  const platform::SystemMeasures& m = platform::fake_system_measures();
  EXPECT_EQ(exceeds_screen({1280, 1000}, m), 0);
  EXPECT_EQ(exceeds_screen({1281, 1000}, m), 1);
  EXPECT_EQ(exceeds_screen({1280, 1001}, m), 1);
  platform::SystemMeasures unknown = m;
  unknown.screen_width = unknown.screen_height = 0;
  EXPECT_EQ(exceeds_screen({32767, 32767}, unknown), 0);
}

TEST_F(OpenDocument, JumpAndRow) {
  struct Case {
    std::vector<const char*> args;
    int top_line;
  };
  const Case cases[] = {
      {{"-J2"}, 1}, {{"-J99"}, 4},       {{"-J0"}, 3},   // J 0 leaves the position
      {{"-R3"}, 3}, {{"-R2"}, 2},        {{"-R99"}, 4},  // first line of logical line n
      {{"-R1"}, 3}, {{"-J2", "-R3"}, 1},                 // J wins over R
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.front());
    release_document(v);
    v.doc.loaded = 0;
    v.viewport.top_line = 3;  // a reload keeps the position
    open(c.args);
    EXPECT_EQ(v.viewport.top_line, c.top_line);
  }
}

TEST_F(OpenDocument, JumpInAnEmptyDocument) {
  v.doc.file_name = write_file("empty.txt", "");
  open({"-J5"});
  EXPECT_EQ(v.doc.line_count, 0);
  EXPECT_EQ(v.viewport.top_line, 0);
}

TEST_F(OpenDocument, MarkRestoredOnItsPagesFirstColumn) {
  v.viewport.mark_page = 2;
  open({"-H2"});
  for (int i = 0; i < v.doc.line_count; ++i)
    EXPECT_EQ((v.doc.lines[i].flags & DL_MARK) != 0, i == 2);
}

TEST_F(OpenDocument, MarkBeyondTheDocumentOrWithoutPages) {
  for (const char* pages : {"-H3", "-H-5"}) {
    SCOPED_TRACE(pages);
    release_document(v);
    v.doc.loaded = 0;
    v.viewport.mark_page = 3;  // page 3 starts at line 6 (of 5); negative pages name no line
    open({pages});
    for (int i = 0; i < v.doc.line_count; ++i) EXPECT_EQ(v.doc.lines[i].flags & DL_MARK, 0);
  }
}

TEST_F(OpenDocument, NothingWithoutFileOrWindowOrWhenLoaded) {
  v.doc.file_name.clear();
  open({"-X1", "-Y1"});
  EXPECT_EQ(v.doc.loaded, 0);
  EXPECT_EQ(window.bounds_set, 0);
  v.doc.file_name = "x";
  v.viewport.window = nullptr;
  open({});
  EXPECT_EQ(v.doc.loaded, 0);
  v.viewport.window = &window;
  v.doc.loaded = 1;
  open({});
  EXPECT_EQ(v.doc.line_count, 0);
}

TEST_F(OpenDocument, ColourOptionKeepsColoursOutOfTheSettings) {
  open({"-B#FF0000"});
  EXPECT_EQ(v.settings.back_color, 0x0000FFu);
  IniFile ini;
  store_settings(v, ini);
  EXPECT_EQ(ini_get(ini, "Color", "Back", "none"), "none");
  EXPECT_EQ(ini_get(ini, "Font", "Size", "none"), "0");
}

// --- a long text laid out in idle time ---

std::vector<std::u16string> texts_of(const ViewContext& view) {
  std::vector<std::u16string> out;
  for (int i = 0; i < view.doc.line_count; ++i)
    out.emplace_back(line_text(view.doc, view.doc.lines[i]));
  return out;
}

class LongText : public OpenDocument {
 protected:
  void SetUp() override {
    OpenDocument::SetUp();
    // 3,000 logical lines: a column each (plus ruby, so the idle slices
    // carry readings across), wider than any first picture.
    std::string text;
    for (int i = 0; i < 3000; ++i)
      text +=
          "\xef\xbd\x9c\xe6\xbc\xa2\xe5\xad\x97\xe3\x80\x8a\xe3\x81\x8b\xe3\x82\x93"
          "\xe3\x81\x98\xe3\x80\x8b" +
          std::to_string(i) + "\n";  // ｜漢字《かんじ》N
    v.doc.file_name = write_file("long.txt", text);
    fake::set_trace_receiver(false);
  }

  // The lines a load in one go gives.
  std::vector<std::u16string> all_at_once(std::vector<const char*> args = {}) {
    window.idle_calls = 0;
    open(args);
    std::vector<std::u16string> texts = texts_of(v);
    release_document(v);
    v.doc.loaded = 0;
    v.viewport.top_line = 0;
    window.idle_calls = 1;
    return texts;
  }

  void idle_until_done() {
    int calls = 0;
    while (on_idle(v)) ASSERT_LT(++calls, 10000);
  }
};

TEST_F(LongText, FirstPictureFirstThenTheRestInIdleTime) {
  const std::vector<std::u16string> whole = all_at_once();
  ASSERT_EQ(whole.size(), 3000u);
  open({});
  EXPECT_EQ(v.doc.loaded, 1);
  EXPECT_LT(v.doc.line_count, 400);  // what a screen holds past the first line
  EXPECT_GE(v.doc.line_count, 4096 / v.typeset.column_pitch);
  EXPECT_NE(v.doc.load_job, nullptr);
  EXPECT_EQ(window.idle_requests, 1);
  idle_until_done();
  EXPECT_EQ(v.doc.load_job, nullptr);
  EXPECT_EQ(texts_of(v), whole);  // the slices laid out exactly what one go does
  EXPECT_EQ(window.bars[platform::SCROLL_BAR_HORZ].page, 20 * 1000 / (3000 + 20 - 1));
  EXPECT_EQ(on_idle(v), 0);  // nothing left to do
}

TEST_F(LongText, JumpAndMarkAreLaidOutBeforeTheFirstPicture) {
  all_at_once();
  open({"-J2500"});
  EXPECT_EQ(v.viewport.top_line, 2499);
  EXPECT_GT(v.doc.line_count, 2500);
  idle_until_done();
  release_document(v);
  v.doc.loaded = 0;
  v.viewport.mark_page = 140;  // line 2780
  open({});
  EXPECT_TRUE(v.doc.lines[2780].flags & DL_MARK);
  idle_until_done();
  release_document(v);
  v.doc.loaded = 0;
  open({"-R2900"});  // paragraphs are counted through the whole text
  EXPECT_EQ(v.doc.load_job, nullptr);
  EXPECT_EQ(v.viewport.top_line, 2899);
}

TEST_F(LongText, AReloadWhileLayingOutStartsAfresh) {
  window.idle_calls = 1;
  open({});
  ASSERT_NE(v.doc.load_job, nullptr);
  on_idle(v);
  release_document(v);  // a font change or F5 in the middle of it
  EXPECT_EQ(v.doc.load_job, nullptr);
  EXPECT_EQ(on_idle(v), 0);
  v.doc.loaded = 0;
  open({});
  idle_until_done();
  EXPECT_EQ(v.doc.line_count, 3000);
}

}  // namespace
}  // namespace yomite
