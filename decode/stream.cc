#include "decode/stream.h"

#include <cstring>

#include "platform/files.h"

namespace yomite {

int stream_open(TextStream& s, const char* path) {
  std::FILE* file = platform::open_regular_file(path);  // a FIFO or a device never blocks the load
  if (!file) {
    stream_close(s);
    return 0;
  }
  stream_attach(s, file);
  return 1;
}

void stream_attach(TextStream& s, std::FILE* file) {
  stream_close(s);
  s.file = file;
  s.storage.assign(STREAM_HISTORY_BYTES + STREAM_BUFFER_BYTES, 0);
  s.data = s.storage.data();
  s.pos = s.end = 0;
  s.end_offset = 0;
}

void stream_open_memory(TextStream& s, const void* bytes, std::size_t size) {
  stream_close(s);
  s.data = static_cast<const unsigned char*>(bytes);
  s.pos = 0;
  s.end = size;
  s.end_offset = static_cast<long long>(size);
}

void stream_close(TextStream& s) {
  if (s.file) std::fclose(s.file);
  s.file = nullptr;
  s.data = nullptr;
  s.pos = s.end = 0;
  s.end_offset = 0;
  s.storage.clear();
  s.storage.shrink_to_fit();
}

int stream_seek(TextStream& s, long offset) {
  if (!s.file) {
    if (offset < 0 || static_cast<std::size_t>(offset) > s.end) return 0;
    s.pos = static_cast<std::size_t>(offset);
    return 1;
  }
  if (std::fseek(s.file, offset, SEEK_SET) != 0) return 0;
  s.pos = s.end = 0;
  s.end_offset = offset;
  return 1;
}

int stream_refill(TextStream& s) {
  if (!s.file) return -1;
  unsigned char* buf = s.storage.data();
  // Keep the tail of what was read so that it can still be pushed back.
  std::size_t keep = s.end < STREAM_HISTORY_BYTES ? s.end : STREAM_HISTORY_BYTES;
  std::memmove(buf, buf + s.end - keep, keep);
  std::size_t got = std::fread(buf + keep, 1, STREAM_BUFFER_BYTES, s.file);
  s.pos = keep;
  s.end = keep + got;
  s.end_offset += static_cast<long long>(got);
  if (got == 0) return -1;
  return buf[s.pos++];
}

}  // namespace yomite
