// Output files through a temporary file and a rename, on POSIX, with the
// temporary files removed when a terminating signal arrives.
#include "platform/output.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "platform/files.h"
#include "platform/posix/descriptors.h"

namespace yomite::platform {

namespace {

// --- temporary files a signal removes ------------------------------------------

constexpr int SLOTS = 4;  // outputs open at once; a program has one
constexpr int CLEANUP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};
constexpr std::size_t SIGNAL_COUNT = std::size(CLEANUP_SIGNALS);

char slot_path[SLOTS][PATH_BYTES];
volatile std::sig_atomic_t slot_used[SLOTS];
struct sigaction previous[SIGNAL_COUNT];

// Only async-signal-safe calls: unlink, sigaction, raise.
void remove_temporaries(int sig) {
  for (int i = 0; i < SLOTS; ++i)
    if (slot_used[i]) unlink(slot_path[i]);
  for (std::size_t k = 0; k < SIGNAL_COUNT; ++k)
    if (CLEANUP_SIGNALS[k] == sig) sigaction(sig, &previous[k], nullptr);
  raise(sig);
}

void install_handlers() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  for (std::size_t k = 0; k < SIGNAL_COUNT; ++k) {
    sigaction(CLEANUP_SIGNALS[k], nullptr, &previous[k]);
    if (previous[k].sa_handler == SIG_IGN) continue;  // nohup and the like
    struct sigaction on {};
    on.sa_handler = remove_temporaries;
    sigemptyset(&on.sa_mask);
    sigaction(CLEANUP_SIGNALS[k], &on, nullptr);
  }
}

// The cleanup signals held back while a temporary file is made and noted.
struct SignalsHeld {
  sigset_t old;
  SignalsHeld() {
    sigset_t set;
    sigemptyset(&set);
    for (int sig : CLEANUP_SIGNALS) sigaddset(&set, sig);
    sigprocmask(SIG_BLOCK, &set, &old);
  }
  ~SignalsHeld() { sigprocmask(SIG_SETMASK, &old, nullptr); }
};

int take_slot(const std::string& path) {
  if (path.size() >= static_cast<std::size_t>(PATH_BYTES)) return -1;
  for (int i = 0; i < SLOTS; ++i) {
    if (slot_used[i]) continue;
    std::memcpy(slot_path[i], path.c_str(), path.size() + 1);
    slot_used[i] = 1;
    return i;
  }
  return -1;
}

void release_slot(OutputFile& out) {
  if (out.slot >= 0) slot_used[out.slot] = 0;
  out.slot = -1;
}

// --- the output ------------------------------------------------------------------

mode_t new_file_mode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// A device or a pipe: written as it is.
int open_directly(OutputFile& out, const char* path) {
  out.fd = open(path, O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
  return out.fd >= 0;
}

int make_temporary(OutputFile& out, const char* temp_prefix, mode_t mode) {
  SignalsHeld held;
  install_handlers();
  std::string temp = posix::directory_of(out.final) + "/" + temp_prefix + "XXXXXX";
  out.fd = mkostemp(temp.data(), O_CLOEXEC);
  if (out.fd < 0) return 0;
  out.temp = temp;
  out.slot = take_slot(temp);
  fchmod(out.fd, mode);
  return 1;
}

}  // namespace

int output_open(OutputFile& out, const char* path, const char* temp_prefix) {
  out = OutputFile{};
  struct stat st;
  const int exists = stat(path, &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return 0;
  }
  if (exists && !S_ISREG(st.st_mode)) return open_directly(out, path);
  out.final = path;
  mode_t mode = new_file_mode();
  if (exists) {
    // The destination must be writable as it stands, as when it is truncated.
    int probe = open(path, O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (probe < 0) return 0;
    close(probe);
    // Replace what a symbolic link points to, not the link.
    if (char* real = realpath(path, nullptr)) {
      out.final = real;
      std::free(real);
    }
    mode = st.st_mode & 07777;
  }
  return make_temporary(out, temp_prefix, mode);
}

int output_write(OutputFile& out, const void* bytes, std::size_t n) {
  return posix::write_all(out.fd, bytes, n);
}

int output_commit(OutputFile& out) {
  int fd = out.fd;
  out.fd = -1;
  if (out.temp.empty()) return close(fd) == 0;
  int ok = fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok) ok = rename(out.temp.c_str(), out.final.c_str()) == 0;
  if (!ok) {
    int error = errno;
    output_discard(out);
    errno = error;
    return 0;
  }
  out.temp.clear();
  release_slot(out);
  posix::sync_directory(posix::directory_of(out.final));
  return 1;
}

void output_discard(OutputFile& out) {
  if (out.fd >= 0) close(out.fd);
  out.fd = -1;
  if (!out.temp.empty()) unlink(out.temp.c_str());
  out.temp.clear();
  release_slot(out);
}

int is_same_file(const char* a, const char* b) {
  struct stat sa, sb;
  return stat(a, &sa) == 0 && stat(b, &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace yomite::platform
