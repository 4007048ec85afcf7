// The shown file: its full path, its mark from the history, archives unpacked.
#include "viewer/startup.h"

#include "document/archive.h"
#include "platform/files.h"
#include "platform/path_names.h"

namespace yomite {

constexpr const char* PROGRAM_TITLE = "Yomite";

int make_full_path(std::string& name) {
  std::string full;
  if (!platform::full_path(name, full)) return 0;
  name = full;
  return 1;
}

void take_file(ViewContext& view, const std::string& file, History& history,
               const std::string& settings_path) {
  view.doc.file_name = file;
  if (!view.doc.file_name.empty()) make_full_path(view.doc.file_name);
  // Also without a file: the recent-files commands open the entries read here.
  read_history(history, view, settings_path);
  if (!view.doc.file_name.empty()) replace_archive_by_entry(view);
  view.settings.markup_enabled = 1;
}

const char* file_refusal(const ViewContext& view) {
  if (view.doc.file_name.empty()) return nullptr;
  switch (platform::check_regular_file(view.doc.file_name.c_str())) {
    case platform::FILE_FINE:
      return nullptr;
    case platform::FILE_MISSING:
      return "見つかりません";
    case platform::FILE_DIRECTORY:
      return "フォルダーです";
    default:
      return "読めません";
  }
}

std::string window_title(const std::string& file) {
  const std::string base = platform::file_name_part(file);
  return base.empty() ? PROGRAM_TITLE : base + " - " + PROGRAM_TITLE;
}

}  // namespace yomite
