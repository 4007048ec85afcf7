// Trace transport: WM_COPYDATA to the trace window, a top-level window of the
// class "PellDebugWClass" found once at start-up.
#include "platform/trace_sink.h"

#include <windows.h>

namespace yomite::platform {

namespace {

constexpr const wchar_t* TRACE_WINDOW_CLASS = L"PellDebugWClass";

HWND g_receiver = nullptr;

}  // namespace

bool trace_sink_connect() {
  if (!g_receiver) g_receiver = FindWindowW(TRACE_WINDOW_CLASS, nullptr);
  return g_receiver != nullptr;
}

void trace_sink_disconnect() {
  g_receiver = nullptr;
}

void trace_sink_send(const char* data, unsigned size) {
  if (!g_receiver) return;
  COPYDATASTRUCT copy;
  copy.dwData = 0;
  copy.cbData = size;
  copy.lpData = const_cast<char*>(data);
  // Synchronous: the call returns once the trace window has the text. A
  // window that went away makes it fail, which nobody depends on.
  SendMessageW(g_receiver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
}

}  // namespace yomite::platform
