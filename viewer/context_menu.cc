// The context menu, the viewer's only menu: built fresh each time it opens,
// with the current state as checks and what cannot act now grayed.
#include <cstdio>

#include "settings/history.h"
#include "settings/settings.h"
#include "trace/trace.h"
#include "viewer/commands.h"
#include "viewer/contents.h"

namespace yomite {

namespace {

using platform::MenuItem;

MenuItem command(const ViewContext& v, int id, const char* label, int checked = 0) {
  MenuItem item;
  item.id = id;
  item.label = label;
  item.checked = checked;
  item.grayed = !command_enabled(v, id);
  return item;
}

MenuItem separator() {
  MenuItem item;
  item.separator = 1;
  return item;
}

MenuItem submenu(const std::string& label, std::vector<MenuItem> items) {
  MenuItem item;
  item.label = label;
  item.submenu = std::move(items);
  return item;
}

MenuItem history_submenu(ViewContext& v) {
  History& history = process_history();
  read_history(history, v, settings_path());
  HistoryMenu menu = history_menu(history, v, CMD_HISTORY_FIRST);
  return submenu(menu.title, std::move(menu.items));
}

// The full notation's headings, when it laid the document out.
MenuItem contents_submenu(const ViewContext& v) {
  HistoryMenu menu = contents_menu(v);
  return submenu(menu.title, std::move(menu.items));
}

MenuItem full_notation_item(const ViewContext& v) {
  MenuItem item;
  item.id = CMD_FULL_NOTATION;
  item.label = FULL_NOTATION_LABEL;
  item.checked = v.settings.full_notation ? 1 : 0;
  item.grayed = !v.doc.loaded;
  return item;
}

MenuItem dots_submenu(const ViewContext& v) {
  std::vector<MenuItem> dots;
  for (int n = 1; n <= 9; ++n) {
    const std::string label = std::to_string(n);
    dots.push_back(command(v, CMD_SMOOTH + n, label.c_str(), v.settings.smooth_dots == n));
  }
  char label[64];
  std::snprintf(label, sizeof label, "ｽﾑｰｽｽｸﾛｰﾙﾄﾞｯﾄ数(%d)", v.settings.smooth_dots);
  return submenu(label, std::move(dots));
}

}  // namespace

// The history is read again each time (and with it the shown file's mark page).
std::vector<MenuItem> context_menu_items(ViewContext& v) {
  std::vector<MenuItem> items = {
      command(v, CMD_OPEN, "開く(&O)...\tO"),
      history_submenu(v),
      separator(),
      command(v, CMD_SMOOTH, "スムーススクロール", v.settings.smooth_scroll),
      dots_submenu(v),
      command(v, CMD_PAGE_MODE, "ページモード(&P)", v.settings.page_mode),
      command(v, CMD_PAGE_JUMP, "ページ移動...\tP"),
      separator(),
      command(v, CMD_TEXT_COLOR, "文字色(&C)..."),
      command(v, CMD_BACK_COLOR, "背景色(&B)..."),
      command(v, CMD_LINK_COLOR, "リンク色(&L)..."),
      separator(),
      command(v, CMD_FONT, "フォント変更(&F)...\tF"),
      command(v, CMD_FONT_LARGER, "フォント大\t]"),
      command(v, CMD_FONT_SMALLER, "フォント小\t["),
      separator(),
      command(v, CMD_WIDTH, "幅変更(&W)...\tW"),
      separator(),
      command(v, CMD_MARKUP, "特殊メモon/off(&T)", v.settings.markup_enabled),
      command(v, CMD_SET_MARK, "マーク(&M)\tM"),
      command(v, CMD_JUMP_MARK, "マークへジャンプ(&J)\tJ"),
      separator(),
      command(v, CMD_EDITOR, "エディタ起動(&E)\tE"),
      command(v, CMD_SETTINGS, "設定(&S)\tS"),
      command(v, CMD_MAKE_STANDARD, "現在のフォント/幅を標準にする(&Z)"),
      command(v, CMD_ABOUT, "バージョン情報(&V)"),
  };
  // Extensions: the full notation's switch after the markup switch, and its
  // table of contents after the page jump while it is on.
  auto after = [&items](const char* label) {
    for (std::size_t i = 0; i < items.size(); ++i)
      if (items[i].label == label) return items.begin() + static_cast<std::ptrdiff_t>(i) + 1;
    return items.end();
  };
  items.insert(after("特殊メモon/off(&T)"), full_notation_item(v));
  if (v.settings.full_notation && v.doc.loaded) items.insert(after("ページ移動...\tP"), contents_submenu(v));
  return items;
}

void show_context_menu(ViewContext& v, int x, int y) {
  const int chosen = platform::track_popup_menu(v.viewport.window, context_menu_items(v), x, y);
  trace("menu=%d ", chosen);
  if (chosen == 0) return;
  if (is_extension_item(chosen))
    run_extension_item(v, chosen);
  else
    run_command(v, chosen);
}

}  // namespace yomite
