// Helpers shared by the locked-text tests: sealing in memory and reading a
// locked text back the way the loader does.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "decode/decode.h"
#include "locked/locked.h"

namespace yomite::test {

// A locked text of `source` under `key`, fed to the writer `chunk` bytes at a
// time (0: all at once).
inline std::string seal_string(const std::string& source, const char* key, int digits,
                               std::size_t chunk = 0) {
  unsigned char header[LOCKED_HEADER_BYTES];
  build_locked_header(key, digits, header);
  std::string file(reinterpret_cast<char*>(header), sizeof header);
  std::vector<std::uint8_t> rows(256 * KEYSTREAM_ROW_BYTES);
  SealState s;
  int ango = key_ango(key);
  seal_begin(s, rows.data(), ango, key_random_term(ango), key);
  if (chunk == 0) chunk = source.size() + 1;
  std::vector<unsigned char> out(2 * chunk + 1);
  for (std::size_t at = 0; at < source.size(); at += chunk) {
    std::size_t n = std::min(chunk, source.size() - at);
    std::size_t o =
        seal_block(s, reinterpret_cast<const unsigned char*>(source.data()) + at, n, out.data());
    file.append(reinterpret_cast<char*>(out.data()), o);
  }
  std::size_t o = seal_end(s, out.data());
  file.append(reinterpret_cast<char*>(out.data()), o);
  return file;
}

// Reads the body of an accepted text (after the header check) line by line.
inline std::vector<std::string> read_body(TextStream& in, int ango) {
  std::vector<std::string> lines;
  LockedBody body;
  if (!start_locked_body(in, ango, body)) return lines;
  std::vector<unsigned char> buf(LINE_CAPACITY);
  for (int line = 1;; ++line) {
    int n = read_locked_line(buf.data(), LINE_CAPACITY, in, body, line);
    if (n < 0) break;
    lines.emplace_back(reinterpret_cast<char*>(buf.data()), static_cast<std::size_t>(n));
  }
  return lines;
}

// Header check (no prompt) and body of a locked text held in memory.
inline std::vector<std::string> unseal_string(const std::string& file) {
  int ango = check_locked_header_bytes(reinterpret_cast<const unsigned char*>(file.data()),
                                       file.size(), nullptr, 0);
  if (ango == 0) return {"<not accepted>"};
  TextStream in;
  stream_open_memory(in, file.data(), file.size());
  std::vector<std::string> lines = read_body(in, ango);
  stream_close(in);
  return lines;
}

inline std::string read_file(const std::string& path) {
  std::string bytes;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    std::fclose(f);
  }
  return bytes;
}

inline void write_file(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// A complete key string as the tool makes them: groups of four hex digits.
constexpr const char* SAMPLE_KEY =
    "0A1B2C3D4E5F60717F0E1D2C3B4A59687766554433221100FEDC0BA987654321013579BDF02468AC";

}  // namespace yomite::test
