// Locked texts: a Shift_JIS text stored behind a fixed 256-byte header, every
// body byte XORed with a keystream that depends on the line number, the
// column and an 80-character key string carried in the header. A text may
// also hide the first 8 to 40 characters of its key string behind a password.
//
// The format, generator and keystream here serve both the viewer (header
// check, body start, line decoding through decode/'s keyed reader) and the
// yomiseal tool (header building, the sealing of the byte stream).
// docs/locked-format.md describes the format as a grammar.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "decode/keystream.h"
#include "decode/stream.h"
#include "platform/window.h"

namespace yomite {

struct ViewContext;

// --- layout of the header ------------------------------------------------------

constexpr int LOCKED_HEADER_BYTES = 256;   // the body starts here
constexpr int LOCKED_MAGIC_BYTES = 45;     // bytes 0..44 identify a locked text
constexpr int LOCKED_VERSION_OFFSET = 64;  // "1111"; only its first byte is checked
constexpr int LOCKED_KEY_OFFSET = 128;
constexpr int LOCKED_KEY_CHARS = 80;      // twenty groups of four hex digits
constexpr int LOCKED_SUM_A_OFFSET = 208;  // checksums: unsigned 32-bit, little-endian
constexpr int LOCKED_SUM_B_OFFSET = 212;
constexpr int LOCKED_SUM_C_OFFSET = 216;
constexpr unsigned char LOCKED_FILLER = '!';
constexpr unsigned char LOCKED_MASK_CHAR = 'x';  // a hidden password digit

// Password lengths in hex digits; 0 means no password.
constexpr int PASSWORD_MIN_DIGITS = 8;
constexpr int PASSWORD_MAX_DIGITS = 40;
// Prompts shown per load before the reader gives up: the count starts at 0
// and the prompt is refused once it is above 100, so 101 are shown.
constexpr int PASSWORD_MAX_PROMPTS = 101;
// Longest answer kept from the prompt, in bytes.
constexpr int PASSWORD_MAX_ANSWER = 80;
// What the prompt says after a wrong answer, above the question again.
constexpr const char* PASSWORD_WRONG = "パスワードが違います";

// Longest line of the body in stored bytes (CR and LF are not stored).
constexpr int LOCKED_LINE_MAX = 32767;

extern const unsigned char LOCKED_MAGIC[LOCKED_MAGIC_BYTES];

// --- generator -------------------------------------------------------------
// A 32-bit linear congruential generator whose exact output is part of the
// format: state = state * 214013 + 2531011, draws are bits 16..30.

struct LockedRng {
  std::uint32_t state = 0;
};

inline void rng_seed(LockedRng& g, std::uint32_t seed) {
  g.state = seed;
}

// Next value, 0..32767.
inline int rng_draw(LockedRng& g) {
  g.state = g.state * 214013u + 2531011u;
  return static_cast<int>((g.state >> 16) & 0x7FFF);
}

// --- key string and derived values ---------------------------------------------

// The key string of a generator seeded with `seed`: twenty draws as "%04X".
// `out` receives LOCKED_KEY_CHARS characters and a terminating 0.
void make_key_string(std::uint32_t seed, char out[LOCKED_KEY_CHARS + 1]);

struct PasswordSums {
  std::uint32_t a, b, c;  // weighted sum, shift-and-add, plain sum (all wrap mod 2^32)
};

PasswordSums password_sums(const unsigned char* p, int n);

// `ango` of a complete key string: the key character at (first two hex digits
// mod 80), as a signed byte, mod 240 (truncating), plus 2. 50..59 for the
// digits '0'..'9' and 67..72 for 'A'..'F'.
int key_ango(const char* key);

// R: the first draw after seeding with ango << (ango mod 7).
int key_random_term(int ango);

// --- keystream -------------------------------------------------------------------

// Position term of line `line` (1-based) and byte column `column`: 0..64.
int position_term(int line, int column);

// XOR byte of line `line`, column `column`.
std::uint8_t keystream_byte(int line, int column, int ango, int r, const char* key);

// Bytes in one precomputed row: a full period plus a copy of its first 16
// bytes, so that 16 bytes can be read from any offset of the period.
constexpr int KEYSTREAM_ROW_BYTES = KEYSTREAM_PERIOD + 16;

// Fills `row` (KEYSTREAM_ROW_BYTES) with the XOR bytes of columns 0.. of the
// lines whose number modulo 256 is `line_mod`.
void fill_keystream_row(std::uint8_t* row, int line_mod, int ango, int r, const char* key);

// Installs this format's keystream as the keyed mode of read_byte_line.
void install_locked_keystream();

// --- header ----------------------------------------------------------------------

// Writes a complete header for `key` (LOCKED_KEY_CHARS characters) hiding the
// first `password_digits` characters (0: no password) into `out`.
void build_locked_header(const char* key, int password_digits,
                         unsigned char out[LOCKED_HEADER_BYTES]);

// Whether `n` bytes begin a locked text: at least a header, the magic, and
// '1' at the version offset.
int is_locked_header(const unsigned char* bytes, std::size_t n);

// --- viewer side -----------------------------------------------------------------

// The header check of a load. Reads the header of view.doc.file_name; returns
// `ango` (non-zero) for an accepted locked text, whose complete key string is
// then the current key string, or 0 for a plain text and for a refused one
// (locked_refused() tells them apart). A password text asks through the
// password prompt owned by view.viewport.window, trying the remembered password first;
// with `probe` set it never asks and decodes with '1' for every hidden digit.
// Sets view.doc.locked to 1 for an accepted or refused locked text, and the
// current ango to the result.
int check_locked_header(ViewContext& view, int probe);

// The same over a header already read (`n` bytes of the file's start); the
// prompt names `file`.
int check_locked_header_bytes(const unsigned char* bytes, std::size_t n, platform::Window* owner,
                              int probe, const std::string& file = "");

// What the loader needs to read the body of an accepted text.
struct LockedBody {
  int ango = 0;
  int r = 0;                         // the random term
  const char* key_string = nullptr;  // the current key string (80 characters)
};

// Starts the body: positions `in` at the end of the header, draws R (traced
// as "rand=%d "), installs the keystream. Lines are then numbered from 1.
// Returns 1, or 0 when the stream cannot be positioned.
int start_locked_body(TextStream& in, int ango, LockedBody& body);

// The reader's key for body line `line` (1-based).
inline std::uint32_t locked_line_key(int ango, int line) {
  return static_cast<std::uint32_t>(ango) + 256u * static_cast<std::uint32_t>(line);
}

// Reads and unscrambles body line `line` (mode ENC_RAW of read_byte_line).
// Returns the bytes stored, or -1 at the end of the body.
int read_locked_line(unsigned char* out, int capacity, TextStream& in, const LockedBody& body,
                     int line);

// Process-wide state of the viewer. Once locked_refused() is set the loader
// loads nothing more in this process: the refused document stays empty.
int locked_refused();                      // the prompt was cancelled or gave up
const std::string& remembered_password();  // last answer given with OK
// Sets the remembered password, which the header check tries before it
// asks: how a program without a prompt (yomite-render) opens a locked text.
void remember_password(const std::string& password);
const char* current_key_string();  // 80 characters and a 0
int current_ango();                // 0 when the document is not locked
// Back to the state of a fresh process (tests start every case from it).
void reset_locked_state();

// --- sealing (the writer) ------------------------------------------------------

// Streaming state of the writer. The byte stream is normalised before it is
// cut into lines: NUL bytes are dropped, a CR not followed by LF gets an LF,
// control bytes other than CR, LF and form feed become blanks. A line ends
// after its LF or once it holds LOCKED_LINE_MAX bytes other than CR and LF,
// exactly where the reader ends it.
struct SealState {
  const std::uint8_t* rows = nullptr;  // 256 rows of KEYSTREAM_ROW_BYTES
  int line = 1;                        // number of the line being written
  int column = 0;                      // bytes of it written so far
  int stored = 0;                      // of which not CR or LF
  int after_cr = 0;                    // the last byte written was a CR
};

// Allocates nothing: `rows` must hold 256 * KEYSTREAM_ROW_BYTES bytes.
void seal_begin(SealState& s, std::uint8_t* rows, int ango, int r, const char* key);

// Seals `n` bytes of the source into `out`, which must hold 2 * n bytes.
// Returns the bytes written.
std::size_t seal_block(SealState& s, const unsigned char* in, std::size_t n, unsigned char* out);

// Ends the source: a CR at its very end gets its LF. `out` holds 1 byte.
std::size_t seal_end(SealState& s, unsigned char* out);

}  // namespace yomite
