// Messages between viewers: the registered window messages "Yomite-Init"
// (re-read the settings; broadcast after every settings write) and
// "Yomite-Command" (wParam: a command number from 100 on, else a query; for
// the query 1 the file name is sent to the window in lParam with WM_SETTEXT;
// the extensions' queries answer the same way, and those that take a text
// read it from that window's title).
#include "platform/messages.h"

#include "platform/desktop.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_window.h"
#include "viewer/messages.h"

namespace yomite {

// The sender of a query: the window in lParam (0: none).
struct platform::MessageSender {
  HWND window = nullptr;
};

namespace platform {

namespace {

UINT g_init = 0;
UINT g_command = 0;
int g_open = 0;

}  // namespace

void register_messages() {
  if (!g_init) g_init = RegisterWindowMessageW(L"Yomite-Init");
  if (!g_command) g_command = RegisterWindowMessageW(L"Yomite-Command");
}

UINT init_message() {
  return g_init;
}

UINT command_message() {
  return g_command;
}

int messages_open(ViewContext*) {
  register_messages();
  g_open = g_init != 0 || g_command != 0;
  return g_open;
}

void messages_close() {
  g_open = 0;
}

int handle_viewer_message(Window& w, UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  if (!g_open || message == 0 || !w.view) return 0;
  if (message == g_command) {
    MessageSender sender{reinterpret_cast<HWND>(lparam)};
    *result = on_command_message(*w.view, static_cast<int>(wparam), &sender);
    return 1;
  }
  if (message == g_init) {
    on_settings_changed(*w.view);
    *result = 0;
    return 1;
  }
  return 0;
}

// The text a request comes with is the sender window's title.
std::string sender_argument(MessageSender* sender) {
  if (!sender || !sender->window || !IsWindow(sender->window)) return "";
  const int n = GetWindowTextLengthW(sender->window);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  GetWindowTextW(sender->window, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(n));
  return win32::narrow(text);
}

int send_text_to(MessageSender* sender, const std::string& text) {
  if (!sender || !sender->window || !IsWindow(sender->window)) return 0;
  const std::wstring wide = win32::widen(text);
  SendMessageW(sender->window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  return 1;
}

void notify_settings_changed() {
  register_messages();
  if (g_init) PostMessageW(HWND_BROADCAST, g_init, 0, 0);
}

}  // namespace platform
}  // namespace yomite
