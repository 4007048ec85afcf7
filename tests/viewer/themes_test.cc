// Colour sets and following the desktop's light or dark preference.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "platform/appearance.h"
#include "platform/fake/fake_desktop.h"
#include "settings/ini.h"
#include "tests/viewer/viewer_fixture.h"
#include "viewer/commands.h"
#include "viewer/messages.h"
#include "viewer/themes.h"

namespace yomite {
namespace {

// WCAG's relative luminance of a 0x00BBGGRR colour, and the contrast of two.
double luminance(Color c) {
  auto channel = [](unsigned v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c & 0xFF) + 0.7152 * channel((c >> 8) & 0xFF) +
         0.0722 * channel((c >> 16) & 0xFF);
}
double contrast(Color a, Color b) {
  const double x = luminance(a) + 0.05, y = luminance(b) + 0.05;
  return x > y ? x / y : y / x;
}

class Themes : public test::ViewerTest {
 protected:
  std::string stored(const char* key) {
    IniFile ini;
    ini_load(process_settings().file_path, ini);
    return ini_get(ini, "Color", key, "-");
  }
  bool wears(const ColourSet& set) {
    return v.settings.text_color == set.text && v.settings.back_color == set.back &&
           v.settings.link_color == set.link;
  }
};

TEST_F(Themes, EverySetKeepsTextAndLinksReadable) {
  for (const ColourSet& set : colour_sets()) {
    SCOPED_TRACE(set.label);
    EXPECT_GE(contrast(set.text, set.back), 7.0);
    EXPECT_GE(contrast(set.link, set.back), 3.0);
  }
  const ColourSet& dark = colour_sets()[THEME_DARK];
  EXPECT_GT(luminance(dark.text), luminance(dark.back)) << "the dark set: light text on dark";
  const ColourSet& light = colour_sets()[THEME_LIGHT];
  EXPECT_LT(luminance(light.text), luminance(light.back));
}

TEST_F(Themes, ASetIsWrittenInTheStandardColourKeys) {
  run_menu_command(v, CMD_THEME_FIRST + THEME_DARK);
  EXPECT_TRUE(wears(colour_sets()[THEME_DARK]));
  EXPECT_EQ(stored("Fore"), "E0E0E0");
  EXPECT_EQ(stored("Back"), "1E1E1E");
  EXPECT_EQ(stored("Footnote"), "FFC866");
  EXPECT_EQ(stored("FollowDesktop"), "-") << "a key of the extension only once it is used";
  EXPECT_EQ(window.log.back(), "invalidate all 1");
  // Another program's number does nothing.
  run_command(v, CMD_THEME_FIRST);
  EXPECT_TRUE(wears(colour_sets()[THEME_DARK]));
  // The menu checks the set the colours are.
  std::vector<platform::MenuItem> items = context_menu_items(v);
  const platform::MenuItem* menu = nullptr;
  for (const platform::MenuItem& item : items)
    if (item.label == THEME_MENU_TITLE) menu = &item;
  ASSERT_NE(menu, nullptr);
  for (const platform::MenuItem& item : menu->submenu)
    EXPECT_EQ(item.checked, item.id == CMD_THEME_FIRST + THEME_DARK) << item.label;
}

TEST_F(Themes, FollowingTheDesktopTakesItsLightOrDark) {
  fake::set_color_scheme(platform::SCHEME_DARK);
  run_menu_command(v, CMD_FOLLOW_DESKTOP);
  EXPECT_EQ(v.settings.follow_desktop, 1);
  EXPECT_TRUE(wears(colour_sets()[THEME_DARK]));
  EXPECT_EQ(stored("FollowDesktop"), "1");
  EXPECT_EQ(stored("Back"), "1E1E1E");
  // The desktop turns light: the page follows at once.
  fake::set_color_scheme(platform::SCHEME_LIGHT);
  on_desktop_scheme_changed(v);
  EXPECT_TRUE(wears(colour_sets()[THEME_LIGHT]));
  EXPECT_EQ(stored("Back"), "FFFFFF");
  // A desktop that says nothing leaves the colours as they are.
  fake::set_color_scheme(platform::SCHEME_UNKNOWN);
  on_desktop_scheme_changed(v);
  EXPECT_TRUE(wears(colour_sets()[THEME_LIGHT]));
  // Another viewer's notice: the file's colours, then the desktop's.
  fake::set_color_scheme(platform::SCHEME_DARK);
  on_settings_changed(v);
  EXPECT_TRUE(wears(colour_sets()[THEME_DARK]));
}

TEST_F(Themes, AColourChosenByHandOrASetEndsFollowing) {
  fake::set_color_scheme(platform::SCHEME_DARK);
  run_menu_command(v, CMD_FOLLOW_DESKTOP);
  fake::script_color_choices({0x123456});
  run_menu_command(v, CMD_BACK_COLOR);
  EXPECT_EQ(v.settings.follow_desktop, 0);
  EXPECT_EQ(v.settings.back_color, 0x123456u);
  fake::set_color_scheme(platform::SCHEME_LIGHT);
  on_desktop_scheme_changed(v);
  EXPECT_EQ(v.settings.back_color, 0x123456u);
  EXPECT_EQ(stored("FollowDesktop"), "0");

  run_menu_command(v, CMD_FOLLOW_DESKTOP);
  run_menu_command(v, CMD_THEME_FIRST + 1);
  EXPECT_EQ(v.settings.follow_desktop, 0);
  EXPECT_TRUE(wears(colour_sets()[1]));
}

}  // namespace
}  // namespace yomite
