// The full notation's table of contents (an extension) and the command ids
// its menu items take. The ids lie outside every numbered range of the
// command table (100-139, 200-219), so no standard number changes meaning.
#pragma once

#include <string>
#include <vector>

#include "settings/history.h"
#include "view/view_context.h"

namespace yomite {

// The check item "注記を組版する(&A)" in the context menu, after
// "特殊メモon/off(&T)": toggles view.settings.full_notation and reloads.
constexpr int CMD_FULL_NOTATION = 1000;
// The "目次" submenu: heading k of view.doc.headings is CMD_CONTENTS_FIRST + k.
constexpr int CMD_CONTENTS_FIRST = 1001;
constexpr int CMD_CONTENTS_LAST = 1999;
constexpr int CONTENTS_MENU_ITEMS = CMD_CONTENTS_LAST - CMD_CONTENTS_FIRST + 1;

constexpr const char* CONTENTS_MENU_TITLE = "目次";
constexpr const char* FULL_NOTATION_LABEL = "注記を組版する(&A)";

// The headings of the laid-out document in reading order: level
// (HEADING_LARGE 1 .. HEADING_SMALL 3), text, and the display line each
// starts on. Empty unless the full notation laid the document out.
const std::vector<HeadingEntry>& table_of_contents(const ViewContext& view);

// The display line a contents command jumps to (its heading's line), or -1
// when `command` is no contents command of this document.
int contents_target_line(const ViewContext& view, int command);

// The "目次" submenu as data: one item per heading (at most
// CONTENTS_MENU_ITEMS), indented by its level with ideographic spaces, "&"
// doubled; the heading the view's top line belongs to checked. "(なし)" grayed
// when there is none.
HistoryMenu contents_menu(const ViewContext& view);

}  // namespace yomite
