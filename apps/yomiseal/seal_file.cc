#include "apps/yomiseal/seal_file.h"

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "apps/yomiseal/console.h"
#include "apps/yomiseal/source_text.h"
#include "locked/locked.h"
#include "platform/files.h"
#include "platform/output.h"

namespace yomite::seal {

namespace {

constexpr std::size_t READ_BYTES = 256 << 10;  // in and out stay in the cache

void cannot_use(const char* name) {
  say_bytes(stdout, name, std::strlen(name));
  say(stdout, " を使用できません\n");
}

void not_a_file(const char* name) {
  say(stderr, "yomiseal: ");
  say_bytes(stderr, name, std::strlen(name));
  say(stderr, " は通常のファイルではありません\n");
}

void io_failed(const char* what_utf8, const char* name, int err) {
  say(stderr, "yomiseal: ");
  say_bytes(stderr, name, std::strlen(name));
  say(stderr, what_utf8);
  const char* reason = std::strerror(err);
  say_bytes(stderr, reason, std::strlen(reason));
  say(stderr, "\n");
}

// The source must be a regular file: a FIFO or a device could block the
// open or never end (/dev/zero). Opening does not wait for a FIFO's writer.
int open_source(const char* name, SourceText& in) {
  int problem = platform::FILE_FINE;
  if (std::FILE* file = platform::open_regular_file(name, &problem)) {
    source_begin(in, file);
    return 1;
  }
  cannot_use(name);
  if (problem == platform::FILE_NOT_REGULAR || problem == platform::FILE_DIRECTORY) not_a_file(name);
  return 0;
}

// Where the text goes: a temporary file beside the destination, renamed over
// it at the end (removed on every error and on SIGINT, SIGTERM and SIGHUP; one
// a killed run left is removed by the next run there). Only a new name or a
// regular file is a destination: a FIFO nobody reads would block forever.
// A destination that is the source under any of its names is refused: the
// sealed copy would replace the text it is made from.
int open_target(const char* dest, std::FILE* source, platform::OutputFile& t) {
  if (platform::is_same_open_file(source, dest)) {
    say(stderr, "yomiseal: ");
    say_bytes(stderr, dest, std::strlen(dest));
    say(stderr, " は元テキストと同じファイルです\n");
    return 0;
  }
  if (platform::output_problem(dest) != platform::FILE_FINE) {
    cannot_use(dest);
    not_a_file(dest);
    return 0;
  }
  if (!platform::output_open(t, dest, ".yomiseal-")) {
    cannot_use(dest);
    return 0;
  }
  return 1;
}

// "U+1F600": how a message names a character whatever the console can show.
std::string code_point(char32_t c) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
  return name;
}

// The character in UTF-8, for the message.
std::string utf8_of(char32_t c) {
  std::u16string units;
  if (c < 0x10000) {
    units += static_cast<char16_t>(c);
  } else {
    units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  }
  return utf16_to_utf8(units.data(), units.size());
}

// A locked text holds Shift_JIS: a character it has no form for stops the
// run, named with its line.
void no_shift_jis_form(const char* name, const SourceText& in) {
  say(stderr, "yomiseal: ");
  say_bytes(stderr, name, std::strlen(name));
  say(stderr, (" の " + std::to_string(in.line) + " 行目の文字「").c_str());
  say(stderr, utf8_of(in.unmappable).c_str());
  say(stderr, ("」(" + code_point(in.unmappable) + ") は Shift_JIS にありません\n").c_str());
}

// Writes sealed blocks on a thread of its own, so that the kernel's copy of
// one block into the file overlaps reading and sealing the next. One block
// waits at most; the first failed write ends the writing and keeps its errno.
class BlockWriter {
 public:
  explicit BlockWriter(platform::OutputFile& t) : t_(t), thread_([this] { run(); }) {}
  ~BlockWriter() {
    {
      std::lock_guard<std::mutex> lock(m_);
      quit_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  BlockWriter(const BlockWriter&) = delete;
  BlockWriter& operator=(const BlockWriter&) = delete;

  // Hands `n` bytes over once the block before is written; the caller may
  // reuse `bytes` after the next call to put() or finish(). 0 when a write
  // has failed.
  int put(const unsigned char* bytes, std::size_t n) {
    std::unique_lock<std::mutex> lock(m_);
    cv_.wait(lock, [this] { return !pending_ || error_; });
    if (error_) return 0;
    bytes_ = bytes;
    n_ = n;
    pending_ = true;
    cv_.notify_all();
    return 1;
  }
  // Waits for the last block; 0 with errno set when a write failed.
  int finish() {
    std::unique_lock<std::mutex> lock(m_);
    cv_.wait(lock, [this] { return !pending_ || error_; });
    if (!error_) return 1;
    errno = error_;
    return 0;
  }

 private:
  void run() {
    std::unique_lock<std::mutex> lock(m_);
    for (;;) {
      cv_.wait(lock, [this] { return pending_ || quit_; });
      if (!pending_) return;
      lock.unlock();
      const int ok = platform::output_write(t_, bytes_, n_);
      const int error = ok ? 0 : (errno ? errno : EIO);
      lock.lock();
      error_ = error;
      pending_ = false;
      cv_.notify_all();
      if (error_) return;
    }
  }

  platform::OutputFile& t_;
  std::mutex m_;
  std::condition_variable cv_;
  const unsigned char* bytes_ = nullptr;
  std::size_t n_ = 0;
  bool pending_ = false, quit_ = false;
  int error_ = 0;
  std::thread thread_;  // last: starts once the fields above are ready
};

// Header and body; 0 after a message on a read or write error.
int write_text(SourceText& in, const SealArgs& a, const char* key, platform::OutputFile& t) {
  unsigned char header[LOCKED_HEADER_BYTES];
  build_locked_header(key, a.digits, header);
  if (!platform::output_write(t, header, sizeof header)) {
    io_failed(" の書き込みに失敗しました: ", a.dest, errno);
    return 0;
  }
  int ango = key_ango(key);
  std::vector<std::uint8_t> rows(256 * KEYSTREAM_ROW_BYTES);
  SealState s;
  seal_begin(s, rows.data(), ango, key_random_term(ango), key);
  std::unique_ptr<unsigned char[]> buf(new unsigned char[READ_BYTES]);
  // Two output blocks: one being written while the other is sealed.
  std::unique_ptr<unsigned char[]> out[2] = {
      std::unique_ptr<unsigned char[]>(new unsigned char[2 * READ_BYTES + 1]),
      std::unique_ptr<unsigned char[]>(new unsigned char[2 * READ_BYTES + 1])};
  BlockWriter writer(t);
  for (int turn = 0;; turn ^= 1) {
    const long got = source_read(in, buf.get(), READ_BYTES);
    if (got == SOURCE_READ_ERROR) {
      io_failed(" の読み込みに失敗しました: ", a.source, errno);
      return 0;
    }
    if (got == SOURCE_UNMAPPABLE) {
      no_shift_jis_form(a.source, in);
      return 0;
    }
    const auto n = static_cast<std::size_t>(got);
    unsigned char* o = out[turn].get();
    std::size_t size = n == 0 ? seal_end(s, o) : seal_block(s, buf.get(), n, o);
    int written = writer.put(o, size);
    if (written && n == 0) written = writer.finish();
    if (!written) {
      writer.finish();  // sets errno to the failed write's
      io_failed(" の書き込みに失敗しました: ", a.dest, errno);
      return 0;
    }
    if (n == 0) return 1;
  }
}

// Makes the text durable and puts it in place; 0 after a message.
int commit_target(platform::OutputFile& t, const char* dest) {
  if (platform::output_commit(t)) return 1;
  io_failed(" の書き込みに失敗しました: ", dest, errno);
  return 0;
}

void print_password(const char* key, int digits) {
  say(stdout, "パスワード = ");
  say_bytes(stdout, key, static_cast<std::size_t>(digits));
  say(stdout, "\n");
  std::fflush(stdout);
}

}  // namespace

int seal_file(const SealArgs& a, std::uint32_t seed) {
  SourceText in;
  if (!open_source(a.source, in)) return EXIT_FAILED;
  platform::OutputFile t;
  if (!open_target(a.dest, in.file, t)) return EXIT_FAILED;

  char key[LOCKED_KEY_CHARS + 1];
  make_key_string(seed, key);
  if (!write_text(in, a, key, t) || !commit_target(t, a.dest)) {
    platform::output_discard(t);
    return EXIT_FAILED;
  }
  // Only a text that is safely in place gets its password told.
  if (a.digits > 0) print_password(key, a.digits);
  return EXIT_DONE;
}

}  // namespace yomite::seal
