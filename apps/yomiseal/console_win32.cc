// Messages in the console's code page (the system's when the output is a
// pipe or a file), through WideCharToMultiByte.
#include <windows.h>

#include <cstring>

#include "apps/yomiseal/console.h"
#include "platform/win32/wide.h"

namespace yomite::seal {

namespace {

unsigned code_page_for(std::FILE* out) {
  HANDLE h = GetStdHandle(out == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (GetFileType(h) == FILE_TYPE_CHAR && GetConsoleMode(h, &mode)) return GetConsoleOutputCP();
  return GetACP();
}

}  // namespace

std::string to_code_page(const std::string& utf8, unsigned code_page) {
  if (code_page == CP_UTF8 || utf8.empty()) return utf8;
  const std::wstring wide = platform::win32::widen(utf8);
  BOOL lost = FALSE;
  const DWORD flags = WC_NO_BEST_FIT_CHARS;
  const int n = WideCharToMultiByte(code_page, flags, wide.data(), static_cast<int>(wide.size()),
                                    nullptr, 0, nullptr, &lost);
  if (n <= 0 || lost) return utf8;
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(code_page, flags, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                      nullptr, &lost);
  return lost ? utf8 : out;
}

void say(std::FILE* out, const char* utf8) {
  const std::string text = to_code_page(utf8, code_page_for(out));
  std::fwrite(text.data(), 1, text.size(), out);
}

void say_bytes(std::FILE* out, const char* bytes, std::size_t n) {
  say(out, std::string(bytes, n).c_str());
}

}  // namespace yomite::seal
