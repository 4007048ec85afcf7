// Fresh directories for unpacked archive entries, one per unpacking, on
// POSIX. A directory is "held" while its maker runs: the maker keeps an
// exclusive flock on the directory itself until it removes it or ends (the
// kernel drops the lock with the process, however it ends). A directory
// whose lock can be taken is a crashed run's leftover.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "platform/files.h"

namespace yomite::platform {

namespace {

struct HeldDir {
  std::string path;  // with a trailing '/'
  int fd;            // open on the directory, holding its lock
};

std::vector<HeldDir>& held_dirs() {
  static std::vector<HeldDir> dirs;
  return dirs;
}

// Tries a few times: a cleaner in another process may take the lock of a
// directory made a moment ago, before its maker locked it, and remove it.
constexpr int MAKE_ATTEMPTS = 4;

void remove_tree(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove_all(path, ec);  // never follows a link inside
}

// A directory locked by this process that still exists.
int make_and_hold(const std::string& base, HeldDir& held) {
  std::string pattern = base + "run-XXXXXX";
  if (!mkdtemp(pattern.data())) return 0;  // mode 0700
  int fd = open(pattern.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return 0;
  struct stat st;
  if (flock(fd, LOCK_EX) != 0 || fstat(fd, &st) != 0 || st.st_nlink == 0) {
    close(fd);
    return 0;
  }
  held = {pattern + "/", fd};
  return 1;
}

// Removes `name` in `base` unless it is a directory some process holds.
void clear_if_stale(const std::string& base, const char* name) {
  std::string path = base + name;
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return;
  if (!S_ISDIR(st.st_mode)) {
    unlink(path.c_str());  // a loose file: an older layout's copy, or planted
    return;
  }
  int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  if (flock(fd, LOCK_EX | LOCK_NB) == 0) remove_tree(path);
  close(fd);
}

}  // namespace

int make_extraction_dir(std::string& dir) {
  std::string base;
  if (!private_temp_dir(base)) return 0;
  for (int attempt = 0; attempt < MAKE_ATTEMPTS; ++attempt) {
    HeldDir held;
    if (!make_and_hold(base, held)) continue;
    held_dirs().push_back(held);
    dir = held.path;
    return 1;
  }
  return 0;
}

void remove_extraction_dirs() {
  for (HeldDir& held : held_dirs()) {
    remove_tree(held.path);
    close(held.fd);
  }
  held_dirs().clear();
}

void clear_stale_extraction_dirs() {
  std::string base;
  if (!private_temp_dir(base)) return;
  DIR* d = opendir(base.c_str());
  if (!d) return;
  std::vector<std::string> names;
  while (dirent* e = readdir(d))
    if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
  closedir(d);
  for (const std::string& name : names) clear_if_stale(base, name.c_str());
}

}  // namespace yomite::platform
