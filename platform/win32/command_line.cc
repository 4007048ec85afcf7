#include "platform/win32/command_line.h"

#include "platform/win32/wide.h"

namespace yomite::platform::win32 {

std::wstring quote_argument(const std::wstring& word) {
  if (!word.empty() && word.find_first_of(L" \t\n\v\"") == std::wstring::npos) return word;
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : word) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, L'\\');  // before the closing quote
  return out + L"\"";
}

std::wstring command_line_of(const std::vector<std::string>& words) {
  std::wstring line;
  for (const std::string& w : words) {
    if (!line.empty()) line += L' ';
    line += quote_argument(widen(w));
  }
  return line;
}

}  // namespace yomite::platform::win32
