#include "settings/history.h"

#include <cstdio>

#include "platform/files.h"
#include "platform/path_names.h"
#include "settings/anchor_text.h"
#include "settings/settings.h"

namespace yomite {

namespace {

std::string key(int position, char kind) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d%c", position + 1, kind);
  return buf;
}

std::string escape_ampersands(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '&') out += '&';
    out += c;
  }
  return out;
}

struct TouchCall {
  History* history;
  const ViewContext* view;
};

void touch_edit(IniFile& ini, void* context) {
  auto* call = static_cast<TouchCall*>(context);
  const ViewContext& v = *call->view;
  history_from_ini(ini, *call->history);
  const std::string place = format_anchor(v.viewport.top_place.anchor);
  history_touch(*call->history, history_name(v), static_cast<unsigned>(v.viewport.mark_page),
                v.settings.keep_place ? &place : nullptr);
  history_to_ini(*call->history, ini);
}

}  // namespace

int same_file(const std::string& a, const std::string& b) {
  return equal_ignoring_ascii_case(a, b);
}

void history_from_ini(const IniFile& ini, History& history) {
  for (int p = 0; p < HISTORY_ENTRIES; ++p) {
    HistoryEntry& e = history[static_cast<std::size_t>(p)];
    e.file_name = ini_get(ini, "History", key(p, 'F'), "");
    // A name we could not store again as one value is no name we wrote.
    if (e.file_name.size() >= static_cast<std::size_t>(platform::PATH_BYTES) ||
        e.file_name.find_first_of("\r\n") != std::string::npos)
      e.file_name.clear();
    e.mark_page = static_cast<unsigned>(parse_decimal(ini_get(ini, "History", key(p, 'M'), "0")));
    e.place = ini_get(ini, "History", key(p, 'P'), "");
  }
}

void history_to_ini(const History& history, IniFile& ini) {
  for (int p = 0; p < HISTORY_ENTRIES; ++p) {
    const HistoryEntry& e = history[static_cast<std::size_t>(p)];
    ini_set(ini, "History", key(p, 'F'), "\"" + e.file_name + "\"");
    ini_set(ini, "History", key(p, 'M'), std::to_string(e.mark_page));
    const char* absent = "\x01";
    if (!e.place.empty() || ini_get(ini, "History", key(p, 'P'), absent) != absent)
      ini_set(ini, "History", key(p, 'P'), e.place);
  }
}

void history_touch(History& history, const std::string& file_name, unsigned mark_page,
                   const std::string* place) {
  int k = HISTORY_ENTRIES - 1;  // not listed: the oldest entry makes room
  for (int p = 0; p < HISTORY_ENTRIES; ++p)
    if (same_file(history[static_cast<std::size_t>(p)].file_name, file_name)) {
      k = p;
      break;
    }
  HistoryEntry entry = history[static_cast<std::size_t>(k)];
  if (!same_file(entry.file_name, file_name)) entry = HistoryEntry{file_name, 0, ""};
  entry.mark_page = mark_page;
  if (place) entry.place = *place;
  for (int p = k; p > 0; --p)
    history[static_cast<std::size_t>(p)] = history[static_cast<std::size_t>(p - 1)];
  history[0] = entry;
}

const std::string& history_name(const ViewContext& view) {
  return view.doc.archive_name.empty() ? view.doc.file_name : view.doc.archive_name;
}

void read_history(History& history, ViewContext& view, const std::string& path) {
  IniFile ini;
  ini_load(path, ini);
  read_history(history, view, ini);
}

void read_history(History& history, ViewContext& view, const IniFile& ini) {
  history_from_ini(ini, history);
  if (history_name(view).empty()) return;
  for (const HistoryEntry& e : history)
    if (same_file(e.file_name, history_name(view))) {
      view.viewport.mark_page = static_cast<int>(e.mark_page);
      // Found again by the open step (a file that changed may not hold it).
      view.viewport.top_place = KeptPlace{};
      parse_anchor(e.place, view.viewport.top_place.anchor);
      break;
    }
}

int write_history(History& history, const ViewContext& view, const std::string& path) {
  // A name with a line break cannot be stored as one value; such a file is
  // left out rather than splitting the section.
  const std::string& name = history_name(view);
  if (name.empty() || name.find_first_of("\r\n") != std::string::npos) return 1;
  TouchCall call{&history, &view};
  return ini_update(path, touch_edit, &call);
}

History& process_history() {
  static History history;
  return history;
}

HistoryMenu history_menu(const History& history, const ViewContext& view, int first_id) {
  HistoryMenu menu{"履歴(&H)", {}};
  if (history[0].file_name.empty()) {
    platform::MenuItem none;
    none.id = first_id;
    none.label = "(なし)";
    none.grayed = 1;
    menu.items.push_back(none);
    return menu;
  }
  for (int p = 0; p < HISTORY_ENTRIES; ++p) {
    const std::string& name = history[static_cast<std::size_t>(p)].file_name;
    if (name.empty()) break;
    std::string shown = escape_ampersands(platform::file_name_part(name));  // the last component
    std::string label =
        p < HISTORY_ACCELERATED ? "&" + std::to_string(p + 1) + " " + shown : "   " + shown;
    platform::MenuItem item;
    item.id = first_id + p;
    item.label = label;
    item.checked = same_file(name, history_name(view));
    menu.items.push_back(item);
  }
  return menu;
}

}  // namespace yomite
