// A buffered byte stream over a file or a block of memory, read one byte at a
// time by the line readers. The last few bytes read can always be pushed back,
// even across a refill, which the line-end and byte-order-mark rules need.
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

namespace yomite {

// Bytes read from the file at a time.
constexpr std::size_t STREAM_BUFFER_BYTES = 16384;
// Bytes that can be pushed back after reading them.
constexpr std::size_t STREAM_HISTORY_BYTES = 8;

struct TextStream {
  std::FILE* file = nullptr;  // null for a memory stream
  const unsigned char* data = nullptr;
  std::size_t pos = 0;                 // next byte to read in `data`
  std::size_t end = 0;                 // bytes available in `data`
  std::vector<unsigned char> storage;  // file streams: history + buffer
  long long end_offset = 0;            // offset in the file just past data[end - 1]
};

// Opens `path` for binary reading; 1 on success, 0 when it cannot be opened
// or is no regular file (a FIFO, a device, a directory).
int stream_open(TextStream& s, const char* path);

// Reads from `file` (binary, at its start), which the stream now owns.
void stream_attach(TextStream& s, std::FILE* file);

// Reads from `size` bytes of memory that outlive the stream.
void stream_open_memory(TextStream& s, const void* bytes, std::size_t size);

void stream_close(TextStream& s);

// Positions the stream `offset` bytes from the start; 1 on success.
int stream_seek(TextStream& s, long offset);

// Offset of the next byte to read from the start of the file (or memory).
inline long long stream_tell(const TextStream& s) {
  return s.end_offset - static_cast<long long>(s.end - s.pos);
}

// Slow path of stream_getc: refills the buffer; -1 at the end or on an error.
int stream_refill(TextStream& s);

// The next byte (0..255), or -1 at the end of the file.
inline int stream_getc(TextStream& s) {
  return s.pos < s.end ? s.data[s.pos++] : stream_refill(s);
}

// Pushes back the last `count` bytes read (count <= STREAM_HISTORY_BYTES).
inline void stream_unget(TextStream& s, std::size_t count = 1) {
  s.pos -= count;
}

}  // namespace yomite
