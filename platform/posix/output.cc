// Output files through a temporary file and a rename, on POSIX, with the
// temporary files removed when a terminating signal arrives, and those of a
// killed run when the next output is made beside them.
#include "platform/output.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>

#include "platform/files.h"
#include "platform/posix/descriptors.h"
#include "platform/shared/temporary_names.h"

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

// --- temporary files of runs that were killed -----------------------------------
// A temporary file is held by its writer: an exclusive flock, which the
// kernel drops however the process ends (SIGKILL too). One whose lock can be
// taken is a dead run's, and the next output in that directory removes it.

constexpr int MAKE_ATTEMPTS = 4;

// Removes the temporary files named `temp_prefix` XXXXXX TEMP_SUFFIX in `dir`
// that this user owns and no process holds.
void remove_stale_temporaries(const std::string& dir, const std::string& temp_prefix) {
  namespace fs = std::filesystem;
  std::error_code ec;  // a listing that fails part way stops: nothing throws
  for (fs::directory_iterator it(dir, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!is_temporary_name(name, temp_prefix)) continue;
    const std::string path = it->path().string();
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) continue;
    struct stat held, named;
    if (fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == getuid() &&
        flock(fd, LOCK_EX | LOCK_NB) == 0 && lstat(path.c_str(), &named) == 0 &&
        named.st_ino == held.st_ino && named.st_dev == held.st_dev)
      unlink(path.c_str());
    close(fd);
  }
}

// A new temporary file that this process holds, or -1. A cleaner in another
// process may take one made a moment ago, before it was held: then another.
int make_held_temporary(std::string& temp, const std::string& pattern) {
  for (int attempt = 0; attempt < MAKE_ATTEMPTS; ++attempt) {
    temp = pattern;
    const int fd = mkostemps(temp.data(), static_cast<int>(std::strlen(TEMP_SUFFIX)), O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st;
    if (flock(fd, LOCK_EX) == 0 && fstat(fd, &st) == 0 && st.st_nlink > 0) return fd;
    close(fd);
  }
  errno = EAGAIN;
  return -1;
}

int make_temporary(OutputFile& out, const char* temp_prefix, mode_t mode) {
  const std::string dir = posix::directory_of(out.final);
  remove_stale_temporaries(dir, temp_prefix);
  SignalsHeld held;
  install_handlers();
  std::string temp;
  out.fd = make_held_temporary(
      temp, dir + "/" + temp_prefix + std::string(TEMP_RANDOM_CHARS, 'X') + TEMP_SUFFIX);
  if (out.fd < 0) return 0;
  out.temp = temp;
  out.slot = take_slot(temp);
  fchmod(out.fd, mode);
  return 1;
}

}  // namespace

int output_problem(const char* path) {
  struct stat st;
  if (stat(path, &st) != 0) return FILE_FINE;  // a new name (or one output_open reports on)
  if (S_ISDIR(st.st_mode)) return FILE_DIRECTORY;
  return S_ISREG(st.st_mode) ? FILE_FINE : FILE_NOT_REGULAR;
}

int output_open(OutputFile& out, const char* path, const char* temp_prefix) {
  out = OutputFile{};
  if (const int problem = output_problem(path)) {
    errno = problem == FILE_DIRECTORY ? EISDIR : EINVAL;
    return 0;
  }
  struct stat st;
  const int exists = stat(path, &st) == 0;
  out.final = path;
  mode_t mode = new_file_mode();
  if (exists) {
    // The destination must be writable as it stands, as when it is truncated.
    int probe = open(path, O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
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

int is_same_open_file(std::FILE* open, const char* path) {
  struct stat so, sp;
  return open && fstat(fileno(open), &so) == 0 && stat(path, &sp) == 0 && so.st_dev == sp.st_dev &&
         so.st_ino == sp.st_ino;
}

}  // namespace yomite::platform
