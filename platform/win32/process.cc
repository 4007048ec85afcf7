// Starting viewers and the editor with CreateProcess: one quoted command
// line, no handles inherited, the default environment and folder; a new
// viewer is waited for until it is idle for input, at most 2000 ms.
#include "platform/process.h"

#include <vector>

#include "platform/win32/command_line.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace yomite::platform {

namespace {

// Starts the command line; 1 with `info` holding the new process's handles.
int create(const std::vector<std::string>& args, PROCESS_INFORMATION& info) {
  if (args.empty() || args[0].empty()) return 0;
  std::wstring line = win32::command_line_of(args);
  STARTUPINFOW start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESHOWWINDOW;
  start.wShowWindow = SW_SHOWDEFAULT;
  return CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &start, &info)
             ? 1
             : 0;
}

void close_handles(PROCESS_INFORMATION& info) {
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
}

}  // namespace

std::string own_program_path() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return "";
    if (n < buf.size()) return win32::narrow(buf.c_str(), static_cast<int>(n));
    buf.resize(buf.size() * 2);
  }
}

int start_viewer_process(const std::vector<std::string>& args) {
  PROCESS_INFORMATION info{};
  if (!create(args, info)) return 0;
  WaitForInputIdle(info.hProcess, VIEWER_READY_WAIT_MS);
  close_handles(info);
  return 1;
}

int command_line_rules() {
  return COMMAND_LINE_WINDOWS;
}

int start_program(const std::vector<std::string>& args) {
  PROCESS_INFORMATION info{};
  if (!create(args, info)) return 0;
  close_handles(info);
  return 1;
}

}  // namespace yomite::platform
