// The ruby display modes in the context menu (an extension): a submenu of
// three radio items after "特殊メモon/off(&T)"; the numbers lie outside every
// standard number, so other programs cannot reach them.
#pragma once

#include <vector>

#include "platform/menu.h"
#include "view/view_context.h"

namespace yomite {

// CMD_RUBY_FIRST + RUBY_SHOW, RUBY_HIDE, RUBY_INLINE (document/ruby_modes.h).
constexpr int CMD_RUBY_FIRST = 3000;
constexpr int CMD_RUBY_LAST = 3002;

constexpr const char* RUBY_MENU_TITLE = "ルビ(&R)";

// The "ルビ(&R)" submenu, the current mode checked; added to `items`.
void ruby_submenu(ViewContext& view, std::vector<platform::MenuItem>& items);

}  // namespace yomite
