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
  return (modifiers() & (platform::MOD_SHIFT | platform::MOD_CTRL)) != 0;
}

int page_keys(const ViewContext& v) {
  return v.page_mode && v.vertical;
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
  int t = v.line_count - 1;
  // Page mode shows the start of the last page.
  if (page_keys(v) && v.page_lines > 0) {
    const long long first = 1LL * v.page_lines * (v.line_count / v.page_lines);
    if (first < v.line_count) t = static_cast<int>(first);
  }
  jump_to(v, t);
}

void home(ViewContext& v) {
  if (shift_or_ctrl()) jump_to(v, 0);
}

// Columns run right to left: Left is forward.
void left(ViewContext& v) {
  if (!v.vertical) return;
  const int both = platform::MOD_SHIFT | platform::MOD_CTRL;
  if ((modifiers() & both) == both)
    start_auto_scroll(v, 1);
  else
    scroll_by(v, 1, 1);
}

void right(ViewContext& v) {
  if (!v.vertical) return;
  const int both = platform::MOD_SHIFT | platform::MOD_CTRL;
  if ((modifiers() & both) == both)
    start_auto_scroll(v, -1);
  else
    scroll_by(v, -1, 1);
}

void up(ViewContext& v) {
  if (!v.vertical) scroll_by(v, -1, 1);
}

void down(ViewContext& v) {
  if (!v.vertical) scroll_by(v, 1, 1);
}

void toggle_smooth(ViewContext& v) {
  v.smooth_scroll = !v.smooth_scroll;
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
    {VK_ESCAPE, 0, nullptr, CMD_CLOSE},
    {VK_SPACE, 0, toggle_smooth, 0},
    {VK_PRIOR, 1, page_up, 0},
    {VK_NEXT, 1, page_down, 0},
    {VK_END, 1, end, 0},
    {VK_HOME, 1, home, 0},
    {VK_LEFT, 1, left, 0},
    {VK_RIGHT, 1, right, 0},
    {VK_UP, 1, up, 0},
    {VK_DOWN, 1, down, 0},
    {'E', 0, nullptr, CMD_EDITOR},
    {'F', 0, nullptr, CMD_FONT},
    {'J', 0, nullptr, CMD_JUMP_MARK},
    {'M', 0, nullptr, CMD_SET_MARK},
    {'O', 0, nullptr, CMD_OPEN},
    {'P', 0, nullptr, CMD_PAGE_JUMP},
    {'S', 0, nullptr, CMD_SETTINGS},
    {'W', 0, nullptr, CMD_WIDTH},
    {VK_APPS, 0, context_menu, 0},
    {VK_F5, 0, nullptr, CMD_RELOAD},
    {VK_OEM_4, 0, nullptr, CMD_FONT_SMALLER},
    {VK_OEM_6, 0, nullptr, CMD_FONT_LARGER},
};

}  // namespace

void on_key(ViewContext& v, int key) {
  for (const KeyAction& k : KEY_TABLE) {
    if (k.key != key) continue;
    if (k.needs_document && !v.loaded) return;
    if (k.act)
      k.act(v);
    else
      run_command(v, k.command);
    return;
  }
  on_system_key(v, key);
}

int on_system_key(ViewContext& v, int key) {
  if (key != VK_F10 || !(modifiers() & platform::MOD_SHIFT)) return 0;
  show_context_menu(v, 0, 0);
  return 1;
}

void on_char(ViewContext& v, int c) {
  if (c >= '0' && c <= '9') v.smooth_dots = c - '0';
}

}  // namespace yomite
