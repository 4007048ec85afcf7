// Time and the keyboard's state for the core: the tick it asks for (run by
// the event loop, window.cc), the clock, the bell and the modifiers.
#include "platform/win32/win32_window.h"

namespace yomite::platform {

void window_request_tick(Window* window, int ms) {
  if (!window || !window->hwnd) return;
  window->tick_wanted = 1;
  window->tick_due = GetTickCount() + static_cast<DWORD>(ms > 0 ? ms : 0);
}

DWORD tick_wait(const Window& w) {
  if (!w.tick_wanted) return INFINITE;
  const int wait = static_cast<int>(w.tick_due - GetTickCount());
  return wait > 0 ? static_cast<DWORD>(wait) : 0;
}

int modifiers_down() {
  int m = 0;
  if (GetKeyState(VK_SHIFT) < 0) m |= KEYMOD_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) m |= KEYMOD_CTRL;
  return m;
}

void beep() {
  MessageBeep(MB_OK);
}

unsigned tick_ms() {
  return GetTickCount();
}

}  // namespace yomite::platform
