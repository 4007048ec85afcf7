// Start-up steps between the command line and the open step: the file named
// on the command line becomes the view's file.
#pragma once

#include <string>

#include "settings/history.h"
#include "view/view_context.h"

namespace yomite {

// Replaces `name` by its full path; 1, or 0 when that cannot be made (the
// name is then left as it is).
int make_full_path(std::string& name);

// file_name := the full path of `file`; the history's mark page for it (read
// from the settings file at `settings_path`); a ".zip" replaced by its first
// entry; markup on. An empty `file` still reads the history (for the
// recent-files commands).
void take_file(ViewContext& view, const std::string& file, History& history,
               const std::string& settings_path);

// Why the file named on the command line cannot be shown, as the caption of
// the message that says so ("見つかりません", "フォルダーです", "読めません"), or
// null when it can (or no file was named).
const char* file_refusal(const ViewContext& view);

// "NAME.EXT - Yomite", or "Yomite" with no file; an archive keeps its own name.
std::string window_title(const std::string& file);

}  // namespace yomite
