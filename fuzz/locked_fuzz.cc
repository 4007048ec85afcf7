// The header check and the line decoder of locked texts over arbitrary files:
// no read or write outside a buffer, every line 0-terminated and within its
// capacity, and the prompt asked at most its limit of times. The writer runs
// over the same bytes, and what it writes must read back as the plain rules
// say.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "decode/decode.h"
#include "fuzz/fuzz_check.h"
#include "locked/locked.h"
#include "platform/fake/fake_password_prompt.h"

using yomite::fuzz::check;

namespace {

// The lines a reader should see for `src` after sealing, by the plain rules:
// NUL dropped, a CR ends the line and takes a following LF with it, control
// bytes other than form feed are blanks, 32767 bytes end a line.
std::vector<std::string> expected_lines(const std::string& src) {
  std::vector<std::string> lines;
  std::string cur;
  bool lf_after_cr = false;
  for (unsigned char b : src) {
    if (b == 0) continue;
    if (b == '\n' && lf_after_cr) {
      lf_after_cr = false;
      continue;
    }
    lf_after_cr = b == '\r';
    if (b == '\n' || b == '\r') {
      lines.push_back(cur);
      cur.clear();
      continue;
    }
    cur += static_cast<char>(b < 0x20 && b != 0x0C ? ' ' : b);
    if (cur.size() == yomite::LOCKED_LINE_MAX) {
      lines.push_back(cur);
      cur.clear();
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  return lines;
}

// Seals `src` in chunks into an output buffer of exactly the promised size,
// reads it back and compares.
void seal_round_trip(const std::string& src, std::size_t chunk) {
  using namespace yomite;
  const char* key =
      "0A1B2C3D4E5F60717F0E1D2C3B4A59687766554433221100FEDC0BA987654321013579BDF02468AC";
  unsigned char header[LOCKED_HEADER_BYTES];
  build_locked_header(key, 0, header);
  std::string file(reinterpret_cast<char*>(header), sizeof header);
  std::vector<std::uint8_t> rows(256 * KEYSTREAM_ROW_BYTES);
  SealState s;
  seal_begin(s, rows.data(), key_ango(key), key_random_term(key_ango(key)), key);
  for (std::size_t at = 0; at < src.size(); at += chunk) {
    std::size_t n = std::min(chunk, src.size() - at);
    std::vector<unsigned char> out(2 * n);
    std::size_t o =
        seal_block(s, reinterpret_cast<const unsigned char*>(src.data()) + at, n, out.data());
    check(o <= out.size());
    file.append(reinterpret_cast<char*>(out.data()), o);
  }
  unsigned char end[1];
  file.append(reinterpret_cast<char*>(end), seal_end(s, end));

  reset_locked_state();
  int ango = check_locked_header_bytes(reinterpret_cast<const unsigned char*>(file.data()),
                                       file.size(), nullptr, 0);
  check(ango != 0);
  TextStream in;
  stream_open_memory(in, file.data(), file.size());
  LockedBody body;
  check(start_locked_body(in, ango, body) == 1);
  std::vector<unsigned char> line(LINE_CAPACITY);
  std::vector<std::string> got;
  int n;
  while ((n = read_locked_line(line.data(), LINE_CAPACITY, in, body,
                               static_cast<int>(got.size()) + 1)) >= 0)
    got.emplace_back(reinterpret_cast<char*>(line.data()), static_cast<std::size_t>(n));
  stream_close(in);
  check(got == expected_lines(src));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace yomite;
  if (size < 1) return 0;
  // The first byte picks the mode of the check; the rest is the file. Most
  // inputs get the magic put in front, so that the body is reached.
  int selector = data[0];
  std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
  if (selector & 1) file.insert(0, reinterpret_cast<const char*>(LOCKED_MAGIC), LOCKED_MAGIC_BYTES);
  int probe = selector >> 1 & 1;

  reset_locked_state();
  // Answers cut from the file itself: sometimes right, mostly wrong.
  std::vector<fake::PromptAnswer> answers;
  if (file.size() > LOCKED_KEY_OFFSET + 40)
    answers.push_back({1, file.substr(LOCKED_KEY_OFFSET, (selector >> 2) % 41)});
  answers.push_back({selector >> 4 & 1 ? 2 : 0, ""});
  fake::script_password_prompt(answers);

  // The writer over the same bytes, fed in chunks of 1 to 64 bytes or whole.
  seal_round_trip(file, selector & 0x40 ? 1 + selector % 64 : file.size() + 1);

  const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
  int ango = check_locked_header_bytes(bytes, file.size(), nullptr, probe);
  check(fake::password_prompts_shown() <= PASSWORD_MAX_PROMPTS);
  if (probe) check(fake::password_prompts_shown() == 0);
  if (ango == 0) return 0;

  TextStream in;
  stream_open_memory(in, bytes, file.size());
  LockedBody body;
  check(start_locked_body(in, ango, body) == 1);
  int capacity = selector & 0x20 ? 2 + selector % 64 : LINE_CAPACITY;
  std::vector<unsigned char> line(static_cast<std::size_t>(capacity));
  for (int n = 1;; ++n) {
    check(n <= static_cast<int>(file.size()) + 1);
    int got = read_locked_line(line.data(), capacity, in, body, n);
    if (got < 0) break;
    check(got < capacity && line[static_cast<std::size_t>(got)] == 0);
  }
  stream_close(in);
  return 0;
}
