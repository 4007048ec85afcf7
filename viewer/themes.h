// Named colour sets and "follow the desktop" (an extension): a set gives the
// text, background and link colours together, stored in the standard colour
// keys, so every program that reads the settings file sees them. The mark
// (an inverted block) and the page numbers (in the text colour) follow from
// them. Following the desktop takes the light or the dark set from the
// desktop's preference, at start and whenever it changes; a colour chosen by
// hand or a named set ends it.
#pragma once

#include <vector>

#include "platform/menu.h"
#include "view/view_context.h"

namespace yomite {

// The sets' commands: CMD_THEME_FIRST + index into colour_sets().
constexpr int CMD_THEME_FIRST = 3010;
constexpr int CMD_THEME_LAST = 3013;
constexpr int CMD_FOLLOW_DESKTOP = 3019;

constexpr const char* THEME_MENU_TITLE = "配色(&K)";
constexpr const char* FOLLOW_DESKTOP_LABEL = "デスクトップに合わせる(&D)";

struct ColourSet {
  const char* label;
  Color text, back, link;
};

// 白 (paper), 生成り (sepia), 夜 (dark), high contrast; light first, dark third.
const std::vector<ColourSet>& colour_sets();
constexpr int THEME_LIGHT = 0;
constexpr int THEME_DARK = 2;

// Gives the view the set's colours (no write, no repaint).
void apply_colour_set(ViewContext& view, const ColourSet& set);

// The view's colours as the desktop asks while it follows the desktop and
// the desktop says light or dark; nothing otherwise. 1 when the colours changed.
int follow_desktop_colours(ViewContext& view);

// The "配色(&K)" submenu: the sets (the one the colours match checked),
// then "デスクトップに合わせる(&D)".
void themes_submenu(ViewContext& view, std::vector<platform::MenuItem>& items);

// The desktop changed between light and dark (called by the platform).
void on_desktop_scheme_changed(ViewContext& view);

}  // namespace yomite
