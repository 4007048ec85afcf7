#include "apps/yomiseal/seal_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "locked/locked.h"

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

int write_all(int fd, const unsigned char* p, std::size_t n) {
  while (n > 0) {
    ssize_t w = write(fd, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      if (w == 0) errno = EIO;
      return 0;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return 1;
}

// Where the text goes: a temporary file beside the destination, renamed over
// it at the end; or, for a destination that is not a regular file (a device,
// a pipe), the destination itself.
struct Target {
  Fd out;
  std::string temp;   // empty when writing the destination itself
  std::string final;  // what the temporary file becomes
};

std::string directory_of(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t new_file_mode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Opens the target; 0 after a message when it cannot be used.
int open_target(const char* dest, const struct stat& source, Target& t) {
  struct stat st;
  int exists = stat(dest, &st) == 0;
  if (exists && st.st_dev == source.st_dev && st.st_ino == source.st_ino) {
    say(stderr, "yomiseal: ");
    say_bytes(stderr, dest, std::strlen(dest));
    say(stderr, " は元テキストと同じファイルです\n");
    return 0;
  }
  if (exists && !S_ISREG(st.st_mode)) {
    t.out.fd = open(dest, O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (t.out.fd < 0) cannot_use(dest);
    return t.out.fd >= 0;
  }
  t.final = dest;
  mode_t mode = new_file_mode();
  if (exists) {
    // The destination must be writable as it stands, as when it is truncated.
    Fd probe{open(dest, O_WRONLY | O_CLOEXEC)};
    if (probe.fd < 0) {
      cannot_use(dest);
      return 0;
    }
    // Replace what a symbolic link points to, not the link.
    if (char* real = realpath(dest, nullptr)) {
      t.final = real;
      std::free(real);
    }
    mode = st.st_mode & 07777;
  }
  t.temp = directory_of(t.final) + "/.yomiseal-XXXXXX";
  t.out.fd = mkostemp(t.temp.data(), O_CLOEXEC);
  if (t.out.fd < 0) {
    t.temp.clear();
    cannot_use(dest);
    return 0;
  }
  fchmod(t.out.fd, mode);
  return 1;
}

void discard_target(Target& t) {
  if (t.temp.empty()) return;
  unlink(t.temp.c_str());
  t.temp.clear();
}

// Header and body; 0 after a message on a read or write error.
int write_text(int in, const SealArgs& a, const char* key, Target& t) {
  unsigned char header[LOCKED_HEADER_BYTES];
  build_locked_header(key, a.digits, header);
  if (!write_all(t.out.fd, header, sizeof header)) {
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
    if (!write_all(t.out.fd, out.get(), o)) {
      io_failed(" の書き込みに失敗しました: ", a.dest, errno);
      return 0;
    }
    if (n == 0) return 1;
  }
}

// Makes the text durable and puts it in place; 0 after a message.
int commit_target(Target& t, const char* dest) {
  if (t.temp.empty()) return 1;
  int fd = t.out.fd;
  t.out.fd = -1;
  if (fsync(fd) != 0 || close(fd) != 0) {
    io_failed(" の書き込みに失敗しました: ", dest, errno);
    return 0;
  }
  if (rename(t.temp.c_str(), t.final.c_str()) != 0) {
    io_failed(" の書き込みに失敗しました: ", dest, errno);
    return 0;
  }
  t.temp.clear();
  return 1;
}

}  // namespace

int seal_file(const SealArgs& a, std::uint32_t seed) {
  Fd in{open(a.source, O_RDONLY | O_CLOEXEC)};
  struct stat source;
  if (in.fd < 0 || fstat(in.fd, &source) != 0) {
    cannot_use(a.source);
    return EXIT_FAILED;
  }
  Target t;
  if (!open_target(a.dest, source, t)) return EXIT_FAILED;

  char key[LOCKED_KEY_CHARS + 1];
  make_key_string(seed, key);
  if (a.digits > 0) {
    say(stdout, "パスワード = ");
    say_bytes(stdout, key, static_cast<std::size_t>(a.digits));
    say(stdout, "\n");
    std::fflush(stdout);
  }
  if (!write_text(in.fd, a, key, t) || !commit_target(t, a.dest)) {
    discard_target(t);
    return EXIT_FAILED;
  }
  return EXIT_DONE;
}

}  // namespace yomite::seal
