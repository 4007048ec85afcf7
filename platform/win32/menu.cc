// The context menu: the core's items as a popup menu ("&" mnemonics and the
// "\t" key hints are the menu's own), tracked at a client point with
// TPM_RETURNCMD, so the chosen number comes back instead of a message.
#include "platform/menu.h"

#include "platform/win32/wide.h"
#include "platform/win32/win32_window.h"

namespace yomite::platform {

namespace {

HMENU make_menu(const std::vector<MenuItem>& items) {
  HMENU menu = CreatePopupMenu();
  for (const MenuItem& m : items) {
    if (m.separator) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (m.checked ? MF_CHECKED : 0) | (m.grayed ? MF_GRAYED : 0);
    UINT_PTR id = static_cast<UINT_PTR>(m.id);
    if (!m.submenu.empty()) {
      flags |= MF_POPUP;
      id = reinterpret_cast<UINT_PTR>(make_menu(m.submenu));  // destroyed with its parent
    }
    AppendMenuW(menu, flags, id, win32::widen(m.label).c_str());
  }
  return menu;
}

}  // namespace

int track_popup_menu(Window* owner, const std::vector<MenuItem>& items, int x, int y) {
  Window* window = owner ? owner : main_window();
  HWND hwnd = window && window->hwnd && IsWindow(window->hwnd) ? window->hwnd : nullptr;
  if (!hwnd || items.empty()) return 0;
  HMENU menu = make_menu(items);
  POINT at{win32::device_length(x, window->dpi), win32::device_length(y, window->dpi)};
  ClientToScreen(hwnd, &at);
  // A menu of a window that is not in front would not close on a click elsewhere.
  SetForegroundWindow(hwnd);
  const int chosen = static_cast<int>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x,
                     at.y, 0, hwnd, nullptr));
  PostMessageW(hwnd, WM_NULL, 0, 0);
  DestroyMenu(menu);
  return chosen;
}

}  // namespace yomite::platform
