// Conversion of multibyte text in a Windows code page to UTF-16.
#pragma once

namespace yomite::platform {

// Characters a code page does not map become this unit (what Windows uses for 932).
constexpr char16_t UNMAPPED_UNIT = 0x30FB;

// Whether `code_page` (a Windows code-page number; 0 and 1 mean 932) can be
// converted on this system.
bool code_page_supported(int code_page);

// Converts `len` bytes of `src` in `code_page` to UTF-16 in `dst`, which holds
// `dst_capacity` units including the terminating 0 unit that is always
// written (when dst_capacity > 0). Returns the number of units written before
// the terminator. A code page the system cannot convert is taken as 932.
int multibyte_to_utf16(int code_page, const unsigned char* src, int len, char16_t* dst,
                       int dst_capacity);

}  // namespace yomite::platform
