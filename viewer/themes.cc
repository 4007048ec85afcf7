// The colour sets and following the desktop's light or dark preference.
#include "viewer/themes.h"

#include "layout/paint.h"
#include "platform/appearance.h"
#include "platform/window.h"
#include "settings/settings.h"
#include "viewer/command_handlers.h"
#include "viewer/command_table.h"
#include "viewer/scrolling.h"

namespace yomite {

namespace {

// 0x00BBGGRR. Each set keeps text and links well apart from the background.
const std::vector<ColourSet> SETS = {
    {"白(&W)", 0x202020, 0xFFFFFF, 0xC05000},
    {"生成り(&E)", 0x1E2A3B, 0xD8ECF4, 0x8A5A00},
    {"夜(&N)", 0xE0E0E0, 0x1E1E1E, 0xFFC866},
    {"ハイコントラスト(&H)", 0xFFFFFF, 0x000000, 0x00FFFF},
};

bool matches(const ViewContext& v, const ColourSet& set) {
  return v.settings.text_color == set.text && v.settings.back_color == set.back &&
         v.settings.link_color == set.link;
}

void show_new_colours(ViewContext& v) {
  settle_column(v);
  platform::window_invalidate(v.viewport.window, nullptr, 1);
  write_settings(v);
}

}  // namespace

const std::vector<ColourSet>& colour_sets() {
  return SETS;
}

void apply_colour_set(ViewContext& v, const ColourSet& set) {
  v.settings.text_color = set.text;
  v.settings.back_color = set.back;
  v.settings.link_color = set.link;
}

int follow_desktop_colours(ViewContext& v) {
  if (!v.settings.follow_desktop) return 0;
  const int scheme = platform::desktop_color_scheme();
  if (scheme == platform::SCHEME_UNKNOWN) return 0;
  const ColourSet& set = SETS[scheme == platform::SCHEME_DARK ? THEME_DARK : THEME_LIGHT];
  if (matches(v, set)) return 0;
  apply_colour_set(v, set);
  return 1;
}

void themes_submenu(ViewContext& v, std::vector<platform::MenuItem>& items) {
  platform::MenuItem menu;
  menu.label = THEME_MENU_TITLE;
  for (std::size_t k = 0; k < SETS.size(); ++k) {
    platform::MenuItem item;
    item.id = CMD_THEME_FIRST + static_cast<int>(k);
    item.label = SETS[k].label;
    item.checked = matches(v, SETS[k]);
    menu.submenu.push_back(item);
  }
  platform::MenuItem separator;
  separator.separator = 1;
  menu.submenu.push_back(separator);
  platform::MenuItem follow;
  follow.id = CMD_FOLLOW_DESKTOP;
  follow.label = FOLLOW_DESKTOP_LABEL;
  follow.checked = v.settings.follow_desktop != 0;
  menu.submenu.push_back(follow);
  items.push_back(menu);
}

void on_desktop_scheme_changed(ViewContext& v) {
  if (follow_desktop_colours(v)) show_new_colours(v);
}

void cmd_colour_set(ViewContext& v, int number) {
  v.settings.follow_desktop = 0;
  apply_colour_set(v, SETS[static_cast<std::size_t>(number - CMD_THEME_FIRST)]);
  show_new_colours(v);
}

void cmd_follow_desktop(ViewContext& v, int) {
  v.settings.follow_desktop = !v.settings.follow_desktop;
  follow_desktop_colours(v);
  show_new_colours(v);
}

}  // namespace yomite
