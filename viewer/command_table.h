// The command table: every command of the viewer is one row, with its number,
// its menu label, the keys that run it, when it may act, what its check mark
// shows and its handler. The key table, the context menu (on both builds),
// graying, and requests from other programs all read these rows.
//
// A new command: a number (viewer/commands.h, or viewer/contents.h for an
// extension), a row in command_table.cc, its handler (declared in
// viewer/command_handlers.h), and its place in the menu (MENU_LAYOUT in
// context_menu.cc) if the menu shows it.
#pragma once

#include <span>

#include "view/view_context.h"

namespace yomite {

// When a row may act (CommandRow::flags).
constexpr unsigned CF_DOCUMENT = 1;  // does nothing while no document is loaded
constexpr unsigned CF_UNLOCKED = 2;  // refused for a locked text
// An extension's command: the menu and its keys run it; its number sent by
// another program does nothing, as every number outside the standard ones.
constexpr unsigned CF_EXTENSION = 4;
// It opens a modal window (a dialog or a chooser): one sent by another
// program while one is open is refused.
constexpr unsigned CF_MODAL = 8;

// A key a row binds: a key code (viewer/keys.h; letters are upper case and
// act whatever modifier is held), with KEY_WITH_SHIFT added when it acts only
// while Shift is held.
constexpr int KEY_WITH_SHIFT = 0x10000;
constexpr int ROW_KEYS = 2;

struct CommandRow {
  int number;  // CMD_*; a family (dot counts, recent files, contents) spans number..last
  int last;
  // The menu label: the mnemonic after "&", the key hint after "\t". Null
  // when the menu has no item of its own for it (a family's items come from
  // its submenu).
  const char* label;
  int keys[ROW_KEYS];          // 0: none
  unsigned flags;              // CF_*
  int ViewSettings::*checked;  // the setting a check mark shows, or null
  void (*run)(ViewContext& view, int number);
};

// Every row, in number order.
std::span<const CommandRow> command_rows();

// The row whose number range holds `number`, or null.
const CommandRow* find_command(int number);

// The row a key runs (`modifiers` as platform::modifiers_down gives them), or
// null. A binding with KEY_WITH_SHIFT goes before the same key without it.
const CommandRow* command_for_key(int key, int modifiers);

// 1 when the row would act now (what the menu shows ungrayed).
int row_enabled(const CommandRow& row, const ViewContext& view);

// Runs `number` through its row when the row may act now.
void run_row(ViewContext& view, const CommandRow& row, int number);

}  // namespace yomite
