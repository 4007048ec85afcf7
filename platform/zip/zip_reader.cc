#include "platform/zip/zip_reader.h"

#include <zlib.h>

#include <cstring>

namespace yomite::platform::zip {

namespace {

constexpr std::uint32_t END_SIGNATURE = 0x06054b50;
constexpr std::uint32_t ZIP64_LOCATOR_SIGNATURE = 0x07064b50;
constexpr std::uint32_t ZIP64_END_SIGNATURE = 0x06064b50;
constexpr std::uint32_t CENTRAL_SIGNATURE = 0x02014b50;
constexpr std::uint32_t LOCAL_SIGNATURE = 0x04034b50;
constexpr std::size_t END_BYTES = 22;
constexpr std::size_t ZIP64_LOCATOR_BYTES = 20;
constexpr std::size_t ZIP64_END_BYTES = 56;
constexpr std::size_t CENTRAL_BYTES = 46;
constexpr std::size_t LOCAL_BYTES = 30;
constexpr std::size_t COMMENT_MAX = 65535;
constexpr std::uint16_t ZIP64_EXTRA_ID = 0x0001;
constexpr std::uint16_t FLAG_ENCRYPTED = 0x0001;
constexpr std::uint16_t FLAG_UTF8 = 0x0800;
constexpr std::uint32_t UNIX_TYPE_MASK = 0170000;
constexpr std::uint32_t UNIX_LINK = 0120000;
constexpr std::size_t CHUNK = 65536;

std::uint16_t u16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t u32(const unsigned char* p) {
  return static_cast<std::uint32_t>(u16(p)) | (static_cast<std::uint32_t>(u16(p + 2)) << 16);
}
std::uint64_t u64(const unsigned char* p) {
  return static_cast<std::uint64_t>(u32(p)) | (static_cast<std::uint64_t>(u32(p + 4)) << 32);
}

int seek_to(std::FILE* f, std::uint64_t offset) {
#if defined(_WIN32)
  return _fseeki64(f, static_cast<long long>(offset), SEEK_SET) == 0;
#else
  return fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

std::uint64_t file_size(std::FILE* f) {
#if defined(_WIN32)
  if (_fseeki64(f, 0, SEEK_END) != 0) return 0;
  const long long n = _ftelli64(f);
#else
  if (fseeko(f, 0, SEEK_END) != 0) return 0;
  const long long n = ftello(f);
#endif
  return n > 0 ? static_cast<std::uint64_t>(n) : 0;
}

int read_at(std::FILE* f, std::uint64_t offset, void* out, std::size_t n) {
  return seek_to(f, offset) && std::fread(out, 1, n, f) == n;
}

struct DirectoryPlace {
  std::uint64_t entries = 0, size = 0, offset = 0;
};

// The end record is the last "PK\5\6" whose comment reaches the file's end.
int find_end(std::FILE* f, std::uint64_t length, std::uint64_t& end_at, DirectoryPlace& place) {
  if (length < END_BYTES) return 0;
  const std::uint64_t span = length < END_BYTES + COMMENT_MAX ? length : END_BYTES + COMMENT_MAX;
  std::vector<unsigned char> tail(static_cast<std::size_t>(span));
  if (!read_at(f, length - span, tail.data(), tail.size())) return 0;
  for (std::size_t i = tail.size() - END_BYTES + 1; i-- > 0;) {
    const unsigned char* p = tail.data() + i;
    if (u32(p) != END_SIGNATURE || i + END_BYTES + u16(p + 20) != tail.size()) continue;
    end_at = length - span + i;
    place = {u16(p + 10), u32(p + 12), u32(p + 16)};
    return 1;
  }
  return 0;
}

// Values that do not fit the end record are in the ZIP64 end record.
int read_zip64_end(std::FILE* f, std::uint64_t end_at, DirectoryPlace& place) {
  if (end_at < ZIP64_LOCATOR_BYTES) return 0;
  unsigned char locator[ZIP64_LOCATOR_BYTES];
  if (!read_at(f, end_at - ZIP64_LOCATOR_BYTES, locator, sizeof locator) ||
      u32(locator) != ZIP64_LOCATOR_SIGNATURE)
    return 0;
  unsigned char end[ZIP64_END_BYTES];
  if (!read_at(f, u64(locator + 8), end, sizeof end) || u32(end) != ZIP64_END_SIGNATURE) return 0;
  place = {u64(end + 32), u64(end + 40), u64(end + 48)};
  return 1;
}

// The ZIP64 extra field holds, in this order, the values whose 32-bit field
// is all ones: size, compressed size, local offset.
void apply_zip64_extra(const unsigned char* extra, std::size_t n, Entry& e, bool size,
                       bool compressed, bool offset) {
  for (std::size_t i = 0; i + 4 <= n;) {
    const std::uint16_t id = u16(extra + i), len = u16(extra + i + 2);
    if (i + 4 + len > n) return;
    if (id == ZIP64_EXTRA_ID) {
      const unsigned char* p = extra + i + 4;
      std::size_t left = len;
      auto take = [&](std::uint64_t& value) {
        if (left < 8) return;
        value = u64(p);
        p += 8;
        left -= 8;
      };
      if (size) take(e.size);
      if (compressed) take(e.compressed_size);
      if (offset) take(e.local_offset);
      return;
    }
    i += 4 + len;
  }
}

// One central header at `p` (with `left` bytes after it); 0 when damaged.
int parse_central(const unsigned char* p, std::size_t left, Entry& e, std::size_t& used) {
  if (left < CENTRAL_BYTES || u32(p) != CENTRAL_SIGNATURE) return 0;
  const std::size_t name = u16(p + 28), extra = u16(p + 30), comment = u16(p + 32);
  used = CENTRAL_BYTES + name + extra + comment;
  if (used > left) return 0;
  const std::uint16_t flags = u16(p + 8);
  e = Entry{};
  e.made_by_system = p[5];
  e.encrypted = (flags & FLAG_ENCRYPTED) ? 1 : 0;
  e.name_is_utf8 = (flags & FLAG_UTF8) ? 1 : 0;
  e.method = u16(p + 10);
  e.crc = u32(p + 16);
  e.compressed_size = u32(p + 20);
  e.size = u32(p + 24);
  e.external_attributes = u32(p + 38);
  e.local_offset = u32(p + 42);
  e.name.assign(reinterpret_cast<const char*>(p + CENTRAL_BYTES), name);
  apply_zip64_extra(p + CENTRAL_BYTES + name, extra, e, e.size == 0xFFFFFFFFu,
                    e.compressed_size == 0xFFFFFFFFu, e.local_offset == 0xFFFFFFFFu);
  return 1;
}

// Where the entry's data begins: past its local header.
int data_offset(std::FILE* f, const Entry& e, std::uint64_t& at) {
  unsigned char local[LOCAL_BYTES];
  if (!read_at(f, e.local_offset, local, sizeof local) || u32(local) != LOCAL_SIGNATURE) return 0;
  at = e.local_offset + LOCAL_BYTES + u16(local + 26) + u16(local + 28);
  return 1;
}

struct Copy {
  Sink sink;
  void* context;
  long long max_bytes;
  long long given = 0;
  uLong crc = crc32(0, nullptr, 0);
};

// Hands on what fits under the cap; 0 when the sink failed.
int give(Copy& c, const unsigned char* bytes, std::size_t n) {
  const long long room = c.max_bytes - c.given;
  if (static_cast<long long>(n) > room) n = static_cast<std::size_t>(room > 0 ? room : 0);
  if (n == 0) return 1;
  c.crc = crc32(c.crc, bytes, static_cast<uInt>(n));
  c.given += static_cast<long long>(n);
  return c.sink(bytes, n, c.context);
}

int copy_stored(std::FILE* f, const Entry& e, Copy& c) {
  std::vector<unsigned char> buf(CHUNK);
  std::uint64_t left = e.compressed_size;
  while (left > 0 && c.given < c.max_bytes) {
    const std::size_t n = left < CHUNK ? static_cast<std::size_t>(left) : CHUNK;
    if (std::fread(buf.data(), 1, n, f) != n || !give(c, buf.data(), n)) return 0;
    left -= n;
  }
  return 1;
}

int copy_deflated(std::FILE* f, const Entry& e, Copy& c) {
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return 0;  // raw deflate, no zlib header
  std::vector<unsigned char> in(CHUNK), out(CHUNK);
  std::uint64_t left = e.compressed_size;
  int status = Z_OK, ok = 1;
  while (ok && status != Z_STREAM_END && c.given < c.max_bytes) {
    if (z.avail_in == 0) {
      if (left == 0) {
        ok = 0;  // the data ends before the stream does
        break;
      }
      const std::size_t n = left < CHUNK ? static_cast<std::size_t>(left) : CHUNK;
      if (std::fread(in.data(), 1, n, f) != n) {
        ok = 0;
        break;
      }
      left -= n;
      z.next_in = in.data();
      z.avail_in = static_cast<uInt>(n);
    }
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const uInt had = z.avail_in;
    status = inflate(&z, Z_NO_FLUSH);
    const std::size_t produced = out.size() - z.avail_out;
    // No progress with input and room left: the stream is damaged.
    const bool stuck = status == Z_BUF_ERROR && produced == 0 && z.avail_in == had && had > 0;
    if ((status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) || stuck) ok = 0;
    if (ok && !give(c, out.data(), produced)) ok = 0;
  }
  inflateEnd(&z);
  return ok;
}

}  // namespace

int is_unix_link(const Entry& e) {
  return e.made_by_system == SYSTEM_UNIX &&
         ((e.external_attributes >> 16) & UNIX_TYPE_MASK) == UNIX_LINK;
}

int read_directory(std::FILE* f, std::vector<Entry>& entries) {
  entries.clear();
  const std::uint64_t length = file_size(f);
  std::uint64_t end_at = 0;
  DirectoryPlace place;
  if (!find_end(f, length, end_at, place)) return 0;
  if (place.entries == 0xFFFF || place.size == 0xFFFFFFFFu || place.offset == 0xFFFFFFFFu)
    read_zip64_end(f, end_at, place);
  if (place.size > DIRECTORY_MAX_BYTES || place.offset > length ||
      place.size > length - place.offset)
    return 0;
  std::vector<unsigned char> dir(static_cast<std::size_t>(place.size));
  if (!dir.empty() && !read_at(f, place.offset, dir.data(), dir.size())) return 0;
  std::size_t at = 0;
  // The count is outside input too: the directory's own bytes bound the loop.
  for (std::uint64_t i = 0; i < place.entries; ++i) {
    Entry e;
    std::size_t used = 0;
    if (!parse_central(dir.data() + at, dir.size() - at, e, used)) return 0;
    entries.push_back(std::move(e));
    at += used;
  }
  return 1;
}

long long copy_entry(std::FILE* f, const Entry& e, long long max_bytes, Sink sink, void* context) {
  if (e.encrypted || (e.method != METHOD_STORED && e.method != METHOD_DEFLATED)) return -1;
  std::uint64_t at = 0;
  if (!data_offset(f, e, at) || !seek_to(f, at)) return -1;
  Copy c{sink, context, max_bytes};
  const int ok = e.method == METHOD_STORED ? copy_stored(f, e, c) : copy_deflated(f, e, c);
  if (!ok) return -1;
  // Read to its end (not cut at the cap), the entry must be what its header says.
  if (c.given < max_bytes && (static_cast<std::uint64_t>(c.given) != e.size || c.crc != e.crc))
    return -1;
  return c.given;
}

}  // namespace yomite::platform::zip
