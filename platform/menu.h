// Popup menus described as data: the core builds the items, the backend shows
// them and reports the one chosen.
#pragma once

#include <string>
#include <vector>

#include "platform/window.h"

namespace yomite::platform {

struct MenuItem {
  int id = 0;         // what choosing the item returns; 0 for separators and submenus
  std::string label;  // UTF-8; '&' marks the mnemonic, "&&" is a '&', "\t" starts the key hint
  int checked = 0;
  int grayed = 0;
  int separator = 0;
  std::vector<MenuItem> submenu;  // not empty: the item opens this submenu
};

// Shows the menu at client point (x, y) of `owner` and waits for the user.
// Returns the id of the chosen item, or 0 when the menu was closed without one.
int track_popup_menu(Window* owner, const std::vector<MenuItem>& items, int x, int y);

}  // namespace yomite::platform
