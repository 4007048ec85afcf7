// How a Win32 process holds its extraction folders: it keeps a file inside
// each open without sharing, made to vanish when its handle closes, so that
// nobody can delete it meanwhile; Windows closes the handle however the
// process ends. A folder whose held file can be deleted (or is gone) is a
// crashed run's leftover.
#include <windows.h>

#include "platform/shared/extraction_dirs.h"
#include "platform/win32/random_names.h"
#include "platform/win32/wide.h"

namespace yomite::platform {

namespace {

using win32::file_api_path;

// The held file's name; an archive entry of this name cannot be unpacked.
constexpr const char* HELD_FILE = ".yomite-held";

// Removes `path` and what is in it. A junction or a link inside is removed
// itself, never followed.
void remove_tree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring inner = path + L"\\" + name;
      const DWORD a = found.dwFileAttributes;
      if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT)) {
        remove_tree(inner);
      } else if (a & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryW(inner.c_str());
      } else {
        SetFileAttributesW(inner.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(inner.c_str());
      }
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  RemoveDirectoryW(path.c_str());
}

std::wstring without_trailing_separator(const std::string& dir) {
  std::wstring w = file_api_path(dir);
  while (!w.empty() && (w.back() == L'\\' || w.back() == L'/')) w.pop_back();
  return w;
}

}  // namespace

int make_held_dir(const std::string& base, HeldDir& out) {
  const std::string dir = base + "run-" + win32::random_suffix(8);
  if (!CreateDirectoryW(file_api_path(dir).c_str(), nullptr)) return 0;
  HANDLE held = CreateFileW(
      file_api_path(dir + "\\" + HELD_FILE).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  // A cleaner in another process may have taken the folder a moment ago.
  if (held == INVALID_HANDLE_VALUE) {
    RemoveDirectoryW(file_api_path(dir).c_str());
    return 0;
  }
  out = {dir + "\\", reinterpret_cast<std::intptr_t>(held)};
  return 1;
}

void remove_held_dir(HeldDir& held) {
  CloseHandle(reinterpret_cast<HANDLE>(held.hold));  // the held file goes with its handle
  remove_tree(without_trailing_separator(held.path));
}

std::vector<std::string> directory_names(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(file_api_path(dir + "*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(win32::narrow(found.cFileName));
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return names;
}

void remove_unless_held(const std::string& base, const std::string& name) {
  const std::string path = base + name;
  const DWORD a = GetFileAttributesW(file_api_path(path).c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return;
  if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(file_api_path(path).c_str());
    return;
  }
  if (a & FILE_ATTRIBUTE_REPARSE_POINT) {
    RemoveDirectoryW(file_api_path(path).c_str());  // a planted junction goes, not its target
    return;
  }
  const std::wstring held = file_api_path(path + "\\" + HELD_FILE);
  if (DeleteFileW(held.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
    remove_tree(file_api_path(path));
}

}  // namespace yomite::platform
