// The GTK backend's translations that need no display: key values, scroll
// types, wheel deltas, mnemonics, dropped URI lists, file patterns.
#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/gtk/input_codes.h"
#include "platform/gtk/mnemonics.h"
#include "platform/gtk/patterns.h"
#include "platform/gtk/scroll_codes.h"
#include "platform/gtk/uri_list.h"
#include "viewer/keys.h"
#include "viewer/scrolling.h"

namespace yomite::platform {
namespace {

TEST(GtkKeys, LettersWhateverTheirCase) {
  EXPECT_EQ(key_code_of(GDK_KEY_e), 'E');
  EXPECT_EQ(key_code_of(GDK_KEY_E), 'E');
  EXPECT_EQ(key_code_of(GDK_KEY_a), 'A');
  EXPECT_EQ(key_code_of(GDK_KEY_Z), 'Z');
}

TEST(GtkKeys, BracketsByTheCharacterTyped) {
  // A Japanese keyboard types them on other keys: the character decides,
  // and Shift on the same key ('{', '}') keeps the key's meaning.
  EXPECT_EQ(key_code_of(GDK_KEY_bracketleft), KEY_OPEN_BRACKET);
  EXPECT_EQ(key_code_of(GDK_KEY_braceleft), KEY_OPEN_BRACKET);
  EXPECT_EQ(key_code_of(GDK_KEY_bracketright), KEY_CLOSE_BRACKET);
  EXPECT_EQ(key_code_of(GDK_KEY_braceright), KEY_CLOSE_BRACKET);
}

TEST(GtkKeys, DigitsOfTheMainRowAndTheKeypad) {
  EXPECT_EQ(key_code_of(GDK_KEY_0), '0');
  EXPECT_EQ(key_code_of(GDK_KEY_9), '9');
  EXPECT_EQ(key_code_of(GDK_KEY_KP_0), KEY_NUMPAD0);
  EXPECT_EQ(key_code_of(GDK_KEY_KP_5), KEY_NUMPAD0 + 5);
  EXPECT_EQ(character_of(GDK_KEY_KP_3), '3');
  EXPECT_EQ(character_of(GDK_KEY_7), '7');
}

TEST(GtkKeys, NavigationMenuAndModifiers) {
  EXPECT_EQ(key_code_of(GDK_KEY_Page_Up), KEY_PAGE_UP);
  EXPECT_EQ(key_code_of(GDK_KEY_KP_Page_Down), KEY_PAGE_DOWN);
  EXPECT_EQ(key_code_of(GDK_KEY_KP_Left), KEY_LEFT);
  EXPECT_EQ(key_code_of(GDK_KEY_Home), KEY_HOME);
  EXPECT_EQ(key_code_of(GDK_KEY_End), KEY_END);
  EXPECT_EQ(key_code_of(GDK_KEY_Menu), KEY_MENU);
  EXPECT_EQ(key_code_of(GDK_KEY_F10), KEY_F10);
  EXPECT_EQ(key_code_of(GDK_KEY_F5), KEY_F5);
  EXPECT_EQ(key_code_of(GDK_KEY_Escape), KEY_ESCAPE);
  EXPECT_EQ(key_code_of(GDK_KEY_space), KEY_SPACE);
  EXPECT_EQ(key_code_of(GDK_KEY_Shift_R), KEY_SHIFT);
  EXPECT_EQ(key_code_of(GDK_KEY_Control_L), KEY_CTRL);
}

TEST(GtkKeys, KeysWithoutCodeAreZero) {
  EXPECT_EQ(key_code_of(GDK_KEY_F1), 0);
  EXPECT_EQ(key_code_of(GDK_KEY_Tab), 0);
  EXPECT_EQ(key_code_of(GDK_KEY_Cyrillic_a), 0);
  EXPECT_EQ(character_of(GDK_KEY_Left), 0);
}

TEST(GtkScroll, TypesBecomeRequestCodes) {
  EXPECT_EQ(scroll_request_code(GTK_SCROLL_STEP_BACKWARD), BAR_LINE_UP);
  EXPECT_EQ(scroll_request_code(GTK_SCROLL_STEP_LEFT), BAR_LINE_UP);
  EXPECT_EQ(scroll_request_code(GTK_SCROLL_STEP_FORWARD), BAR_LINE_DOWN);
  EXPECT_EQ(scroll_request_code(GTK_SCROLL_STEP_RIGHT), BAR_LINE_DOWN);
  EXPECT_EQ(scroll_request_code(GTK_SCROLL_PAGE_UP), BAR_PAGE_UP);
  EXPECT_EQ(scroll_request_code(GTK_SCROLL_PAGE_LEFT), BAR_PAGE_UP);
  EXPECT_EQ(scroll_request_code(GTK_SCROLL_PAGE_FORWARD), BAR_PAGE_DOWN);
  EXPECT_EQ(scroll_request_code(GTK_SCROLL_JUMP), BAR_THUMB_TRACK);
  EXPECT_EQ(scroll_request_code(GTK_SCROLL_START), BAR_TOP);
  EXPECT_EQ(scroll_request_code(GTK_SCROLL_END), BAR_BOTTOM);
  EXPECT_EQ(scroll_request_code(GTK_SCROLL_NONE), -1);
}

TEST(GtkScroll, PositionsStayInTheRange) {
  EXPECT_EQ(scroll_position_of(499.6), 500);
  EXPECT_EQ(scroll_position_of(-3), 0);
  EXPECT_EQ(scroll_position_of(1e9), SCROLL_RANGE);
  EXPECT_EQ(scroll_position_of(std::nan("")), 0);
}

TEST(GtkWheel, SmoothDeltasAddUpToNotches) {
  double rest = 0;
  EXPECT_EQ(take_whole_notches(&rest, 0.4), 0);
  EXPECT_EQ(take_whole_notches(&rest, 0.4), 0);
  EXPECT_EQ(take_whole_notches(&rest, 0.4), 1);  // 1.2: one notch, 0.2 kept
  EXPECT_NEAR(rest, 0.2, 1e-9);
  EXPECT_EQ(take_whole_notches(&rest, -1.5), -1);  // -1.3
  EXPECT_NEAR(rest, -0.3, 1e-9);
  EXPECT_EQ(take_whole_notches(&rest, std::nan("")), 0);
  rest = 0;
  EXPECT_EQ(take_whole_notches(&rest, 1e12), 100);  // a wild flick is bounded
}

TEST(GtkMnemonics, AmpersandsBecomeUnderscores) {
  EXPECT_EQ(gtk_mnemonic("開く(&O)..."), "開く(_O)...");
  EXPECT_EQ(gtk_mnemonic("A&&B"), "A&B");
  EXPECT_EQ(gtk_mnemonic("snake_case"), "snake__case");
  EXPECT_EQ(gtk_mnemonic("R&&D &x"), "R&D _x");
  EXPECT_EQ(gtk_mnemonic("end&"), "end&");
  EXPECT_EQ(gtk_mnemonic(""), "");
}

TEST(GtkMnemonics, KeyHintAfterTheTab) {
  MenuLabel l = menu_label("フォント大\t]");
  EXPECT_EQ(l.text, "フォント大");
  EXPECT_EQ(l.hint, "]");
  l = menu_label("マーク(&M)\tM");
  EXPECT_EQ(l.text, "マーク(_M)");
  EXPECT_EQ(l.hint, "M");
  l = menu_label("ページモード(&P)");
  EXPECT_EQ(l.hint, "");
  // A history entry names a file: its '&' were doubled, its '_' are kept.
  EXPECT_EQ(menu_label("&1 a&&b_c.txt [3]").text, "_1 a&b__c.txt [3]");
}

TEST(GtkDrops, FileUrisBecomePaths) {
  EXPECT_EQ(path_of_file_uri("file:///home/u/a.txt"), "/home/u/a.txt");
  EXPECT_EQ(path_of_file_uri("file://localhost/tmp/x"), "/tmp/x");
  EXPECT_EQ(path_of_file_uri("FILE:///tmp/x"), "/tmp/x");
  EXPECT_EQ(path_of_file_uri("file:/tmp/x"), "/tmp/x");
  EXPECT_EQ(path_of_file_uri("file:///tmp/%E5%90%BE%E8%BC%A9%20cat.txt"), "/tmp/吾輩 cat.txt");
  EXPECT_EQ(path_of_file_uri("file:///tmp/100%"), "/tmp/100%");  // a lone '%' stays
  EXPECT_EQ(path_of_file_uri("file:///tmp/a%zz"), "/tmp/a%zz");
}

TEST(GtkDrops, OtherUrisAndHostsAreLeftOut) {
  EXPECT_EQ(path_of_file_uri("http://example.com/a.txt"), "");
  EXPECT_EQ(path_of_file_uri("file://otherhost/tmp/x"), "");
  EXPECT_EQ(path_of_file_uri("file://localhost"), "");
  EXPECT_EQ(path_of_file_uri("file:relative"), "");
  EXPECT_EQ(path_of_file_uri("file:///tmp/a%00b"), "");  // a NUL cannot be in a path
}

TEST(GtkDrops, ListLinesCommentsAndLineEnds) {
  const std::string list =
      "# dropped by a file manager\r\n"
      "file:///a/one.txt\r\n"
      "http://example.com/\r\n"
      "\r\n"
      "file:///b/two%20words.zip\n"
      "file:///c/three.txt";
  const std::vector<std::string> want = {"/a/one.txt", "/b/two words.zip", "/c/three.txt"};
  EXPECT_EQ(paths_of_uri_list(list), want);
  EXPECT_TRUE(paths_of_uri_list("").empty());
}

TEST(GtkPatterns, FiltersMatchWithoutCase) {
  const std::vector<std::string> text = {"*.[tT][xX][tT]", "*.[yY][mM][xX]"};
  EXPECT_EQ(gtk_globs("*.txt;*.ymx"), text);
  EXPECT_EQ(gtk_globs("*.*"), std::vector<std::string>{"*"});
  EXPECT_EQ(gtk_globs("*.ZIP"), std::vector<std::string>{"*.[zZ][iI][pP]"});
  EXPECT_EQ(gtk_globs(" *.a ; ;"), std::vector<std::string>{"*.[aA]"});
  EXPECT_EQ(gtk_globs("x[ab]?"), std::vector<std::string>{"[xX][ab]?"});
  EXPECT_TRUE(gtk_globs("").empty());
}

}  // namespace
}  // namespace yomite::platform
