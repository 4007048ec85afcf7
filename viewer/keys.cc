// The keys that move, and the door every key goes through: the automatic
// scroll takes keys while it runs, then the keys that move, then the command
// table's bindings.
#include "viewer/keys.h"

#include <algorithm>

#include "platform/window.h"
#include "viewer/command_table.h"
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

int shift_and_ctrl() {
  const int both = platform::KEYMOD_SHIFT | platform::KEYMOD_CTRL;
  return (modifiers() & both) == both;
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
    const long long first =
        1LL * v.settings.page_lines * (v.doc.line_count / v.settings.page_lines);
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
  if (shift_and_ctrl())
    start_auto_scroll(v, 1);
  else
    scroll_by(v, 1, 1);
}

void right(ViewContext& v) {
  if (!v.typeset.vertical) return;
  if (shift_and_ctrl())
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

void context_menu(ViewContext& v) {
  show_context_menu(v, 0, 0);
}

struct MotionKey {
  int key;
  int needs_document;
  void (*act)(ViewContext&);
};

// Keys that are no numbered command; keys in neither table do nothing.
constexpr MotionKey MOTION_KEYS[] = {
    {KEY_PAGE_UP, 1, page_up}, {KEY_PAGE_DOWN, 1, page_down}, {KEY_END, 1, end},
    {KEY_HOME, 1, home},       {KEY_LEFT, 1, left},           {KEY_RIGHT, 1, right},
    {KEY_UP, 1, up},           {KEY_DOWN, 1, down},           {KEY_MENU, 0, context_menu},
};

}  // namespace

void on_key(ViewContext& v, int key) {
  if (auto_scroll_takes_key(v, key)) return;
  for (const MotionKey& k : MOTION_KEYS) {
    if (k.key != key) continue;
    if (!k.needs_document || v.doc.loaded) k.act(v);
    return;
  }
  if (const CommandRow* row = command_for_key(key, modifiers())) {
    // A key runs what its number runs: the extensions' rows too.
    run_row(v, *row, row->number);
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
  if (v.viewport.auto_scroll.active) return;  // the automatic scroll took the key
  if (c >= '0' && c <= '9') v.settings.smooth_dots = c - '0';
}

}  // namespace yomite
