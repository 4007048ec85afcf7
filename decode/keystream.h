// The hook through which the line reader unscrambles a locked text.
//
// The reader's 32-bit key carries the text's `ango` in its low byte and the
// line number modulo 256 in its second byte; a low byte of 0 means the line is
// not scrambled. `r` is the random term and `key_string` the 80-character key
// string of the text. The locked-text module installs the keystream.
#pragma once

#include <cstdint>

namespace yomite {

// The keystream of a line is periodic in the column with this period
// (the least common multiple of the 65 position terms and the 80-byte key).
constexpr int KEYSTREAM_PERIOD = 1040;

// Returns the XOR bytes of columns 0..KEYSTREAM_PERIOD-1 of the line `key`
// names; the pointer stays valid until the next call.
using KeystreamRowFn = const std::uint8_t* (*)(std::uint32_t key, int r, const char* key_string);

// Installs the keystream; null leaves keyed lines as they are read.
void set_keystream(KeystreamRowFn fn);
KeystreamRowFn current_keystream();

}  // namespace yomite
