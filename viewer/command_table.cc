// The rows of the command table, in number order. Labels are the menu's own
// texts; a family's items come from its submenu (context_menu.cc).
#include "viewer/command_table.h"

#include "platform/window.h"
#include "viewer/command_handlers.h"
#include "viewer/commands.h"
#include "viewer/contents.h"
#include "viewer/keys.h"
#include "viewer/reader_commands.h"
#include "viewer/ruby_menu.h"
#include "viewer/scrolling.h"
#include "viewer/themes.h"
#include "viewer/window_fit.h"

namespace yomite {

namespace {

constexpr unsigned DOC = CF_DOCUMENT;
constexpr unsigned MODAL = CF_MODAL;

// clang-format off
constexpr CommandRow COMMANDS[] = {
  // number            last                label                                keys                           flags                       checked                        handler
  {CMD_SMOOTH,         CMD_SMOOTH,         "スムーススクロール",                {KEY_SPACE},                   0,                          &ViewSettings::smooth_scroll,  cmd_toggle_smooth},
  {CMD_SMOOTH_DOTS_1,  CMD_SMOOTH_DOTS_9,  nullptr,                             {},                            0,                          nullptr,                       cmd_smooth_dots},
  {CMD_TEXT_COLOR,     CMD_TEXT_COLOR,     "文字色(&C)...",                     {},                            MODAL,                      nullptr,                       cmd_choose_colour},
  {CMD_BACK_COLOR,     CMD_BACK_COLOR,     "背景色(&B)...",                     {},                            MODAL,                      nullptr,                       cmd_choose_colour},
  {CMD_LINK_COLOR,     CMD_LINK_COLOR,     "リンク色(&L)...",                   {},                            MODAL,                      nullptr,                       cmd_choose_colour},
  {CMD_FONT,           CMD_FONT,           "フォント変更(&F)...\tF",            {'F'},                         DOC | MODAL,                nullptr,                       cmd_change_font},
  {CMD_MAKE_STANDARD,  CMD_MAKE_STANDARD,  "現在のフォント/幅を標準にする(&Z)", {},                            DOC,                        nullptr,                       cmd_make_standard},
  {CMD_WIDTH,          CMD_WIDTH,          "幅変更(&W)...\tW",                  {'W'},                         DOC | MODAL,                nullptr,                       cmd_change_width},
  {CMD_FONT_LARGER,    CMD_FONT_LARGER,    "フォント大\t]",                     {KEY_CLOSE_BRACKET},           DOC,                        nullptr,                       cmd_step_font},
  {CMD_FONT_SMALLER,   CMD_FONT_SMALLER,   "フォント小\t[",                     {KEY_OPEN_BRACKET},            DOC,                        nullptr,                       cmd_step_font},
  {CMD_OPEN,           CMD_OPEN,           "開く(&O)...\tO",                    {'O'},                         MODAL,                      nullptr,                       cmd_open},
  {CMD_MARKUP,         CMD_MARKUP,         "特殊メモon/off(&T)",                {},                            DOC,                        &ViewSettings::markup_enabled, cmd_toggle_markup},
  {CMD_SET_MARK,       CMD_SET_MARK,       "マーク(&M)\tM",                     {'M'},                         DOC,                        nullptr,                       cmd_set_mark},
  {CMD_JUMP_MARK,      CMD_JUMP_MARK,      "マークへジャンプ(&J)\tJ",           {'J'},                         DOC,                        nullptr,                       cmd_jump_to_mark},
  {CMD_EDITOR,         CMD_EDITOR,         "エディタ起動(&E)\tE",               {'E'},                         DOC | CF_UNLOCKED,          nullptr,                       cmd_editor},
  {CMD_SETTINGS,       CMD_SETTINGS,       "設定(&S)\tS",                       {'S'},                         MODAL,                      nullptr,                       cmd_settings},
  {CMD_PAGE_MODE,      CMD_PAGE_MODE,      "ページモード(&P)",                  {},                            0,                          &ViewSettings::page_mode,      cmd_toggle_page_mode},
  {CMD_PAGE_JUMP,      CMD_PAGE_JUMP,      "ページ移動...\tP",                  {'P'},                         DOC | MODAL,                nullptr,                       cmd_page_jump},
  {CMD_CLOSE,          CMD_CLOSE,          nullptr,                             {KEY_ESCAPE},                  0,                          nullptr,                       cmd_close},
  {CMD_RELOAD,         CMD_RELOAD,         nullptr,                             {KEY_F5},                      DOC,                        nullptr,                       cmd_reload},
  {CMD_ABOUT,          CMD_ABOUT,          "バージョン情報(&V)",                {},                            MODAL,                      nullptr,                       cmd_about},
  {CMD_HISTORY_FIRST,  CMD_HISTORY_LAST,   nullptr,                             {},                            0,                          nullptr,                       cmd_open_history_entry},
  // Extensions: the menu and keys reach them, other programs' numbers do not.
  {CMD_FULL_NOTATION,  CMD_FULL_NOTATION,  FULL_NOTATION_LABEL,                 {},                            DOC | CF_EXTENSION,         &ViewSettings::full_notation,  cmd_toggle_full_notation},
  {CMD_CONTENTS_FIRST, CMD_CONTENTS_LAST,  nullptr,                             {},                            DOC | CF_EXTENSION,         nullptr,                       cmd_jump_to_heading},
  {CMD_STATUS_STRIP,   CMD_STATUS_STRIP,   STATUS_STRIP_LABEL,                  {},                            CF_EXTENSION,               &ViewSettings::show_status,    cmd_toggle_status_strip},
  {CMD_FIND,           CMD_FIND,           FIND_LABEL,                          {KEY_SLASH},                   DOC | CF_EXTENSION,         nullptr,                       cmd_find},
  {CMD_FIND_NEXT,      CMD_FIND_NEXT,      nullptr,                             {KEY_F1 + 2},                  DOC | CF_EXTENSION,         nullptr,                       cmd_find_again},
  {CMD_FIND_PREVIOUS,  CMD_FIND_PREVIOUS,  nullptr,                             {KEY_F1 + 2 + KEY_WITH_SHIFT}, DOC | CF_EXTENSION,         nullptr,                       cmd_find_again},
  {CMD_FIND_LIST,      CMD_FIND_LIST,      FIND_LIST_LABEL,                     {},                            DOC | MODAL | CF_EXTENSION, nullptr,                       cmd_find_list},
  {CMD_ADD_BOOKMARK,   CMD_ADD_BOOKMARK,   ADD_BOOKMARK_LABEL,                  {'B'},                         DOC | MODAL | CF_EXTENSION, nullptr,                       cmd_add_bookmark},
  {CMD_BOOKMARKS,      CMD_BOOKMARKS,      BOOKMARKS_LABEL,                     {},                            DOC | MODAL | CF_EXTENSION, nullptr,                       cmd_bookmarks},
  {CMD_RUBY_FIRST,     CMD_RUBY_LAST,      nullptr,                             {},                            CF_EXTENSION,               nullptr,                       cmd_ruby_mode},
  {CMD_THEME_FIRST,    CMD_THEME_LAST,     nullptr,                             {},                            CF_EXTENSION,               nullptr,                       cmd_colour_set},
  {CMD_FOLLOW_DESKTOP, CMD_FOLLOW_DESKTOP, nullptr,                             {},                            CF_EXTENSION,               &ViewSettings::follow_desktop, cmd_follow_desktop},
  {CMD_FIT_WINDOW,     CMD_FIT_WINDOW,     FIT_WINDOW_LABEL,                    {},                            CF_EXTENSION,               &ViewSettings::fit_window,     cmd_fit_window},
  {CMD_FULL_SCREEN,    CMD_FULL_SCREEN,    FULL_SCREEN_LABEL,                   {KEY_F11},                     CF_EXTENSION,               nullptr,                       cmd_full_screen},
};
// clang-format on

bool binds(const CommandRow& row, int key) {
  for (int k : row.keys)
    if (k != 0 && k == key) return true;
  return false;
}

}  // namespace

std::span<const CommandRow> command_rows() {
  return COMMANDS;
}

const CommandRow* find_command(int number) {
  for (const CommandRow& row : COMMANDS)
    if (number >= row.number && number <= row.last) return &row;
  return nullptr;
}

const CommandRow* command_for_key(int key, int modifiers) {
  if (modifiers & platform::KEYMOD_SHIFT)
    for (const CommandRow& row : COMMANDS)
      if (binds(row, key | KEY_WITH_SHIFT)) return &row;
  for (const CommandRow& row : COMMANDS)
    if (binds(row, key)) return &row;
  return nullptr;
}

int row_enabled(const CommandRow& row, const ViewContext& v) {
  if ((row.flags & CF_DOCUMENT) && !v.doc.loaded) return 0;
  if ((row.flags & CF_UNLOCKED) && v.doc.locked) return 0;
  return 1;
}

void run_row(ViewContext& v, const CommandRow& row, int number) {
  if (!row_enabled(row, v)) return;
  settle_column(v);  // a command finds the picture where top_line says
  row.run(v, number);
}

}  // namespace yomite
