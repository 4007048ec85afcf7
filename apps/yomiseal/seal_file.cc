#include "apps/yomiseal/seal_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "locked/locked.h"
#include "platform/output.h"

namespace yomite::seal {

namespace {

constexpr std::size_t READ_BYTES = 256 << 10;  // in and out stay in the cache

void cannot_use(const char* name) {
  say_bytes(stdout, name, std::strlen(name));
  say(stdout, " を使用できません\n");
}

void io_failed(const char* what_utf8, const char* name, int err) {
  say(stderr, "yomiseal: ");
  say_bytes(stderr, name, std::strlen(name));
  say(stderr, what_utf8);
  const char* reason = std::strerror(err);
  say_bytes(stderr, reason, std::strlen(reason));
  say(stderr, "\n");
}

struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) close(fd);
  }
};

// The source must be a regular file: a FIFO or a device could block the
// open or never end (/dev/zero). Opening does not wait for a FIFO's writer.
int open_source(const char* name, Fd& in) {
  in.fd = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  struct stat st;
  if (in.fd < 0 || fstat(in.fd, &st) != 0) {
    cannot_use(name);
    return 0;
  }
  if (!S_ISREG(st.st_mode)) {
    cannot_use(name);
    say(stderr, "yomiseal: ");
    say_bytes(stderr, name, std::strlen(name));
    say(stderr, " は通常のファイルではありません\n");
    return 0;
  }
  fcntl(in.fd, F_SETFL, fcntl(in.fd, F_GETFL) & ~O_NONBLOCK);
  return 1;
}

// Where the text goes: a temporary file beside the destination, renamed over
// it at the end (removed on every error and on SIGINT, SIGTERM and SIGHUP);
// or, for a destination that is not a regular file (a device, a pipe), the
// destination itself.
int open_target(const char* dest, int source, platform::OutputFile& t) {
  struct stat in, st;
  if (fstat(source, &in) == 0 && stat(dest, &st) == 0 && st.st_dev == in.st_dev &&
      st.st_ino == in.st_ino) {
    say(stderr, "yomiseal: ");
    say_bytes(stderr, dest, std::strlen(dest));
    say(stderr, " は元テキストと同じファイルです\n");
    return 0;
  }
  if (!platform::output_open(t, dest, ".yomiseal-")) {
    cannot_use(dest);
    return 0;
  }
  return 1;
}

// Header and body; 0 after a message on a read or write error.
int write_text(int in, const SealArgs& a, const char* key, platform::OutputFile& t) {
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
  std::unique_ptr<unsigned char[]> out(new unsigned char[2 * READ_BYTES + 1]);
  for (;;) {
    ssize_t n = read(in, buf.get(), READ_BYTES);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      io_failed(" の読み込みに失敗しました: ", a.source, errno);
      return 0;
    }
    std::size_t o = n == 0 ? seal_end(s, out.get())
                           : seal_block(s, buf.get(), static_cast<std::size_t>(n), out.get());
    if (!platform::output_write(t, out.get(), o)) {
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
  Fd in;
  if (!open_source(a.source, in)) return EXIT_FAILED;
  platform::OutputFile t;
  if (!open_target(a.dest, in.fd, t)) return EXIT_FAILED;

  char key[LOCKED_KEY_CHARS + 1];
  make_key_string(seed, key);
  if (!write_text(in.fd, a, key, t) || !commit_target(t, a.dest)) {
    platform::output_discard(t);
    return EXIT_FAILED;
  }
  // Only a text that is safely in place gets its password told.
  if (a.digits > 0) print_password(key, a.digits);
  return EXIT_DONE;
}

}  // namespace yomite::seal
