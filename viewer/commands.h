// Numbered commands: every user action other than plain scrolling. Keys, the
// context menu and other programs all reach them through the command table
// (viewer/command_table.h), so the numbers are an interface and keep their
// values. Numbers below 100, 110..119, 130, 140..199 and from 220 on do
// nothing when another program sends them.
#pragma once

#include <vector>

#include "platform/menu.h"
#include "view/view_context.h"

namespace yomite {

constexpr int CMD_SMOOTH = 100;         // smooth scrolling on/off
constexpr int CMD_SMOOTH_DOTS_1 = 101;  // .. 109: pixels per smooth-scroll step
constexpr int CMD_SMOOTH_DOTS_9 = 109;
constexpr int CMD_TEXT_COLOR = 120;
constexpr int CMD_BACK_COLOR = 121;
constexpr int CMD_LINK_COLOR = 122;
constexpr int CMD_FONT = 123;
constexpr int CMD_MAKE_STANDARD = 124;  // current font and geometry become the standard
constexpr int CMD_WIDTH = 125;
constexpr int CMD_FONT_LARGER = 126;
constexpr int CMD_FONT_SMALLER = 127;
constexpr int CMD_OPEN = 128;
constexpr int CMD_MARKUP = 129;  // markup on/off
constexpr int CMD_SET_MARK = 131;
constexpr int CMD_JUMP_MARK = 132;
constexpr int CMD_EDITOR = 133;
constexpr int CMD_SETTINGS = 134;
constexpr int CMD_PAGE_MODE = 135;
constexpr int CMD_PAGE_JUMP = 136;
constexpr int CMD_CLOSE = 137;
constexpr int CMD_RELOAD = 138;
constexpr int CMD_ABOUT = 139;
constexpr int CMD_HISTORY_FIRST = 200;  // + position in the recent-files list
constexpr int CMD_HISTORY_LAST = 219;

// Font sizes the larger and smaller commands stay within, px.
constexpr int FONT_SIZE_STEP_MIN = 10;
constexpr int FONT_SIZE_STEP_MAX = 50;

// Runs command `number` as a key or another program asks: commands that need
// a document do nothing while none is loaded, the editor also not for a
// locked text, and the extensions' numbers do nothing at all.
void run_command(ViewContext& view, int number);

// Runs the menu item `id`: any row of the command table, extensions included.
void run_menu_command(ViewContext& view, int id);

// 1 when the command would act now (what the menu shows ungrayed).
int command_enabled(const ViewContext& view, int number);

// The context menu as the user sees it, with checks and graying; the history
// submenu is read from the settings file.
std::vector<platform::MenuItem> context_menu_items(ViewContext& view);

// Opens the context menu at client point (x, y) and runs what is chosen.
void show_context_menu(ViewContext& view, int x, int y);

// Lays the document out again from its file: `font_size` 0 keeps the size;
// the window keeps its place and takes the new size, top_line is kept.
void reopen_document(ViewContext& view, int font_size);

}  // namespace yomite
