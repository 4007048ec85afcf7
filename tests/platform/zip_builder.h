// ZIP archives built byte by byte for tests, with exactly the fields a test
// names: entries in order (stored or deflated, any flags, system and
// attributes, a damaged CRC), a comment, and a ZIP64 end record.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace yomite::test::zip {

constexpr int STORED = 0;
constexpr int DEFLATED = 8;
constexpr int FLAG_UTF8 = 1 << 11;  // the name is UTF-8

struct Made {
  std::string name, data;
  int method = STORED;
  int flags = 0;
  int system = 0;
  std::uint32_t attributes = 0;
  bool bad_crc = false;
};

inline void put16(std::string& s, unsigned v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
inline void put32(std::string& s, std::uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}

inline std::string raw_deflate(const std::string& data) {
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// An archive of `entries`, a comment after the end record, and optionally
// a ZIP64 end record that the ordinary one defers to.
inline std::string archive(const std::vector<Made>& entries, const std::string& comment = "",
                    bool zip64 = false) {
  std::string out, central;
  for (const Made& m : entries) {
    const std::string stored = m.method == DEFLATED ? raw_deflate(m.data) : m.data;
    std::uint32_t crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(m.data.data()), static_cast<uInt>(m.data.size())));
    if (m.bad_crc) crc ^= 1;
    const std::uint32_t offset = static_cast<std::uint32_t>(out.size());
    put32(out, 0x04034b50);
    put16(out, 20), put16(out, m.flags), put16(out, m.method), put32(out, 0), put32(out, crc);
    put32(out, stored.size()), put32(out, m.data.size());
    put16(out, m.name.size()), put16(out, 0);
    out += m.name + stored;
    put32(central, 0x02014b50);
    put16(central, (m.system << 8) | 20), put16(central, 20), put16(central, m.flags);
    put16(central, m.method), put32(central, 0), put32(central, crc);
    put32(central, stored.size()), put32(central, m.data.size());
    put16(central, m.name.size()), put16(central, 0), put16(central, 0), put16(central, 0);
    put16(central, 0), put32(central, m.attributes), put32(central, offset);
    central += m.name;
  }
  const std::uint32_t directory = static_cast<std::uint32_t>(out.size());
  out += central;
  if (zip64) {
    const std::uint32_t end64 = static_cast<std::uint32_t>(out.size());
    put32(out, 0x06064b50), put32(out, 44), put32(out, 0), put16(out, 45), put16(out, 45);
    put32(out, 0), put32(out, 0);
    put32(out, entries.size()), put32(out, 0), put32(out, entries.size()), put32(out, 0);
    put32(out, central.size()), put32(out, 0), put32(out, directory), put32(out, 0);
    put32(out, 0x07064b50), put32(out, 0), put32(out, end64), put32(out, 0), put32(out, 1);
  }
  put32(out, 0x06054b50), put32(out, 0);
  put16(out, zip64 ? 0xFFFF : entries.size()), put16(out, zip64 ? 0xFFFF : entries.size());
  put32(out, zip64 ? 0xFFFFFFFFu : central.size()), put32(out, zip64 ? 0xFFFFFFFFu : directory);
  put16(out, comment.size());
  return out + comment;
}

}  // namespace yomite::test::zip
