// A ZIP reader over zlib: the central directory (ZIP64 included) and one
// entry's bytes, stored or deflated, checked against the entry's CRC when it
// is read to its end. For systems without libzip (the Windows build).
//
// Layout read (all numbers little-endian):
//   end of central directory   "PK\5\6", .. entries (2 @10), size (4 @12), offset (4 @16)
//   ZIP64 locator              "PK\6\7" right before it, offset of the ZIP64 end (8 @8)
//   ZIP64 end                  "PK\6\6", entries (8 @32), size (8 @40), offset (8 @48)
//   central header             "PK\1\2", made by (2 @4), flags (2 @8), method (2 @10),
//                              crc (4 @16), sizes (4 @20, 4 @24), name, extra and
//                              comment lengths (2 @28, @30, @32), external
//                              attributes (4 @38), local offset (4 @42); 46 bytes
//   local header               "PK\3\4", name and extra lengths (2 @26, @28); 30 bytes
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace yomite::platform::zip {

// A central directory larger than this is refused: a text's archive never
// comes near it, and a hostile one must not make us read gigabytes.
constexpr std::uint64_t DIRECTORY_MAX_BYTES = 16u << 20;

constexpr int METHOD_STORED = 0;
constexpr int METHOD_DEFLATED = 8;
constexpr int SYSTEM_UNIX = 3;  // "made by" high byte: external attributes hold a mode

struct Entry {
  std::string name;  // as stored (bytes)
  int name_is_utf8 = 0;
  int encrypted = 0;
  int method = 0;
  int made_by_system = 0;
  std::uint32_t external_attributes = 0;
  std::uint32_t crc = 0;
  std::uint64_t compressed_size = 0;
  std::uint64_t size = 0;
  std::uint64_t local_offset = 0;
};

// 1 when the entry is stored as a symbolic link by a Unix archiver.
int is_unix_link(const Entry& e);

// Reads the entries of the archive `f` (binary, seekable) in their order.
// 1, or 0 when `f` is no readable ZIP archive.
int read_directory(std::FILE* f, std::vector<Entry>& entries);

// Receives the entry's bytes as they are unpacked: 1 to go on, 0 to stop
// with a failure.
using Sink = int (*)(const void* bytes, std::size_t n, void* context);

// Unpacks `e` into `sink`, stopping after `max_bytes`. The bytes given, or -1
// when the entry cannot be read (unknown method, encrypted, damaged, a CRC
// that does not match, the sink failed).
long long copy_entry(std::FILE* f, const Entry& e, long long max_bytes, Sink sink, void* context);

}  // namespace yomite::platform::zip
