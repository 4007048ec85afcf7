#include "apps/yomiseal/source_text.h"

#include "decode/utf16.h"
#include "platform/shared/cp932.h"

namespace yomite::seal {

namespace {

bool converted(int mode) {
  return mode != ENC_SJIS;
}

// Whether the line just read ended at a line end (LF, CR LF or a lone CR)
// rather than at the end of the file or where the reader cut it: the last
// unit the stream gave (still in its buffer, which keeps what was read).
bool ended_at_line_end(const TextStream& in, int mode) {
  if (in.pos == 0) return false;
  const unsigned char last = in.data[in.pos - 1];
  if (mode != ENC_UTF16LE && mode != ENC_UTF16BE) return last == '\n' || last == '\r';
  if (in.pos < 2) return false;
  const unsigned char first = in.data[in.pos - 2];
  const unsigned unit = mode == ENC_UTF16LE ? first | last << 8 : first << 8 | last;
  return unit == '\n' || unit == '\r';
}

// The units of the next line, or -1 at the end of the file.
int read_units(SourceText& s) {
  if (s.mode == ENC_UTF16LE || s.mode == ENC_UTF16BE) {
    if (!read_utf16_line(s.units.data(), LINE_CAPACITY, s.stream, s.mode)) return -1;
    return static_cast<int>(std::char_traits<char16_t>::length(s.units.data()));
  }
  const int n = read_byte_line(s.bytes.data(), LINE_CAPACITY, s.stream, s.mode, 0, 0, nullptr);
  if (n < 0) return -1;
  return byte_line_to_utf16(s.mode, 932, s.bytes.data(), n, s.units.data(), LINE_CAPACITY);
}

// `n` units into code page 932 at `out`: the bytes written, or -1 with
// s.unmappable set.
long to_cp932(SourceText& s, int n, unsigned char* out) {
  long o = 0;
  for (int i = 0; i < n; ++i) {
    const char16_t u = s.units[static_cast<std::size_t>(i)];
    const int k = platform::cp932_bytes(u, out + o);
    if (k == 0) {
      const bool pair = i + 1 < n && is_high_surrogate(u) &&
                        is_low_surrogate(s.units[static_cast<std::size_t>(i) + 1]);
      s.unmappable = pair ? 0x10000 + ((u - 0xD800) << 10) +
                                (s.units[static_cast<std::size_t>(i) + 1] - 0xDC00)
                          : u;
      return -1;
    }
    o += k;
  }
  return o;
}

}  // namespace

SourceText::~SourceText() {
  if (stream.file)
    stream_close(stream);
  else if (file)
    std::fclose(file);
}

void source_begin(SourceText& s, std::FILE* file) {
  s.file = file;
  unsigned char head[DETECT_BYTES];
  const std::size_t n = std::fread(head, 1, sizeof head, file);
  std::rewind(file);
  s.mode = detect_encoding_bytes(head, n, true);
  if (!converted(s.mode)) return;
  stream_attach(s.stream, file);
  skip_byte_order_mark(s.stream, s.mode);
}

long source_read(SourceText& s, unsigned char* out, std::size_t capacity) {
  if (!converted(s.mode)) {
    const std::size_t n = std::fread(out, 1, capacity, s.file);
    return n == 0 && std::ferror(s.file) ? SOURCE_READ_ERROR : static_cast<long>(n);
  }
  long written = 0;
  while (static_cast<std::size_t>(written) + SOURCE_MIN_CAPACITY <= capacity) {
    const int n = read_units(s);
    if (n < 0) break;
    const long o = to_cp932(s, n, out + written);
    if (o < 0) return SOURCE_UNMAPPABLE;
    written += o;
    if (ended_at_line_end(s.stream, s.mode)) {
      out[written++] = '\r';
      out[written++] = '\n';
      ++s.line;
    }
  }
  if (written == 0 && std::ferror(s.file)) return SOURCE_READ_ERROR;
  return written;
}

}  // namespace yomite::seal
