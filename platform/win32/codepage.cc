// Code pages on Win32: 932 through the shared table (the same characters as
// on every other system), every other code page through MultiByteToWideChar.
#include "platform/codepage.h"

#include <windows.h>

#include <string>

#include "platform/shared/cp932.h"

namespace yomite::platform {

namespace {

bool is_932(int code_page) {
  return code_page == 0 || code_page == 1 || code_page == 932;
}

}  // namespace

bool code_page_supported(int code_page) {
  return is_932(code_page) || (code_page > 0 && IsValidCodePage(static_cast<UINT>(code_page)));
}

int multibyte_to_utf16(int code_page, const unsigned char* src, int len, char16_t* dst,
                       int dst_capacity) {
  if (dst_capacity <= 0) return 0;
  const int limit = dst_capacity - 1;
  int n = 0;
  if (len > 0 && !is_932(code_page) && code_page_supported(code_page)) {
    // The whole line is converted first: the system never writes a part.
    const int need = MultiByteToWideChar(static_cast<UINT>(code_page), 0,
                                         reinterpret_cast<const char*>(src), len, nullptr, 0);
    if (need > 0) {
      std::wstring units(static_cast<std::size_t>(need), L'\0');
      MultiByteToWideChar(static_cast<UINT>(code_page), 0, reinterpret_cast<const char*>(src), len,
                          units.data(), need);
      for (; n < need && n < limit; ++n) dst[n] = static_cast<char16_t>(units[n]);
    }
  } else if (len > 0) {
    n = convert_cp932(src, len, dst, limit);
  }
  dst[n] = 0;
  return n;
}

}  // namespace yomite::platform
