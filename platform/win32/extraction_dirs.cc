// Fresh folders for unpacked archive entries, one per unpacking, on Win32. A
// folder is "held" while its maker runs: the maker keeps a file inside it
// open without sharing, made to vanish when its handle closes, so that
// nobody can delete it meanwhile; Windows closes the handle however the
// process ends. A folder whose held file can be deleted (or is gone) is a
// crashed run's leftover.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/win32/random_names.h"
#include "platform/win32/wide.h"

namespace yomite::platform {

namespace {

using win32::file_api_path;

// The held file's name; an archive entry of this name cannot be unpacked.
constexpr const char* HELD_FILE = ".yomite-held";
constexpr int MAKE_ATTEMPTS = 4;

struct HeldDir {
  std::string path;  // with a trailing '\'
  HANDLE held;
};

std::vector<HeldDir>& held_dirs() {
  static std::vector<HeldDir> dirs;
  return dirs;
}

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

int make_and_hold(const std::string& base, HeldDir& out) {
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
  out = {dir + "\\", held};
  return 1;
}

// Removes `name` in `base` unless it is a folder some process holds.
void clear_if_stale(const std::string& base, const WIN32_FIND_DATAW& found) {
  const std::string path = base + win32::narrow(found.cFileName);
  const DWORD a = found.dwFileAttributes;
  if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(file_api_path(path).c_str());  // a loose file: an older copy, or planted
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

}  // namespace

int make_extraction_dir(std::string& dir) {
  std::string base;
  if (!private_temp_dir(base)) return 0;
  for (int attempt = 0; attempt < MAKE_ATTEMPTS; ++attempt) {
    HeldDir held;
    if (!make_and_hold(base, held)) continue;
    held_dirs().push_back(held);
    dir = held.path;
    return 1;
  }
  return 0;
}

void remove_extraction_dirs() {
  for (HeldDir& held : held_dirs()) {
    CloseHandle(held.held);  // the held file goes with its handle
    remove_tree(without_trailing_separator(held.path));
  }
  held_dirs().clear();
}

void clear_stale_extraction_dirs() {
  std::string base;
  if (!private_temp_dir(base)) return;
  std::vector<WIN32_FIND_DATAW> entries;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(file_api_path(base + "*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") entries.push_back(found);
  } while (FindNextFileW(find, &found));
  FindClose(find);
  for (const WIN32_FIND_DATAW& e : entries) clear_if_stale(base, e);
}

}  // namespace yomite::platform
