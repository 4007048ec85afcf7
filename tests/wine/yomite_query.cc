// What another Windows program sees of a viewer: sends "Yomite-Command" with
// a code (and a text, as the title of a window of its own) to the viewer whose
// title ends with TITLE, and prints the answer as RESULT<TAB>TEXT in UTF-8.
//   yomite_query.exe TITLE CODE [TEXT]
// Exit status 0, or 2 when no such viewer is found.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search {
  const wchar_t* title;
  HWND found;
};

BOOL CALLBACK match(HWND hwnd, LPARAM context) {
  auto* s = reinterpret_cast<Search*>(context);
  wchar_t cls[64] = {}, text[512] = {};
  GetClassNameW(hwnd, cls, 64);
  GetWindowTextW(hwnd, text, 512);
  const std::size_t n = std::wcslen(text), m = std::wcslen(s->title);
  if (std::wcscmp(cls, L"YomiteClass") == 0 && n >= m && std::wcscmp(text + n - m, s->title) == 0) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

std::string utf8(const std::wstring& w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: yomite_query.exe TITLE CODE [TEXT]\n", stderr);
    return 1;
  }
  Search s{argv[1], nullptr};
  EnumWindows(match, reinterpret_cast<LPARAM>(&s));
  if (!s.found) return 2;
  // The answer comes back as this window's title (WM_SETTEXT).
  HWND mine = CreateWindowExW(0, L"STATIC", argc > 3 ? argv[3] : L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  const UINT message = RegisterWindowMessageW(L"Yomite-Command");
  const LRESULT result = SendMessageW(s.found, message, static_cast<WPARAM>(_wtoi(argv[2])),
                                      reinterpret_cast<LPARAM>(mine));
  wchar_t answer[4096] = {};
  GetWindowTextW(mine, answer, 4096);
  std::printf("%ld\t%s\n", static_cast<long>(result), utf8(answer).c_str());
  return 0;
}
