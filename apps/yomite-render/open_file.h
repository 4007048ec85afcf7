// Opening a file for yomite-render the way the viewer opens it: settings
// file (read only), the viewer's options, full path, the history's mark, the
// archive step, real fonts, and a window that exists only as a size.
#pragma once

#include <string>
#include <vector>

#include "apps/yomite-render/render_args.h"
#include "settings/history.h"
#include "view/view_context.h"

namespace yomite::render {

struct RenderSession {
  ViewContext* view = nullptr;  // laid out; view->viewport.window is the headless window
  History history;
  std::vector<std::string> warnings;  // for the user; the command goes on
};

// 1 with the laid-out view, or 0 with `error` set: no file, one that is no
// regular readable file, an output that would overwrite it, or a locked
// text that the password (none, or --password) does not open.
int open_for_render(const RenderArgs& args, RenderSession& session, std::string& error);

// Frees the view and removes an archive's unpacked text. Call it whatever
// open_for_render returned.
void close_render(RenderSession& session);

}  // namespace yomite::render
