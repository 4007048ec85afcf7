// Files dropped from the shell: DragAcceptFiles, then WM_DROPFILES with the
// names (whole, however long) handed to the core.
#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "platform/win32/win32_window.h"
#include "viewer/messages.h"

namespace yomite::platform {

void window_accept_drops(Window* window) {
  if (window && window->hwnd) DragAcceptFiles(window->hwnd, TRUE);
}

void handle_dropped_files(Window& w, HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    DragQueryFileW(drop, i, name.data(), length + 1);
    name.resize(length);
    paths.push_back(win32::narrow(name));
  }
  DragFinish(drop);
  if (!paths.empty() && w.view) on_dropped_files(*w.view, paths);
}

}  // namespace yomite::platform
