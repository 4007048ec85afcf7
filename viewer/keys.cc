// The key table: each key, what it needs, and what it does.
#include "viewer/keys.h"

#include <algorithm>

#include "platform/window.h"
#include "viewer/commands.h"
#include "viewer/scrolling.h"

namespace yomite {

namespace {

int modifiers() {
  return platform::modifiers_down();
}

int shift_or_ctrl() {
  return (modifiers() & (platform::KEYMOD_SHIFT | platform::KEYMOD_CTRL)) != 0;
}

int page_keys(const ViewContext& v) {
  return v.settings.page_mode && v.typeset.vertical;
}

void page_up(ViewContext& v) {
  if (!page_keys(v)) {
    scroll_by(v, -visible_lines(v), 1);
    return;
  }
  const int t = previous_page_top(v);
  if (t >= 0) jump_to(v, t);
}

void page_down(ViewContext& v) {
  if (!page_keys(v)) {
    scroll_by(v, visible_lines(v), 1);
    return;
  }
  const int t = next_page_top(v);
  if (t >= 0) jump_to(v, t);
}

void end(ViewContext& v) {
  if (!shift_or_ctrl()) return;
  int t = v.doc.line_count - 1;
  // Page mode shows the start of the last page.
  if (page_keys(v) && v.settings.page_lines > 0) {
    const long long first = 1LL * v.settings.page_lines * (v.doc.line_count / v.settings.page_lines);
    if (first < v.doc.line_count) t = static_cast<int>(first);
  }
  jump_to(v, t);
}

void home(ViewContext& v) {
  if (shift_or_ctrl()) jump_to(v, 0);
}

// Columns run right to left: Left is forward.
void left(ViewContext& v) {
  if (!v.typeset.vertical) return;
  const int both = platform::KEYMOD_SHIFT | platform::KEYMOD_CTRL;
  if ((modifiers() & both) == both)
    start_auto_scroll(v, 1);
  else
    scroll_by(v, 1, 1);
}

void right(ViewContext& v) {
  if (!v.typeset.vertical) return;
  const int both = platform::KEYMOD_SHIFT | platform::KEYMOD_CTRL;
  if ((modifiers() & both) == both)
    start_auto_scroll(v, -1);
  else
    scroll_by(v, -1, 1);
}

void up(ViewContext& v) {
  if (!v.typeset.vertical) scroll_by(v, -1, 1);
}

void down(ViewContext& v) {
  if (!v.typeset.vertical) scroll_by(v, 1, 1);
}

void toggle_smooth(ViewContext& v) {
  v.settings.smooth_scroll = !v.settings.smooth_scroll;
}

void context_menu(ViewContext& v) {
  show_context_menu(v, 0, 0);
}

struct KeyAction {
  int key;
  int needs_document;
  void (*act)(ViewContext&);
  int command;  // when act is null
};

// Letter keys act whatever modifier is held; keys not listed do nothing.
constexpr KeyAction KEY_TABLE[] = {
    {KEY_ESCAPE, 0, nullptr, CMD_CLOSE},
    {KEY_SPACE, 0, toggle_smooth, 0},
    {KEY_PAGE_UP, 1, page_up, 0},
    {KEY_PAGE_DOWN, 1, page_down, 0},
    {KEY_END, 1, end, 0},
    {KEY_HOME, 1, home, 0},
    {KEY_LEFT, 1, left, 0},
    {KEY_RIGHT, 1, right, 0},
    {KEY_UP, 1, up, 0},
    {KEY_DOWN, 1, down, 0},
    {'E', 0, nullptr, CMD_EDITOR},
    {'F', 0, nullptr, CMD_FONT},
    {'J', 0, nullptr, CMD_JUMP_MARK},
    {'M', 0, nullptr, CMD_SET_MARK},
    {'O', 0, nullptr, CMD_OPEN},
    {'P', 0, nullptr, CMD_PAGE_JUMP},
    {'S', 0, nullptr, CMD_SETTINGS},
    {'W', 0, nullptr, CMD_WIDTH},
    {KEY_MENU, 0, context_menu, 0},
    {KEY_F5, 0, nullptr, CMD_RELOAD},
    {KEY_OPEN_BRACKET, 0, nullptr, CMD_FONT_SMALLER},
    {KEY_CLOSE_BRACKET, 0, nullptr, CMD_FONT_LARGER},
};

}  // namespace

void on_key(ViewContext& v, int key) {
  for (const KeyAction& k : KEY_TABLE) {
    if (k.key != key) continue;
    if (k.needs_document && !v.doc.loaded) return;
    if (k.act)
      k.act(v);
    else
      run_command(v, k.command);
    return;
  }
  on_system_key(v, key);
}

int on_system_key(ViewContext& v, int key) {
  if (key != KEY_F10 || !(modifiers() & platform::KEYMOD_SHIFT)) return 0;
  show_context_menu(v, 0, 0);
  return 1;
}

void on_char(ViewContext& v, int c) {
  if (c >= '0' && c <= '9') v.settings.smooth_dots = c - '0';
}

}  // namespace yomite
