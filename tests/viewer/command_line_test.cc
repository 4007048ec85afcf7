// The viewer's command line: which arguments are options, which is the file,
// and what each option does to the view.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "layout/composition.h"
#include "settings/ini.h"
#include "settings/settings.h"
#include "tests/temp_dir.h"
#include "viewer/command_line.h"

namespace yomite {
namespace {

// Only "/existing" exists on this pretend disk.
int pretend_file(const char* path) {
  return std::strcmp(path, "/existing") == 0;
}

ViewerArgs parse(std::vector<const char*> args) {
  args.insert(args.begin(), "yomite");
  return parse_viewer_args(static_cast<int>(args.size()), args.data(), pretend_file);
}

std::string letters(const ViewerArgs& a) {
  std::string s;
  for (const ViewerOption& o : a.options) s += o.letter;
  return s;
}

struct ScanCase {
  const char* name;
  std::vector<const char*> args;
  const char* file;
  int x, y;
  const char* letters;
};

TEST(ViewerArgs, ScanTable) {
  const ScanCase cases[] = {
      // lower-case x is no option and not the file either; Y alone moves nothing
      {"LowerXIgnored", {"-x10", "-Y20", "a.txt"}, "a.txt", -1, 20, "Y"},
      {"UpperXY", {"/X5", "/Y7", "b.txt"}, "b.txt", 5, 7, "XY"},
      {"LowerYIgnored", {"-X5", "-y7"}, "", 5, -1, "X"},
      {"FirstFileWins", {"one.txt", "-W30", "two.txt"}, "one.txt", -1, -1, "W"},
      {"CaseFolded", {"-b#FF0000", "/k8", "-g20"}, "", -1, -1, "BKG"},
      {"UnknownLettersDropped", {"-Z", "-", "/q1", "-1"}, "", -1, -1, ""},
      {"SlashOption", {"/K8", "c.txt"}, "c.txt", -1, -1, "K"},
      {"SlashPathWithSecondSlash", {"/tmp/book.txt"}, "/tmp/book.txt", -1, -1, ""},
      {"SlashExistingFile", {"/existing"}, "/existing", -1, -1, ""},
      {"SlashMissingNameIsOption", {"/Wide"}, "", -1, -1, "W"},
      {"RepeatedOptionsKept", {"-W30", "-W50"}, "", -1, -1, "WW"},
      {"LastXWins", {"-X1", "-X2", "-Y3"}, "", 2, 3, "XXY"},
      // extension: "--" ends the options, so a name may begin with '-' or '/'
      {"EndOfOptions", {"-W30", "--", "-dash.txt", "-W50"}, "-dash.txt", -1, -1, "W"},
      {"EndOfOptionsSlash", {"--", "/Wide"}, "/Wide", -1, -1, ""},
      {"SecondDashesIsAFile", {"--", "--"}, "--", -1, -1, ""},
  };
  for (const ScanCase& c : cases) {
    SCOPED_TRACE(c.name);
    ViewerArgs a = parse(c.args);
    EXPECT_EQ(a.file, c.file);
    EXPECT_EQ(a.x, c.x);
    EXPECT_EQ(a.y, c.y);
    EXPECT_EQ(letters(a), c.letters);
  }
}

TEST(ViewerArgs, ValueIsTheRestOfTheArgument) {
  ViewerArgs a = parse({"-F@ＭＳ 明朝", "-W 30"});
  ASSERT_EQ(a.options.size(), 2u);
  EXPECT_EQ(a.options[0].value, "@ＭＳ 明朝");
  EXPECT_EQ(a.options[1].value, " 30");
}

// --- applying ----------------------------------------------------------------

struct ApplyCase {
  const char* name;
  std::vector<const char*> args;
  std::function<long(const ViewContext&, const OptionRequests&)> field;
  long expected;
  int colors_flag;
};

TEST(ViewerOptions, ApplyTable) {
  using V = const ViewContext&;
  using R = const OptionRequests&;
  const ApplyCase cases[] = {
      {"BackRed", {"-B#FF0000"}, [](V v, R) { return v.settings.back_color; }, 0x0000FF, 1},
      {"TextShortIsPadded", {"-cFF"}, [](V v, R) { return v.settings.text_color; }, 0x0000FF, 1},
      {"LinkGreen", {"/L00ff00"}, [](V v, R) { return v.settings.link_color; }, 0x00FF00, 1},
      // only ten characters count: "#FF8000123" -> FF 80 00
      {"ColourCutToTen",
       {"-B#FF800012345"},
       [](V v, R) { return v.settings.back_color; },
       0x0080FF,
       1},
      {"ColourThreeDigits", {"-BFF8"}, [](V v, R) { return v.settings.back_color; }, 0x0080FF, 1},
      {"CodePage", {"-E65001"}, [](V v, R) { return v.settings.code_page; }, 65001, 0},
      {"PageLinesBlanks", {"-H 12"}, [](V v, R) { return v.settings.page_lines; }, 12, 0},
      {"EncodingUpper", {"-Ke"}, [](V v, R) { return v.settings.encoding_letter; }, 'E', 0},
      {"EncodingUtf8", {"-k8"}, [](V v, R) { return v.settings.encoding_letter; }, '8', 0},
      {"EncodingNone", {"-KS", "-K"}, [](V v, R) { return v.settings.encoding_letter; }, 0, 0},
      {"MarkupOff", {"-M0"}, [](V v, R) { return v.settings.markup_enabled; }, 0, 0},
      {"SmoothOff", {"-S0"}, [](V v, R) { return v.settings.smooth_scroll; }, 0, 0},
      {"Dialect", {"-T2"}, [](V v, R) { return v.settings.text_format; }, DIALECT_BRACKET, 0},
      {"WidthLastWins", {"-W30", "-W50"}, [](V v, R) { return v.settings.column_chars; }, 50, 0},
      {"WidthNoDigits", {"-Wabc"}, [](V v, R) { return v.settings.column_chars; }, 0, 0},
      {"SizeKeptRaw", {"-G5"}, [](V, R r) { return r.font_size; }, 5, 0},
      {"SizeZeroKeepsRequest", {"-G40", "-G0"}, [](V, R r) { return r.font_size; }, 40, 0},
      {"Jump", {"-J7"}, [](V, R r) { return r.jump_line; }, 7, 0},
      {"Row", {"-R3"}, [](V, R r) { return r.row; }, 3, 0},
      {"PositionLeavesView",
       {"-X10", "-Y10"},
       [](V v, R) { return v.settings.column_chars; },
       0,
       0},
      // sizes are kept to the layout's limits where they enter
      {"WidthHuge", {"-W1000000"}, [](V v, R) { return v.settings.column_chars; }, 8192, 0},
      {"WidthAtLimit", {"-W8192"}, [](V v, R) { return v.settings.column_chars; }, 8192, 0},
      {"WidthNegative", {"-W30", "-W-2147483648"}, [](V v, R) { return v.settings.column_chars; }, 0, 0},
      {"PagesNegative", {"-H-5"}, [](V v, R) { return v.settings.page_lines; }, 0, 0},
      {"PagesHuge", {"-H2147483647"}, [](V v, R) { return v.settings.page_lines; }, 1024, 0},
      {"PagesAtLimit", {"-H1024"}, [](V v, R) { return v.settings.page_lines; }, 1024, 0},
      // N is an extension: book composition on or off, the last value winning.
      {"BookOn", {"/n1"}, [](V v, R) { return v.settings.book_composition; }, 1, 0},
      {"BookOff", {"-N1", "-N0"}, [](V v, R) { return v.settings.book_composition; }, 0, 0},
      {"BookLeavesLayoutAlone", {"-N1"}, [](V v, R) { return v.typeset.composition == &BOOK_COMPOSITION ? 1 : 0; }, 0, 0},
  };
  for (const ApplyCase& c : cases) {
    SCOPED_TRACE(c.name);
    process_settings().command_line_colors = 0;
    ViewContext v;
    v.settings.encoding_letter = 0;
    OptionRequests r;
    apply_viewer_options(v, parse(c.args).options, r);
    EXPECT_EQ(c.field(v, r), c.expected);
    EXPECT_EQ(process_settings().command_line_colors, c.colors_flag);
  }
  process_settings().command_line_colors = 0;
}

// Options hold for the run: a value they give is never written, and a
// reading of the file after another viewer's write keeps it.
TEST(ViewerOptions, OptionsAreNotSavedForGood) {
  test::TempDir dir;
  const std::string path = dir.file("YOMITE.INI");
  ViewContext v;
  read_settings(v, path);
  OptionRequests r;
  apply_viewer_options(v, parse({"-A1", "-N1", "-S0", "-W24"}).options, r);
  ASSERT_EQ(write_settings(v, path), 1);  // as the viewer closes
  IniFile ini;
  ASSERT_EQ(ini_load(path, ini), 1);
  EXPECT_EQ(ini_get(ini, "Font", "FullNotation", "absent"), "absent");
  EXPECT_EQ(ini_get(ini, "Font", "BookComposition", "absent"), "absent");
  EXPECT_EQ(ini_get(ini, "Scroll", "Smooth", "absent"), "1");
  read_settings(v, path);
  EXPECT_EQ(v.settings.full_notation, 1);
  EXPECT_EQ(v.settings.book_composition, 1);
  EXPECT_EQ(v.settings.smooth_scroll, 0);
  v.settings.smooth_scroll = 1;  // the user's own choice afterwards is a choice
  v.settings.page_mode = 1;
  ASSERT_EQ(write_settings(v, path), 1);
  ASSERT_EQ(ini_load(path, ini), 1);
  EXPECT_EQ(ini_get(ini, "Scroll", "PageMode", ""), "1");
}

TEST(ViewerOptions, FaceNameTakenAsGiven) {
  ViewContext v;
  OptionRequests r;
  apply_viewer_options(v, parse({"-F@ＭＳ 明朝"}).options, r);
  EXPECT_EQ(v.settings.face_name, "@ＭＳ 明朝");
}

}  // namespace
}  // namespace yomite
