// Text decoding: which encoding a file is in, and reading it one line at a time.
//
// Byte encodings are rewritten line by line into Shift_JIS bytes (EUC-JP and
// JIS arithmetically, Shift_JIS checked and cleaned) so that one conversion to
// UTF-16 serves them all; UTF-16 files are read as 16-bit units directly and
// UTF-8 lines are converted to UTF-16 directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "decode/stream.h"

namespace yomite {

// Encoding modes, numbered as the loader stores and passes them.
enum TextEncoding : int {
  ENC_SJIS = 0,     // Shift_JIS bytes                        (forced by letter S)
  ENC_EUC = 1,      // EUC-JP bytes                           (E)
  ENC_JIS = 2,      // ESC-switched 7-bit JIS                 (J)
  ENC_UTF16LE = 3,  // little-endian 16-bit units             (U)
  ENC_UTF16BE = 4,  // big-endian units, swapped after reading (V)
  ENC_RAW = 5,      // bytes as they are: the lines of a locked text
  ENC_UTF8 = 6,     // UTF-8, our extension for Linux files   (8)
};

// JIS shift state of one line; every line starts in JIS_ROMAN.
enum JisShift : int { JIS_ROMAN = 0, JIS_KANA = 1, JIS_KANJI = 2 };

// Capacity the loader gives both readers: 32767 bytes or units and a 0.
constexpr int LINE_CAPACITY = 32768;
// Detection looks at no more than this many bytes from the start of a file.
constexpr int DETECT_BYTES = 8192;

// --- detection -------------------------------------------------------------

// Encoding mode of the file at `path` (0-4, or 6); a file that cannot be
// opened counts as Shift_JIS.
int detect_encoding(const char* path);

// The same decision over the first `n` bytes of a file; `cut` says that a
// character broken off at the end of the bytes does not count against UTF-8
// (detect_encoding sets it always: the bytes end at the detection limit or
// at the end of the file, and a cut there is no fault of the text).
int detect_encoding_bytes(const unsigned char* buf, std::size_t n, bool cut);

// Mode forced by an option-K letter (upper-cased): S E J U V 8; -1 for any
// other letter, which means "detect".
int encoding_from_letter(int letter);

// --- validity tests (1 or 0) -----------------------------------------------

constexpr int is_sjis_lead_byte(int b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr int is_sjis_trail_byte(int b) {
  return b >= 0x40 && b <= 0xFC;
}
int is_valid_sjis(const unsigned char* buf, std::size_t n);
int is_valid_euc(const unsigned char* buf, std::size_t n);
int has_jis_escape(const unsigned char* buf, std::size_t n);
// Valid UTF-8 with at least one multi-byte sequence; with `cut`, a sequence
// broken off by the end of the buffer does not count against it.
int is_valid_utf8_text(const unsigned char* buf, std::size_t n, bool cut);

// --- line readers ----------------------------------------------------------

// Reads one line of a byte encoding (modes 0, 1, 2, 5, 6) into `out`, which
// holds `capacity` bytes; the line end (LF, CR LF or a lone CR) is not stored.
// A nonzero low byte of `key` unscrambles a locked text's line first (see
// decode/keystream.h for `key`, `r` and `key_string`). Returns the bytes
// written before the terminating 0, or -1 at the end of the file.
int read_byte_line(unsigned char* out, int capacity, TextStream& in, int mode, std::uint32_t key,
                   int r, const char* key_string);

// Reads one line of UTF-16 units (modes 3 and 4) into `out` (capacity units,
// 0-terminated). Returns `out`, or null at the end of the file.
char16_t* read_utf16_line(char16_t* out, int capacity, TextStream& in, int mode);

// Drops a byte-order mark at the stream's position: FF FE or FE FF in the
// UTF-16 modes (either mark in either mode), EF BB BF in the UTF-8 mode.
// Anything else is left to be read. Call after every open or rewind.
void skip_byte_order_mark(TextStream& in, int mode);

// Converts a line read by read_byte_line to UTF-16: UTF-8 directly in mode 6,
// every other mode through `code_page`. Returns units written before the 0.
int byte_line_to_utf16(int mode, int code_page, const unsigned char* line, int len, char16_t* out,
                       int capacity);

// --- conversions -----------------------------------------------------------

struct SjisPair {
  unsigned char first, second;
};

// JIS X 0208 row/cell bytes (0x21-0x7E each) to Shift_JIS, in 8-bit arithmetic.
SjisPair jis_to_sjis(int j1, int j2);

// UTF-8 to UTF-16; malformed sequences become U+FFFD. `out` holds `capacity`
// units including the 0 always written. Returns units before the 0.
int utf8_to_utf16(const unsigned char* src, int len, char16_t* out, int capacity);

// UTF-16 to UTF-8 (for output and platform strings); lone surrogates become U+FFFD.
std::string utf16_to_utf8(const char16_t* s, std::size_t n);
// The same, appended to `out`.
void append_utf8(std::string& out, const char16_t* s, std::size_t n);

// A whole UTF-8 string as UTF-16 (malformed sequences become U+FFFD).
std::u16string utf8_to_u16string(const std::string& s);

}  // namespace yomite
