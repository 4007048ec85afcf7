#include "viewer/contents.h"

#include "decode/decode.h"
#include "viewer/command_handlers.h"
#include "viewer/commands.h"
#include "viewer/scrolling.h"

namespace yomite {

namespace {

std::string menu_label(const HeadingEntry& h) {
  std::string label;
  for (int level = HEADING_LARGE; level < h.level; ++level) label += "　";
  for (char c : utf16_to_utf8(h.text.data(), h.text.size())) {
    if (c == '&') label += '&';  // a literal '&', not an accelerator
    label += c;
  }
  return label;
}

// The last heading at or before the top line: where the reader is.
int current_heading(const std::vector<HeadingEntry>& headings, int top_line) {
  int current = -1;
  for (std::size_t k = 0; k < headings.size() && headings[k].line <= top_line; ++k)
    current = static_cast<int>(k);
  return current;
}

platform::MenuItem item(int id, std::string label, int checked, int grayed) {
  platform::MenuItem m;
  m.id = id;
  m.label = std::move(label);
  m.checked = checked;
  m.grayed = grayed;
  return m;
}

}  // namespace

const std::vector<HeadingEntry>& table_of_contents(const ViewContext& view) {
  return view.doc.headings;
}

int contents_target_line(const ViewContext& view, int command) {
  if (command < CMD_CONTENTS_FIRST || command > CMD_CONTENTS_LAST) return -1;
  std::size_t k = static_cast<std::size_t>(command - CMD_CONTENTS_FIRST);
  return k < view.doc.headings.size() ? view.doc.headings[k].line : -1;
}

HistoryMenu contents_menu(const ViewContext& view) {
  HistoryMenu menu{CONTENTS_MENU_TITLE, {}};
  const std::vector<HeadingEntry>& headings = view.doc.headings;
  if (headings.empty()) {
    menu.items.push_back(item(CMD_CONTENTS_FIRST, "(なし)", 0, 1));
    return menu;
  }
  int current = current_heading(headings, view.viewport.top_line);
  for (std::size_t k = 0; k < headings.size() && k < CONTENTS_MENU_ITEMS; ++k)
    menu.items.push_back(item(CMD_CONTENTS_FIRST + static_cast<int>(k), menu_label(headings[k]),
                              static_cast<int>(k) == current ? 1 : 0, 0));
  return menu;
}

void cmd_toggle_full_notation(ViewContext& v, int) {
  v.settings.full_notation = !v.settings.full_notation;
  reopen_document(v, 0);
}

void cmd_jump_to_heading(ViewContext& v, int number) {
  const int line = contents_target_line(v, number);
  if (line >= 0) jump_to(v, line);
}

}  // namespace yomite
