// Settings file location, atomic replacement under a lock, and the private
// temporary directory, on POSIX.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace yomite::platform {

namespace {

std::string directory_of(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

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

int write_all(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return 0;
    done += static_cast<std::size_t>(n);
  }
  return 1;
}

void sync_directory(const std::string& dir) {
  int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Writes `bytes` to a new file beside `path`, then renames it over `path`.
int replace_file(const std::string& path, const std::string& bytes) {
  std::string temp = path + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return 0;
  struct stat old;
  fchmod(fd, stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  int ok = write_all(fd, bytes) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok && rename(temp.c_str(), path.c_str()) == 0) {
    sync_directory(directory_of(path));
    return 1;
  }
  unlink(temp.c_str());
  return 0;
}

}  // namespace

std::string settings_file_path() {
  std::string dir = program_directory();
  if (dir.empty() || access(dir.c_str(), W_OK) != 0) {
    dir = user_config_directory();
    make_directories(dir, 0700);
  }
  return dir + "/" + SETTINGS_FILE_NAME;
}

int read_file_bytes(const char* path, std::string& out) {
  out.clear();
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  char buf[16384];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      out.clear();
      close(fd);
      return 0;
    }
    if (n == 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  close(fd);
  return 1;
}

int update_file_atomically(const char* path, FileUpdate update, void* context) {
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
  read_file_bytes(path, current);
  int ok = 1;
  if (update(current, replacement, context)) ok = replace_file(path, replacement);
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
