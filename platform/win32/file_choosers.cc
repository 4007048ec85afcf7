// Choosing a file to open and a program for the editor command, with the
// common open-file dialog.
#include "platform/choosers.h"
#include "platform/files.h"
#include "platform/win32/late_library.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_window.h"

namespace yomite::platform {

namespace {

constexpr DWORD PATH_CHARS = 32768;  // no 260-character cut

// "name\0patterns\0...\0\0"
std::wstring filter_string(const std::vector<FileFilter>& filters) {
  std::wstring out;
  for (const FileFilter& f : filters) {
    out += win32::widen(f.name);
    out += L'\0';
    out += win32::widen(f.patterns);
    out += L'\0';
  }
  out += L'\0';
  return out;
}

int run_chooser(Window* owner, const std::string& title, const std::vector<FileFilter>& filters,
                const std::string& folder, std::string& path) {
  const std::wstring filter = filter_string(filters);
  const std::wstring start = win32::widen(folder);
  const std::wstring caption = win32::widen(title);
  std::wstring file(PATH_CHARS, L'\0');
  OPENFILENAMEW o{};
  o.lStructSize = sizeof o;
  o.hwndOwner = owner_hwnd(owner);
  o.lpstrFilter = filter.c_str();
  o.nFilterIndex = 1;
  o.lpstrFile = file.data();
  o.nMaxFile = PATH_CHARS;
  o.lpstrTitle = caption.c_str();
  o.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
  o.Flags =
      OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  static const auto open =
      win32::late_function<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
  if (!open || !open(&o)) return 0;
  path = win32::narrow(file.c_str());
  return 1;
}

}  // namespace

int choose_file(Window* owner, const std::string& title, const std::vector<FileFilter>& filters,
                const std::string& folder, std::string& path) {
  return run_chooser(owner, title, filters, folder, path);
}

int choose_program_file(Window* owner, const std::string& title, std::string& path) {
  return run_chooser(owner, title, {{"プログラム(*.exe)", "*.exe"}, {"ﾌｧｲﾙ(*.*)", "*.*"}}, {},
                     path);
}

}  // namespace yomite::platform
