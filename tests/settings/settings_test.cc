#include "settings/settings.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/fake/fake_desktop.h"
#include "tests/temp_dir.h"

namespace yomite {
namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

struct SettingsTest : ::testing::Test {
  test::TempDir dir;
  std::string path = dir.file("YOMITE.INI");
  ViewContext view;
  void SetUp() override {
    fake::set_default_editor("gedit");
    process_settings() = {};
  }
};

TEST_F(SettingsTest, DefaultsWithoutFile) {
  read_settings(view, path);
  EXPECT_EQ(view.text_color, 0xFFFFFFu);
  EXPECT_EQ(view.back_color, 0x7F0000u);  // dark blue: the low byte is red
  EXPECT_EQ(view.link_color, 0x00FF00u);
  EXPECT_EQ(view.std_face_name, "@ＭＳ ゴシック");
  EXPECT_EQ(view.std_font_size, 18);
  EXPECT_EQ(view.std_column_chars, 40);
  EXPECT_EQ(view.std_page_lines, 20);
  EXPECT_EQ(view.font_smoothing, 0);
  EXPECT_EQ(view.justify, 1);
  EXPECT_EQ(view.ruby_percent, 60);
  EXPECT_EQ(view.smooth_scroll, 1);
  EXPECT_EQ(view.smooth_dots, 4);
  EXPECT_EQ(view.page_mode, 0);
  EXPECT_EQ(view.full_notation, 0);
  // The Windows editor is no use here: the desktop's editor stands in for it.
  EXPECT_EQ(process_settings().editor_command, "gedit");
}

TEST_F(SettingsTest, SavedDefaultsInOrder) {
  read_settings(view, path);
  int notices = fake::settings_notices();
  ASSERT_EQ(write_settings(view, path), 1);
  EXPECT_EQ(fake::settings_notices(), notices + 1);
  EXPECT_EQ(slurp(path),
            "[Color]\nFore=FFFFFF\nBack=7F0000\nFootnote=00FF00\n"
            "[Font]\nFont=@ＭＳ ゴシック\nSize=18\nWidth=40\nPage=20\nSmooth=0\nJustify=1\n"
            "RubyPercent=60\nFullNotation=0\n"
            "[Scroll]\nSmooth=1\nSmoothDot=4\nPageMode=0\n"
            "[Tool]\nEditor=*gedit\n");
}

TEST_F(SettingsTest, EditorNotation) {
  struct Case {
    const char* stored;
    const char* command;
  } cases[] = {
      {"*\"/opt/My Editor/edit\" -n", "\"/opt/My Editor/edit\" -n"},
      {"*\"/opt/My Editor/edit\"", "\"/opt/My Editor/edit\""},  // the '*' keeps the quotes
      {"\"/opt/My Editor/edit\"", "/opt/My Editor/edit"},       // without it they go
      {"*notepad.exe", "gedit"},
      {"*C:\\WINDOWS\\NOTEPAD.EXE", "gedit"},
      {"kate", "kate"},
      {"**x", "*x"},
  };
  for (const Case& c : cases) {
    write_file(path, std::string("[Tool]\nEditor=") + c.stored + "\n");
    read_settings(view, path);
    EXPECT_EQ(process_settings().editor_command, c.command) << c.stored;
  }
  fake::set_default_editor("");  // no editor anywhere: nothing to start
  write_file(path, "");
  read_settings(view, path);
  EXPECT_EQ(process_settings().editor_command, "");
}

TEST_F(SettingsTest, CommandLineColoursAreNeverWritten) {
  write_file(path, "[Color]\nFore=111111\n");
  read_settings(view, path);
  process_settings().command_line_colors = 1;
  view.text_color = 0x123456;  // changed through the menu afterwards
  ASSERT_EQ(write_settings(view, path), 1);
  std::string text = slurp(path);
  EXPECT_NE(text.find("Fore=111111\n"), std::string::npos);
  EXPECT_EQ(text.find("Back="), std::string::npos);
  EXPECT_EQ(text.find("Footnote="), std::string::npos);
  EXPECT_NE(text.find("PageMode=0\n"), std::string::npos);
}

TEST_F(SettingsTest, StoredValuesAsUsed) {
  write_file(path, "[Font]\nRubyPercent=100\nSize=0\nWidth=abc\nPage=\nFont=\n");
  read_settings(view, path);
  EXPECT_EQ(view.ruby_percent, 100);  // kept as stored; fonts clamp it
  EXPECT_EQ(clamp_ruby_percent(view.ruby_percent), 80);
  EXPECT_EQ(clamp_ruby_percent(39), 40);
  EXPECT_EQ(clamp_ruby_percent(41), 41);
  StandardLayout std = standard_layout(view);
  EXPECT_EQ(std.font_size, 18);
  EXPECT_EQ(std.column_chars, 40);
  EXPECT_EQ(std.page_lines, 20);
  EXPECT_EQ(std.face_name, "@ＭＳ ゴシック");
  write_file(path, "[Font]\nSize=big\n");
  read_settings(view, path);
  EXPECT_EQ(standard_layout(view).font_size, 18);
}

// An extension's key appears only once it is used, so a file of a viewer that
// never switched it on stays byte for byte what the standard keys make it.
TEST_F(SettingsTest, BookCompositionKeyOnlyOnceUsed) {
  read_settings(view, path);
  EXPECT_EQ(view.book_composition, 0);
  ASSERT_EQ(write_settings(view, path), 1);
  EXPECT_EQ(slurp(path).find("BookComposition"), std::string::npos);
  view.book_composition = 1;
  ASSERT_EQ(write_settings(view, path), 1);
  const std::string text = slurp(path);
  EXPECT_NE(text.find("\nBookComposition=1\n"), std::string::npos);
  EXPECT_LT(text.find("BookComposition"), text.find("[Scroll]")) << "in the [Font] section";
  ViewContext again;
  read_settings(again, path);
  EXPECT_EQ(again.book_composition, 1);
  again.book_composition = 0;  // switched off again: the key says so
  ASSERT_EQ(write_settings(again, path), 1);
  EXPECT_NE(slurp(path).find("BookComposition=0\n"), std::string::npos);
  read_settings(view, path);
  EXPECT_EQ(view.book_composition, 0);
}

TEST_F(SettingsTest, RoundTrip) {
  read_settings(view, path);
  view.text_color = 0x010203;
  view.back_color = 0xFFFFFFFF;
  view.std_face_name = "IPAexMincho";
  view.std_font_size = 32;
  view.ruby_percent = 45;
  view.page_mode = 1;
  process_settings().editor_command = "\"/opt/My Editor/edit\"";
  ASSERT_EQ(write_settings(view, path), 1);
  ViewContext again;
  read_settings(again, path);
  EXPECT_EQ(again.text_color, 0x010203u);
  EXPECT_EQ(again.back_color, 0xFFFFFFFFu);
  EXPECT_EQ(again.std_face_name, "IPAexMincho");
  EXPECT_EQ(again.std_font_size, 32);
  EXPECT_EQ(again.ruby_percent, 45);
  EXPECT_EQ(again.page_mode, 1);
  EXPECT_EQ(process_settings().editor_command, "\"/opt/My Editor/edit\"");
}

TEST_F(SettingsTest, LongFaceNameCutAtACharacter) {
  std::string face;
  for (int i = 0; i < 130; ++i) face += "字";
  write_file(path, "[Font]\nFont=" + face + "\n");
  read_settings(view, path);
  EXPECT_EQ(view.std_face_name.size(), 127u * 3);
}

TEST(Notation, HexColour) {
  struct Case {
    const char* text;
    Color value;
  } cases[] = {{"7F0000", 0x7F0000},
               {"  0x00ff00", 0x00FF00},
               {"-1", 0xFFFFFFFF},
               {"+FF", 0xFF},
               {"12G4", 0x12},
               {"", 0},
               {"zz", 0},
               {"100000000", 0}};
  for (const Case& c : cases) EXPECT_EQ(parse_hex_color(c.text), c.value) << c.text;
  EXPECT_EQ(format_hex_color(0x7F0000), "7F0000");
  EXPECT_EQ(format_hex_color(0xFF), "0000FF");
  EXPECT_EQ(format_hex_color(0x1234567), "1234567");
}

TEST(Notation, Decimal) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {{"18", 18},
               {"  -5x", -5},
               {"+7", 7},
               {"", 0},
               {"abc", 0},
               {"- 3", 0},
               {"99999999999", 2147483647},
               {"-99999999999", -2147483647 - 1}};
  for (const Case& c : cases) EXPECT_EQ(parse_decimal(c.text), c.value) << c.text;
}

TEST(Notation, CommandLineColour) {
  struct Case {
    const char* text;
    Color value;
  } cases[] = {
      {"#FF8000", 0x0080FF},
      {"FF8000", 0x0080FF},
      {"FF", 0x0000FF},
      {"", 0},
      {"#", 0},
      {"0000FF", 0xFF0000},
      {"F", 0xF0},
      {"FG00Z1", 0x00000F},
      {"123456789ABC", 0x563412},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_command_line_color(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace yomite

namespace yomite {
namespace {

TEST(SettingsLocation, BesideTheProgramWhenWritable) {
  // The test program's own directory is writable in a build tree.
  EXPECT_EQ(platform::settings_file_path(), YOMITE_BINARY_DIR "/tests/settings/YOMITE.INI");
}

}  // namespace
}  // namespace yomite
