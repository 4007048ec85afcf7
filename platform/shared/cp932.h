// Code page 932 (Shift_JIS as Windows defines it) to UTF-16 by a table taken
// from glibc's CP932, the same on every system, so a text reads alike on all
// of them. The load's hot path: one table look-up per character.
#pragma once

namespace yomite::platform {

// Converts `len` bytes into at most `limit` units of `dst` (no terminator);
// a byte that maps to nothing becomes UNMAPPED_UNIT. Returns the units written.
int convert_cp932(const unsigned char* src, int len, char16_t* dst, int limit);

}  // namespace yomite::platform
