// Full paths and existence tests on Win32.
#include <windows.h>

#include "platform/files.h"
#include "platform/win32/wide.h"

namespace yomite::platform {

int full_path(const std::string& name, std::string& full) {
  const std::wstring wide = win32::widen(name);
  const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  std::wstring out(n ? n : 1, L'\0');
  const DWORD got = n ? GetFullPathNameW(wide.c_str(), n, out.data(), nullptr) : 0;
  if (got == 0 || got >= n) {
    full = name;
    return 0;
  }
  out.resize(got);
  // A drive letter is written in upper case ("c:\a" and "C:\a" are one file).
  if (out.size() >= 2 && out[1] == L':' && out[0] >= L'a' && out[0] <= L'z')
    out[0] = static_cast<wchar_t>(out[0] - L'a' + L'A');
  full = win32::narrow(out);
  return 1;
}

int is_existing_file(const char* path) {
  const DWORD a = GetFileAttributesW(win32::file_api_path(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace yomite::platform
