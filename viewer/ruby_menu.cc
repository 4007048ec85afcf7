// Choosing how readings are shown: the text is laid out again.
#include "viewer/ruby_menu.h"

#include "document/ruby_modes.h"
#include "settings/settings.h"
#include "viewer/command_handlers.h"
#include "viewer/command_table.h"
#include "viewer/commands.h"

namespace yomite {

namespace {

constexpr const char* RUBY_LABELS[] = {"ルビを表示(&S)", "ルビを隠す(&H)",
                                       "ルビを括弧で本文に(&I)"};
static_assert(sizeof RUBY_LABELS / sizeof *RUBY_LABELS == CMD_RUBY_LAST - CMD_RUBY_FIRST + 1);

}  // namespace

void ruby_submenu(ViewContext& v, std::vector<platform::MenuItem>& items) {
  const CommandRow& row = *find_command(CMD_RUBY_FIRST);
  platform::MenuItem menu;
  menu.label = RUBY_MENU_TITLE;
  for (int mode = RUBY_SHOW; mode <= RUBY_MODE_LAST; ++mode) {
    platform::MenuItem item;
    item.id = CMD_RUBY_FIRST + mode;
    item.label = RUBY_LABELS[mode];
    item.checked = v.settings.ruby_mode == mode;
    item.grayed = !row_enabled(row, v);
    menu.submenu.push_back(item);
  }
  items.push_back(menu);
}

void cmd_ruby_mode(ViewContext& v, int number) {
  const int mode = number - CMD_RUBY_FIRST;
  if (mode == v.settings.ruby_mode) return;
  v.settings.ruby_mode = mode;
  write_settings(v);
  reopen_document(v, 0);
}

}  // namespace yomite
