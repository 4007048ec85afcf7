// The context menu, the viewer's only menu: built fresh each time it opens
// from the command table's rows in the order MENU_LAYOUT gives, with the
// current state as checks and what cannot act now grayed.
#include <cstdio>

#include "settings/history.h"
#include "settings/settings.h"
#include "trace/trace.h"
#include "view/modal.h"
#include "viewer/command_table.h"
#include "viewer/commands.h"
#include "viewer/contents.h"
#include "viewer/reader_commands.h"
#include "viewer/ruby_menu.h"
#include "viewer/themes.h"
#include "viewer/window_fit.h"

namespace yomite {

namespace {

using platform::MenuItem;

MenuItem item_of(const ViewContext& v, const CommandRow& row, int id, std::string label,
                 int checked) {
  MenuItem item;
  item.id = id;
  item.label = std::move(label);
  item.checked = checked;
  item.grayed = !row_enabled(row, v);
  return item;
}

MenuItem command_item(const ViewContext& v, int number) {
  const CommandRow& row = *find_command(number);
  return item_of(v, row, number, row.label, row.checked ? v.settings.*row.checked != 0 : 0);
}

MenuItem submenu(const std::string& label, std::vector<MenuItem> items) {
  MenuItem item;
  item.label = label;
  item.submenu = std::move(items);
  return item;
}

// The submenus: each adds itself to `items`, or nothing while it has no place.

// The history is read again each time (and with it the shown file's mark page).
void history_submenu(ViewContext& v, std::vector<MenuItem>& items) {
  History& history = process_history();
  read_history(history, v, settings_path());
  HistoryMenu menu = history_menu(history, v, CMD_HISTORY_FIRST);
  items.push_back(submenu(menu.title, std::move(menu.items)));
}

void dots_submenu(ViewContext& v, std::vector<MenuItem>& items) {
  const CommandRow& row = *find_command(CMD_SMOOTH_DOTS_1);
  std::vector<MenuItem> dots;
  for (int n = 1; n <= 9; ++n)
    dots.push_back(item_of(v, row, CMD_SMOOTH + n, std::to_string(n), v.settings.smooth_dots == n));
  char label[64];
  std::snprintf(label, sizeof label, "ｽﾑｰｽｽｸﾛｰﾙﾄﾞｯﾄ数(%d)", v.settings.smooth_dots);
  items.push_back(submenu(label, std::move(dots)));
}

// The full notation's headings, while it laid the document out (an extension).
void contents_submenu(ViewContext& v, std::vector<MenuItem>& items) {
  if (!v.settings.full_notation || !v.doc.loaded) return;
  HistoryMenu menu = contents_menu(v);
  items.push_back(submenu(menu.title, std::move(menu.items)));
}

// One place in the menu: a command row's item, a submenu, or a separator
// (neither).
struct MenuPlace {
  int number;
  void (*submenu)(ViewContext& view, std::vector<MenuItem>& items);
};
constexpr MenuPlace SEPARATOR = {0, nullptr};

constexpr MenuPlace MENU_LAYOUT[] = {
    {CMD_OPEN, nullptr},
    {0, history_submenu},
    SEPARATOR,
    {CMD_SMOOTH, nullptr},
    {0, dots_submenu},
    {CMD_PAGE_MODE, nullptr},
    {CMD_PAGE_JUMP, nullptr},
    {CMD_FIND, nullptr},
    {CMD_FIND_LIST, nullptr},
    {CMD_STATUS_STRIP, nullptr},
    {0, contents_submenu},
    SEPARATOR,
    {CMD_TEXT_COLOR, nullptr},
    {CMD_BACK_COLOR, nullptr},
    {CMD_LINK_COLOR, nullptr},
    SEPARATOR,
    {CMD_FONT, nullptr},
    {CMD_FONT_LARGER, nullptr},
    {CMD_FONT_SMALLER, nullptr},
    SEPARATOR,
    {CMD_WIDTH, nullptr},
    SEPARATOR,
    {CMD_MARKUP, nullptr},
    {CMD_FULL_NOTATION, nullptr},
    {CMD_SET_MARK, nullptr},
    {CMD_JUMP_MARK, nullptr},
    {CMD_ADD_BOOKMARK, nullptr},
    {CMD_BOOKMARKS, nullptr},
    SEPARATOR,
    {CMD_EDITOR, nullptr},
    {CMD_SETTINGS, nullptr},
    {CMD_MAKE_STANDARD, nullptr},
    {CMD_ABOUT, nullptr},
    // The window's extensions, after every standard item.
    SEPARATOR,
    {0, themes_submenu},
    {0, ruby_submenu},
    {CMD_FIT_WINDOW, nullptr},
    {CMD_FULL_SCREEN, nullptr},
};

}  // namespace

std::vector<MenuItem> context_menu_items(ViewContext& v) {
  std::vector<MenuItem> items;
  for (const MenuPlace& place : MENU_LAYOUT) {
    if (place.submenu) {
      place.submenu(v, items);
    } else if (place.number) {
      items.push_back(command_item(v, place.number));
    } else {
      MenuItem separator;
      separator.separator = 1;
      items.push_back(separator);
    }
  }
  return items;
}

void show_context_menu(ViewContext& v, int x, int y) {
  int chosen = 0;
  {
    ModalScope modal(v);
    chosen = platform::track_popup_menu(v.viewport.window, context_menu_items(v), x, y);
  }
  trace("menu=%d ", chosen);
  if (chosen != 0) run_menu_command(v, chosen);
}

}  // namespace yomite
