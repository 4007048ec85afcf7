// Messages on Windows: to a console as UTF-16 through WriteConsoleW, which
// shows every character whatever the console's code page; to a pipe or a
// file in the system's code page, through WideCharToMultiByte.
#include <windows.h>

#include <cstring>

#include "apps/yomiseal/console.h"
#include "platform/win32/wide.h"

namespace yomite::seal {

namespace {

// The console `out` writes to, or null for a pipe or a file.
HANDLE console_of(std::FILE* out) {
  HANDLE h = GetStdHandle(out == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  return GetFileType(h) == FILE_TYPE_CHAR && GetConsoleMode(h, &mode) ? h : nullptr;
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
  if (HANDLE console = console_of(out)) {
    std::fflush(out);  // what the C runtime holds goes first
    const std::wstring wide = platform::win32::widen(utf8);
    DWORD written = 0;
    WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  const std::string text = to_code_page(utf8, GetACP());
  std::fwrite(text.data(), 1, text.size(), out);
}

void say_bytes(std::FILE* out, const char* bytes, std::size_t n) {
  say(out, std::string(bytes, n).c_str());
}

}  // namespace yomite::seal
