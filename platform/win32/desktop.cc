// The desktop around the viewer on Windows: Notepad as the editor, the
// shell's "open" verb for link targets, and which files would run.
#include <string>

#include "platform/desktop.h"
#include "platform/path_names.h"
#include "platform/win32/late_library.h"
#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"

namespace yomite::platform {

namespace {

constexpr const char* DEFAULT_EDITOR = "notepad.exe";

// Extensions the shell runs (or hands to an interpreter) rather than shows.
constexpr const char* RUNNABLE_EXTENSIONS[] = {
    ".exe", ".com", ".bat",  ".cmd", ".pif", ".scr", ".lnk",         ".url", ".vbs",
    ".vbe", ".js",  ".jse",  ".wsf", ".wsh", ".msi", ".msp",         ".msc", ".cpl",
    ".hta", ".ps1", ".psm1", ".reg", ".inf", ".jar", ".application", ".scf", ".appref-ms",
};

std::string lower_ascii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

}  // namespace

std::string default_text_editor() {
  return DEFAULT_EDITOR;
}

int open_with_default_handler(const std::string& target) {
  static const auto execute =
      win32::late_function<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
  if (!execute) return 0;
  const std::wstring wide = win32::widen(target);
  const auto result = reinterpret_cast<INT_PTR>(
      execute(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32 ? 1 : 0;
}

int is_runnable_file(const std::string& path) {
  const std::string name = lower_ascii(file_name_part(path));
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return 0;
  const std::string extension = name.substr(dot);
  for (const char* e : RUNNABLE_EXTENSIONS)
    if (extension == e) return 1;
  // And whatever this system adds to the programs it finds by name.
  wchar_t buf[4096];
  const DWORD n = GetEnvironmentVariableW(L"PATHEXT", buf, 4096);
  if (n == 0 || n >= 4096) return 0;
  const std::string list = ";" + lower_ascii(win32::narrow(buf, static_cast<int>(n))) + ";";
  return list.find(";" + extension + ";") != std::string::npos ? 1 : 0;
}

}  // namespace yomite::platform
