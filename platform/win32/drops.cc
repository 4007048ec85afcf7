// Files dropped from the shell: the window accepts them (the style
// DragAcceptFiles sets, without loading the shell at start-up), then
// WM_DROPFILES with the names (whole, however long) handed to the core.
#include <string>
#include <vector>

#include "platform/win32/late_library.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_window.h"
#include "viewer/messages.h"

namespace yomite::platform {

void window_accept_drops(Window* window) {
  if (!window || !window->hwnd) return;
  const LONG_PTR style = GetWindowLongPtrW(window->hwnd, GWL_EXSTYLE);
  SetWindowLongPtrW(window->hwnd, GWL_EXSTYLE, style | WS_EX_ACCEPTFILES);
}

void handle_dropped_files(Window& w, HDROP drop) {
  static const auto query =
      win32::late_function<decltype(&DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
  static const auto finish =
      win32::late_function<decltype(&DragFinish)>(L"shell32.dll", "DragFinish");
  std::vector<std::string> paths;
  const UINT count = query ? query(drop, 0xFFFFFFFF, nullptr, 0) : 0;
  for (UINT i = 0; i < count; ++i) {
    const UINT length = query(drop, i, nullptr, 0);
    std::wstring name(length + 1, L'\0');
    query(drop, i, name.data(), length + 1);
    name.resize(length);
    paths.push_back(win32::narrow(name));
  }
  if (finish) finish(drop);
  if (!paths.empty() && w.view) on_dropped_files(*w.view, paths);
}

}  // namespace yomite::platform
