// Command lines of Windows programs: CreateProcess takes one string, which
// the child's C runtime splits into words again. Quoting each word so that
// it splits back unchanged keeps every argument whole (blanks, quotes,
// trailing backslashes).
#pragma once

#include <string>
#include <vector>

namespace yomite::platform::win32 {

// One word quoted for the C runtime's rules (as it stands when it needs none).
std::wstring quote_argument(const std::wstring& word);

// The words joined into one command line.
std::wstring command_line_of(const std::vector<std::string>& words);

}  // namespace yomite::platform::win32
