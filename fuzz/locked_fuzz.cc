// The header check and the line decoder of locked texts over arbitrary files:
// no read or write outside a buffer, every line 0-terminated and within its
// capacity, and the prompt asked at most its limit of times.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "decode/decode.h"
#include "locked/locked.h"
#include "platform/fake/fake_password_prompt.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
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
