#include "settings/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/fake/fake_desktop.h"
#include "settings/ini.h"
#include "tests/environment.h"
#include "tests/temp_dir.h"
#include "view/limits.h"

namespace yomite {
namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The settings file as text (UTF-8, LF), whatever the platform wrote it in.
std::string settings_text(const std::string& path) {
  IniFile ini;
  ini_parse(slurp(path), ini);
  return ini_serialize(ini);
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
  EXPECT_EQ(view.settings.text_color, 0xFFFFFFu);
  EXPECT_EQ(view.settings.back_color, 0x7F0000u);  // dark blue: the low byte is red
  EXPECT_EQ(view.settings.link_color, 0x00FF00u);
  EXPECT_EQ(view.settings.std_face_name, "@ＭＳ ゴシック");
  EXPECT_EQ(view.settings.std_font_size, 18);
  EXPECT_EQ(view.settings.std_column_chars, 40);
  EXPECT_EQ(view.settings.std_page_lines, 20);
  EXPECT_EQ(view.settings.font_smoothing, 0);
  EXPECT_EQ(view.settings.justify, 1);
  EXPECT_EQ(view.settings.ruby_percent, 60);
  EXPECT_EQ(view.settings.smooth_scroll, 1);
  EXPECT_EQ(view.settings.smooth_dots, 4);
  EXPECT_EQ(view.settings.page_mode, 0);
  EXPECT_EQ(view.settings.full_notation, 0);
  // The Windows editor is no use here: the desktop's editor stands in for it.
  EXPECT_EQ(process_settings().editor_command, "gedit");
}

TEST_F(SettingsTest, SavedDefaultsInOrder) {
  read_settings(view, path);
  int notices = fake::settings_notices();
  ASSERT_EQ(write_settings(view, path), 1);
  EXPECT_EQ(fake::settings_notices(), notices + 1);
  EXPECT_EQ(settings_text(path),
            "[Color]\nFore=FFFFFF\nBack=7F0000\nFootnote=00FF00\n"
            "[Font]\nFont=@ＭＳ ゴシック\nSize=18\nWidth=40\nPage=20\nSmooth=0\nJustify=1\n"
            "RubyPercent=60\n"
            "[Scroll]\nSmooth=1\nSmoothDot=4\nPageMode=0\n"
            "[Tool]\nEditor=*gedit\n");
}

TEST_F(SettingsTest, ExtensionSwitchesAreWrittenOnceOn) {
  read_settings(view, path);
  view.settings.full_notation = 1;
  ASSERT_EQ(write_settings(view, path), 1);
  EXPECT_NE(settings_text(path).find("RubyPercent=60\nFullNotation=1\n"), std::string::npos);
  view.settings.full_notation = 0;  // once in the file, the key follows the switch
  ASSERT_EQ(write_settings(view, path), 1);
  EXPECT_NE(settings_text(path).find("FullNotation=0\n"), std::string::npos);
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
  view.settings.text_color = 0x123456;  // changed through the menu afterwards
  ASSERT_EQ(write_settings(view, path), 1);
  std::string text = settings_text(path);
  EXPECT_NE(text.find("Fore=111111\n"), std::string::npos);
  EXPECT_EQ(text.find("Back="), std::string::npos);
  EXPECT_EQ(text.find("Footnote="), std::string::npos);
  EXPECT_NE(text.find("PageMode=0\n"), std::string::npos);
}

TEST_F(SettingsTest, StoredValuesAsUsed) {
  write_file(path, "[Font]\nRubyPercent=100\nSize=0\nWidth=abc\nPage=\nFont=\n");
  read_settings(view, path);
  EXPECT_EQ(view.settings.ruby_percent, 100);  // kept as stored; fonts clamp it
  EXPECT_EQ(clamp_ruby_percent(view.settings.ruby_percent), 80);
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
  EXPECT_EQ(view.settings.book_composition, 0);
  ASSERT_EQ(write_settings(view, path), 1);
  EXPECT_EQ(settings_text(path).find("BookComposition"), std::string::npos);
  view.settings.book_composition = 1;
  ASSERT_EQ(write_settings(view, path), 1);
  const std::string text = settings_text(path);
  EXPECT_NE(text.find("\nBookComposition=1\n"), std::string::npos);
  EXPECT_LT(text.find("BookComposition"), text.find("[Scroll]")) << "in the [Font] section";
  ViewContext again;
  read_settings(again, path);
  EXPECT_EQ(again.settings.book_composition, 1);
  again.settings.book_composition = 0;  // switched off again: the key says so
  ASSERT_EQ(write_settings(again, path), 1);
  EXPECT_NE(settings_text(path).find("BookComposition=0\n"), std::string::npos);
  read_settings(view, path);
  EXPECT_EQ(view.settings.book_composition, 0);
}

TEST_F(SettingsTest, RoundTrip) {
  read_settings(view, path);
  view.settings.text_color = 0x010203;
  view.settings.back_color = 0xFFFFFFFF;
  view.settings.std_face_name = "IPAexMincho";
  view.settings.std_font_size = 32;
  view.settings.ruby_percent = 45;
  view.settings.page_mode = 1;
  process_settings().editor_command = "\"/opt/My Editor/edit\"";
  ASSERT_EQ(write_settings(view, path), 1);
  ViewContext again;
  read_settings(again, path);
  EXPECT_EQ(again.settings.text_color, 0x010203u);
  EXPECT_EQ(again.settings.back_color, 0xFFFFFFFFu);
  EXPECT_EQ(again.settings.std_face_name, "IPAexMincho");
  EXPECT_EQ(again.settings.std_font_size, 32);
  EXPECT_EQ(again.settings.ruby_percent, 45);
  EXPECT_EQ(again.settings.page_mode, 1);
  EXPECT_EQ(process_settings().editor_command, "\"/opt/My Editor/edit\"");
}

// Two viewers of one settings file: each writes what it changed, so neither
// takes back what the other chose since it read the file.
TEST_F(SettingsTest, AWriteLeavesAnotherViewersChoiceAlone) {
  ViewContext other;
  read_settings(view, path);
  read_settings(other, path);
  view.settings.ruby_percent = 45;
  ASSERT_EQ(write_settings(view, path), 1);
  other.settings.smooth_dots = 7;
  ASSERT_EQ(write_settings(other, path), 1);
  const std::string text = settings_text(path);
  EXPECT_NE(text.find("RubyPercent=45\n"), std::string::npos) << text;
  EXPECT_NE(text.find("SmoothDot=7\n"), std::string::npos) << text;
  read_settings(view, path);  // the notice of the other's write
  EXPECT_EQ(view.settings.smooth_dots, 7);
  EXPECT_EQ(view.settings.ruby_percent, 45);
}

// A reading after another viewer's write keeps what was chosen here and not
// written yet (the toggles write nothing until the viewer closes).
TEST_F(SettingsTest, AReadingKeepsWhatWasChosenHereAndNotWritten) {
  write_file(path, "[Scroll]\nSmooth=1\n[Tool]\nEditor=*vi\n");
  read_settings(view, path);
  view.settings.smooth_scroll = 0;
  process_settings().editor_command = "emacs";
  write_file(path, "[Scroll]\nSmooth=1\nPageMode=1\n[Tool]\nEditor=*vi\n");
  read_settings(view, path);
  EXPECT_EQ(view.settings.smooth_scroll, 0);
  EXPECT_EQ(process_settings().editor_command, "emacs");
  EXPECT_EQ(view.settings.page_mode, 1);  // what the other viewer changed comes in
  write_file(path, "[Scroll]\nSmooth=1\n[Tool]\nEditor=*nano\n");
  ASSERT_EQ(write_settings(view, path), 1);  // closing writes both
  read_settings(view, path);
  ViewContext again;
  read_settings(again, path);
  EXPECT_EQ(again.settings.smooth_scroll, 0);
  EXPECT_EQ(process_settings().editor_command, "emacs");
}

TEST_F(SettingsTest, LongFaceNameCutAtACharacter) {
  std::string face;
  for (int i = 0; i < 130; ++i) face += "字";
  write_file(path, "[Font]\nFont=" + face + "\n");
  read_settings(view, path);
  EXPECT_EQ(view.settings.std_face_name.size(), 127u * 3);
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

// Where the settings of a program in a folder of its own live: on Windows
// beside it when it can write there, unless the installer put it there; on
// Linux in the configuration directory unless a portable copy's file is
// already beside it.
TEST(SettingsLocation, FollowsTheSystemsRules) {
  test::TempDir program, config;
#if defined(_WIN32)
  const char* old = getenv("APPDATA");
  const std::string saved = old ? old : "";
  test::set_environment("APPDATA", config.path);
  EXPECT_EQ(platform::settings_file_path_for(program.path), program.path + "\\YOMITE.INI");
  write_file(program.file(platform::INSTALLED_MARKER), "");
  EXPECT_EQ(platform::settings_file_path_for(program.path), config.path + "\\Yomite\\YOMITE.INI");
  EXPECT_EQ(platform::settings_file_path_for(program.path + "/missing"),
            config.path + "\\Yomite\\YOMITE.INI");
  test::set_environment("APPDATA", saved);
#else
  const char* old = getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  test::set_environment("XDG_CONFIG_HOME", config.path);
  // A writable folder is not enough: ~/.local/bin is one.
  EXPECT_EQ(platform::settings_file_path_for(program.path), config.path + "/yomite/YOMITE.INI");
  EXPECT_EQ(platform::settings_file_path(), config.path + "/yomite/YOMITE.INI");
  write_file(program.file("YOMITE.INI"), "");
  EXPECT_EQ(platform::settings_file_path_for(program.path), program.path + "/YOMITE.INI");
  // A link beside the program counts, whatever it points at.
  std::filesystem::remove(program.file("YOMITE.INI"));
  std::filesystem::create_symlink(config.file("elsewhere.ini"), program.file("YOMITE.INI"));
  EXPECT_EQ(platform::settings_file_path_for(program.path), program.path + "/YOMITE.INI");
  const char* home = getenv("HOME");
  const std::string saved_home = home ? home : "";
  test::unset_environment("XDG_CONFIG_HOME");
  test::set_environment("HOME", config.path);
  EXPECT_EQ(platform::settings_file_path_for(""), config.path + "/.config/yomite/YOMITE.INI");
  test::set_environment("HOME", saved_home);
  if (old) test::set_environment("XDG_CONFIG_HOME", saved);
#endif
}

}  // namespace
}  // namespace yomite

// --- hostile and unlucky settings files ----------------------------------------

namespace yomite {
namespace {

// Sizes from the settings file are kept where they enter, so that no page
// count, column length or font geometry made from them overflows 32 bits.
TEST_F(SettingsTest, HugeSizesAreKeptToTheLimits) {
  write_file(path, "[Font]\nSize=-2147483648\nWidth=2147483647\nPage=99999999999999\n");
  read_settings(view, path);
  EXPECT_EQ(view.settings.std_font_size, -FONT_SIZE_MAX);
  EXPECT_EQ(view.settings.std_column_chars, COLUMN_CHARS_MAX);
  EXPECT_EQ(view.settings.std_page_lines, PAGE_LINES_MAX);
  // At the limits and within them values stay as they are (a Size of 5 is 5).
  write_file(path, "[Font]\nSize=512\nWidth=8192\nPage=1024\n");
  read_settings(view, path);
  EXPECT_EQ(view.settings.std_font_size, 512);
  EXPECT_EQ(view.settings.std_column_chars, 8192);
  EXPECT_EQ(view.settings.std_page_lines, 1024);
  write_file(path, "[Font]\nSize=513\nWidth=8193\nPage=1025\n");
  read_settings(view, path);
  EXPECT_EQ(view.settings.std_font_size, 512);
  EXPECT_EQ(view.settings.std_column_chars, 8192);
  EXPECT_EQ(view.settings.std_page_lines, 1024);
}

// A file larger than SETTINGS_FILE_MAX_BYTES, or one that is no regular
// file, is refused whole with a sentence for the user: every key takes its
// default, and nothing waits or reads forever.
TEST_F(SettingsTest, RefusedFilesKeepTheDefaults) {
  const std::string big_value(SETTINGS_FILE_MAX_BYTES, '0');
  write_file(path, "[Font]\nSize=30\n;" + big_value);
  std::string why;
  EXPECT_EQ(read_settings(view, path, &why), 0);
  EXPECT_EQ(view.settings.std_font_size, 18);
  EXPECT_NE(why.find("too large (more than 1 MiB)"), std::string::npos) << why;
  EXPECT_NE(why.find("defaults"), std::string::npos) << why;

  // Exactly at the limit the file is read.
  std::string head = "[Font]\nSize=30\n;";
  write_file(path, head + std::string(SETTINGS_FILE_MAX_BYTES - head.size(), '0'));
  why.clear();
  EXPECT_EQ(read_settings(view, path, &why), 1);
  EXPECT_EQ(view.settings.std_font_size, 30);
  EXPECT_TRUE(why.empty());

#if defined(_WIN32)
  EXPECT_EQ(read_settings(view, "NUL", &why), 0);  // a device reads on for ever
  EXPECT_EQ(view.settings.std_font_size, 18);
  EXPECT_NE(why.find("not a regular file"), std::string::npos) << why;
#else
  std::filesystem::remove(path);
  std::filesystem::create_symlink("/dev/zero", path);
  EXPECT_EQ(read_settings(view, path, &why), 0);
  EXPECT_EQ(view.settings.std_font_size, 18);
  EXPECT_NE(why.find("not a regular file"), std::string::npos) << why;

  const std::string fifo = dir.file("fifo.ini");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(read_settings(view, fifo, &why), 0);
#endif

  // A missing file is no refusal.
  why.clear();
  EXPECT_EQ(read_settings(view, dir.file("missing.ini"), &why), 1);
  EXPECT_TRUE(why.empty());
}

// A write never replaces a file that a read would refuse: what is in it is
// not lost, and a link to a device is not written through.
TEST_F(SettingsTest, ARefusedFileIsNotReplaced) {
  const std::string big = "[Font]\nSize=30\n;" + std::string(SETTINGS_FILE_MAX_BYTES, '0');
  write_file(path, big);
  EXPECT_EQ(write_settings(view, path), 0);
  EXPECT_EQ(slurp(path), big);
}

// Only reading the settings makes nothing: the per-user directory appears
// when the file is first written, closed to others.
#if defined(_WIN32)
TEST_F(SettingsTest, AReadNeverCreatesTheDirectory) {
  const char* old = getenv("APPDATA");
  std::string saved = old ? old : "";
  test::set_environment("APPDATA", dir.path);
  std::string file = platform::settings_file_path_for("");  // the program's directory is unknown
  EXPECT_EQ(file, dir.path + "\\Yomite\\YOMITE.INI");
  EXPECT_EQ(read_settings(view, file), 1);
  EXPECT_FALSE(std::filesystem::exists(dir.path + "/Yomite"));
  ASSERT_EQ(write_settings(view, file), 1);
  EXPECT_TRUE(std::filesystem::is_regular_file(file));
  test::set_environment("APPDATA", saved);
}
#else
TEST_F(SettingsTest, AReadNeverCreatesTheDirectory) {
  const char* old = getenv("XDG_CONFIG_HOME");
  std::string saved = old ? old : "";
  test::set_environment("XDG_CONFIG_HOME", dir.path);
  std::string file = platform::settings_file_path_for("");  // the program's directory is unknown
  EXPECT_EQ(file, dir.path + "/yomite/YOMITE.INI");
  EXPECT_EQ(read_settings(view, file), 1);
  EXPECT_FALSE(std::filesystem::exists(dir.path + "/yomite"));
  ASSERT_EQ(write_settings(view, file), 1);
  struct stat st;
  ASSERT_EQ(stat((dir.path + "/yomite").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  if (old)
    test::set_environment("XDG_CONFIG_HOME", saved);
  else
    test::unset_environment("XDG_CONFIG_HOME");
}
#endif

}  // namespace
}  // namespace yomite
