// The recent-files history: the last files shown, most recent first, with
// the page of each file's mark, kept in the settings file's History section
// (keys 01F..20F hold the names in double quotes, 01M..20M the mark pages).
// Extension: 01P..20P hold the place each file was closed at (the text at
// its top, settings/anchor_text.h), written only for entries that have one.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/menu.h"
#include "settings/ini.h"
#include "view/view_context.h"

namespace yomite {

constexpr int HISTORY_ENTRIES = 20;
constexpr int HISTORY_ACCELERATED = 9;  // menu items with the accelerators 1..9

struct HistoryEntry {
  std::string file_name;  // full path; empty = free entry
  unsigned mark_page;     // 1-based page of the file's mark; 0 = none
  std::string place;      // where it was closed (an anchor's text); empty = none
};

using History = std::array<HistoryEntry, HISTORY_ENTRIES>;

// The name the history keeps for the shown file: the archive a text was
// unpacked from (its copy does not outlive the viewer), else the file.
const std::string& history_name(const ViewContext& view);

// Two names are the same file when they differ at most in ASCII letter case.
int same_file(const std::string& a, const std::string& b);

// The table as stored in `ini` (names longer than the platform's path
// limit are taken as free entries).
void history_from_ini(const IniFile& ini, History& history);

// Writes all 40 keys, empty entries included, and the places of the
// entries that have one (or whose key is there already).
void history_to_ini(const History& history, IniFile& ini);

// Puts `file_name` with `mark_page` at position 0: moved up when listed
// (the others keep their order), else inserted, dropping the oldest. Its
// place becomes `place` when given, else it keeps the one it had.
void history_touch(History& history, const std::string& file_name, unsigned mark_page,
                   const std::string* place = nullptr);

// Reads the names into `history` and, when the shown file is listed, its
// mark page into view.viewport.mark_page and its place into
// view.viewport.top_place.
void read_history(History& history, ViewContext& view, const std::string& path);
// The same from an already loaded settings file.
void read_history(History& history, ViewContext& view, const IniFile& ini);

// The table of this process: read at start-up and whenever the history
// submenu is built; the history commands open its entries.
History& process_history();

// On closing: merges the shown file (with view.viewport.mark_page, and with
// keep_place the text at the top: view.viewport.top_place) into the history
// in the file, re-read under the file's lock so that viewers closing at the
// same moment keep each other's entries. `history` receives the result.
// 1, or 0 when the file could not be written; nothing happens without a file.
int write_history(History& history, const ViewContext& view, const std::string& path);

// --- the history submenu, described for the backend ---------------------------

struct HistoryMenu {
  std::string title;  // "履歴(&H)"
  std::vector<platform::MenuItem> items;
};

// The submenu for `history` (read it first): "(なし)" grayed when empty,
// else one item per entry up to the first free one, ids first_id + position,
// the shown file checked.
HistoryMenu history_menu(const History& history, const ViewContext& view, int first_id);

}  // namespace yomite
