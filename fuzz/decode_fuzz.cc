// Detection and both line readers over arbitrary bytes, in every mode, with
// and without a key: nothing may read or write outside its buffers, every line
// must be 0-terminated and no longer than the capacity allows.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "decode/decode.h"
#include "decode/keystream.h"
#include "fuzz/fuzz_check.h"

using yomite::fuzz::check;

namespace {

const std::uint8_t* test_keystream(std::uint32_t key, int r, const char* key_string) {
  static std::uint8_t row[yomite::KEYSTREAM_PERIOD];
  for (int j = 0; j < yomite::KEYSTREAM_PERIOD; ++j)
    row[j] = static_cast<std::uint8_t>(key * 7 + r + j * 13 + key_string[j % 80]);
  return row;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace yomite;
  if (size < 2) return 0;
  int mode = data[0] % 7;
  // Small capacities reach the line-cut paths with small inputs.
  int capacity = data[1] & 1 ? 2 + data[1] % 64 : LINE_CAPACITY;
  std::uint32_t key = data[1] & 2 ? data[0] : 0;
  data += 2;
  size -= 2;

  detect_encoding_bytes(data, size, false);
  detect_encoding_bytes(data, size < DETECT_BYTES ? size : DETECT_BYTES, size >= DETECT_BYTES);

  set_keystream(test_keystream);
  static const char key_string[81] =
      "0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF";
  TextStream in;
  stream_open_memory(in, data, size);
  skip_byte_order_mark(in, mode);
  std::vector<unsigned char> bytes(static_cast<std::size_t>(capacity));
  std::vector<char16_t> units(static_cast<std::size_t>(capacity));
  std::vector<char16_t> converted(LINE_CAPACITY);
  for (int lines = 0;; ++lines) {
    check(lines <= static_cast<int>(size) + 1);  // every line takes at least one byte
    if (mode == ENC_UTF16LE || mode == ENC_UTF16BE) {
      if (!read_utf16_line(units.data(), capacity, in, mode)) break;
      check(std::char_traits<char16_t>::length(units.data()) < static_cast<std::size_t>(capacity));
    } else {
      int n = read_byte_line(bytes.data(), capacity, in, mode, key, 3, key_string);
      if (n < 0) break;
      check(n < capacity && bytes[static_cast<std::size_t>(n)] == 0);
      int u = byte_line_to_utf16(mode, 932, bytes.data(), n, converted.data(), LINE_CAPACITY);
      check(u <= n && converted[static_cast<std::size_t>(u)] == 0);
    }
  }
  stream_close(in);
  set_keystream(nullptr);
  return 0;
}
