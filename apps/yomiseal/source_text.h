// The source text as the Shift_JIS bytes a locked text holds. Its encoding is
// detected as the viewer detects a text's: Shift_JIS passes byte for byte;
// UTF-8, EUC-JP, JIS and UTF-16 are read line by line through the viewer's
// own line readers and written in code page 932, each line ended by CR LF
// (a line the reader cut for its length goes on without one, as it was).
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

#include "decode/decode.h"

namespace yomite::seal {

struct SourceText {
  std::FILE* file = nullptr;  // owned; read through `stream` when converted
  int mode = ENC_SJIS;        // TextEncoding, as detected
  TextStream stream;
  std::vector<unsigned char> bytes = std::vector<unsigned char>(LINE_CAPACITY);
  std::vector<char16_t> units = std::vector<char16_t>(LINE_CAPACITY);
  long line = 1;             // the line being read, counted from 1
  char32_t unmappable = 0;   // the character that stopped the conversion
  ~SourceText();
};

// Takes `file` (binary, at its start) and detects its encoding.
void source_begin(SourceText& s, std::FILE* file);

constexpr long SOURCE_READ_ERROR = -1;  // errno says why
constexpr long SOURCE_UNMAPPABLE = -2;  // s.unmappable on s.line has no Shift_JIS form

// Writes the next part of the text into `out` (`capacity` bytes, at least
// SOURCE_MIN_CAPACITY): the bytes written, 0 at the end, or a SOURCE_* code.
long source_read(SourceText& s, unsigned char* out, std::size_t capacity);
constexpr std::size_t SOURCE_MIN_CAPACITY = 2 * LINE_CAPACITY + 2;

}  // namespace yomite::seal
