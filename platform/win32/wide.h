// Text at the Win32 border: the core speaks UTF-8, the wide API UTF-16.
#pragma once

#include <string>

namespace yomite::platform::win32 {

// UTF-8 to UTF-16 (bytes that are no UTF-8 become U+FFFD).
std::wstring widen(const std::string& utf8);

// UTF-16 to UTF-8; `count` < 0 means up to the terminator.
std::string narrow(const wchar_t* text, int count = -1);
inline std::string narrow(const std::wstring& text) {
  return narrow(text.c_str(), static_cast<int>(text.size()));
}

// A path for the wide file functions: made absolute, with the "\\?\" form
// when it is too long for the plain one, so no path is cut at 260 characters.
std::wstring file_api_path(const std::string& utf8);

// The last system error as errno would name it (for callers that report errno).
int errno_of_last_error();

}  // namespace yomite::platform::win32
