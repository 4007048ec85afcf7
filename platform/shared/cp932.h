// Code page 932 (Shift_JIS as Windows defines it) to UTF-16 by a table taken
// from glibc's CP932, the same on every system, so a text reads alike on all
// of them. The load's hot path: one table look-up per character.
#pragma once

namespace yomite::platform {

// Converts `len` bytes into at most `limit` units of `dst` (no terminator);
// a byte that maps to nothing becomes UNMAPPED_UNIT. Returns the units written.
int convert_cp932(const unsigned char* src, int len, char16_t* dst, int limit);

// The code page 932 bytes of one UTF-16 unit, by the same table read
// backwards: 1 or 2 bytes written to `out`, or 0 when the unit has none (a
// surrogate has none). A character with several codes gets the one Windows
// writes: JIS X 0208 before NEC's row 13, before IBM's extensions, before
// NEC's copies of IBM's extensions. The seven characters JIS X 0208 maps
// otherwise than Windows (〜 U+301C, ‖, −, ¢, £, ¬, — U+2014) get the codes
// they have there.
int cp932_bytes(char16_t unit, unsigned char out[2]);

}  // namespace yomite::platform
