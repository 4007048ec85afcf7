// The queue as the automatic scroll sees it: one message at a time without
// waiting, keys and button presses handed over, everything else served; and
// the keyboard's state, the beep and the clock.
#include "platform/win32/win32_window.h"

namespace yomite::platform {

namespace {

int hand_over(Window& w, PendingEvent* event) {
  *event = w.queue.front();
  w.queue.pop_front();
  return 1;
}

int gone(PendingEvent* event) {
  *event = PendingEvent{};
  event->kind = PENDING_WINDOW_GONE;
  return 1;
}

}  // namespace

int take_pending_event(Window* window, PendingEvent* event) {
  if (!window || !window->hwnd) return gone(event);
  if (!window->queue.empty()) return hand_over(*window, event);
  MSG msg;
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return 0;
  if (msg.message == WM_QUIT) {
    PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop outside
    return gone(event);
  }
  const int was_queueing = window->queueing;
  window->queueing = 1;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  window->queueing = was_queueing;
  if (!window->hwnd) return gone(event);
  if (!window->queue.empty()) return hand_over(*window, event);
  *event = PendingEvent{};
  event->kind = PENDING_SERVED;
  return 1;
}

int modifiers_down() {
  int m = 0;
  if (GetKeyState(0x10) < 0) m |= KEYMOD_SHIFT;  // KEY_SHIFT
  if (GetKeyState(0x11) < 0) m |= KEYMOD_CTRL;   // KEY_CTRL
  return m;
}

void beep() {
  MessageBeep(MB_OK);
}

void sleep_ms(int ms) {
  if (ms > 0) Sleep(static_cast<DWORD>(ms));
}

unsigned tick_ms() {
  return GetTickCount();
}

}  // namespace yomite::platform
