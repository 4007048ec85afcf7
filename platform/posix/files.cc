// Settings file location, reading files the user names, atomic replacement
// under a lock, and the private temporary directory, on POSIX.
#include "platform/files.h"
#include "platform/posix/descriptors.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace yomite::platform {

namespace {

using posix::directory_of;
using posix::sync_directory;
using posix::write_all;

std::string program_directory() {
  char buf[PATH_BYTES];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "";
  return directory_of(std::string(buf, static_cast<std::size_t>(n)));
}

// mkdir -p with `mode` for the directories it creates.
void make_directories(const std::string& dir, mode_t mode) {
  for (std::string::size_type i = 1; i <= dir.size(); ++i)
    if (i == dir.size() || dir[i] == '/') mkdir(dir.substr(0, i).c_str(), mode);
}

std::string user_config_directory() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/yomite";
  const char* home = std::getenv("HOME");
  return std::string(home && home[0] ? home : "/tmp") + "/.config/yomite";
}

// Writes `bytes` to a new file beside `path`, then renames it over `path`.
int replace_file(const std::string& path, const std::string& bytes) {
  std::string temp = path + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return 0;
  struct stat old;
  fchmod(fd, stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  int ok = write_all(fd, bytes.data(), bytes.size()) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok && rename(temp.c_str(), path.c_str()) == 0) {
    sync_directory(directory_of(path));
    return 1;
  }
  unlink(temp.c_str());
  return 0;
}

}  // namespace

std::string settings_file_bytes(const std::string& text) {
  return text;
}

// A program installed into a folder its user can write (~/.local/bin) must
// not fill it with settings: only a file already there makes a portable copy.
std::string settings_file_path_for(const std::string& program_dir) {
  if (!program_dir.empty()) {
    const std::string beside = program_dir + "/" + SETTINGS_FILE_NAME;
    struct stat st;
    if (lstat(beside.c_str(), &st) == 0) return beside;
  }
  return user_config_directory() + "/" + SETTINGS_FILE_NAME;
}

std::string settings_file_path() {
  return settings_file_path_for(program_directory());
}

const char* settings_file_rule() {
  return "プログラムの横に YOMITE.INI があればそれを、なければ $XDG_CONFIG_HOME/yomite/ "
         "(~/.config/yomite/) のものを使います。";
}

std::FILE* open_regular_file(const char* path, int* problem) {
  int why = FILE_FINE;
  // O_NONBLOCK: opening a FIFO does not wait for a writer; it is refused below.
  int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  struct stat st;
  if (fd < 0)
    why = errno == ENOENT || errno == ENOTDIR ? FILE_MISSING : FILE_UNREADABLE;
  else if (fstat(fd, &st) != 0)
    why = FILE_UNREADABLE;
  else if (S_ISDIR(st.st_mode))
    why = FILE_DIRECTORY;
  else if (!S_ISREG(st.st_mode))
    why = FILE_NOT_REGULAR;
  std::FILE* f = nullptr;
  if (why == FILE_FINE && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0)
    f = fdopen(fd, "rb");
  if (!f) {
    if (why == FILE_FINE) why = FILE_UNREADABLE;
    if (fd >= 0) close(fd);
  }
  if (problem) *problem = why;
  return f;
}

int update_file_atomically(const char* path, std::size_t max_bytes, FileUpdate update,
                           void* context) {
  make_directories(directory_of(path), 0700);  // a read never made it
  // The lock file is never renamed over, so every writer locks the same inode.
  std::string lock_path = std::string(path) + ".lock";
  int lock = open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (lock < 0) return 0;
  while (flock(lock, LOCK_EX) != 0)
    if (errno != EINTR) {
      close(lock);
      return 0;
    }
  std::string current, replacement;
  int problem = FILE_FINE;
  int ok = read_file_bytes(path, current, max_bytes, &problem) || problem == FILE_MISSING;
  if (ok && update(current, replacement, context)) ok = replace_file(path, replacement);
  close(lock);  // releases the lock
  return ok;
}

int private_temp_dir(std::string& dir) {
  const char* base = std::getenv("TMPDIR");
  std::string root = base && base[0] == '/' ? base : "/tmp";
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  std::string path = root + "/yomite-" + std::to_string(getuid());
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return 0;
  // Another user may have made the name first, or planted a link there.
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid()) return 0;
  if ((st.st_mode & 077) != 0 && chmod(path.c_str(), 0700) != 0) return 0;
  dir = path + "/";
  return 1;
}

}  // namespace yomite::platform
