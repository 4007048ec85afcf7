// How a POSIX process holds its extraction directories: an exclusive flock
// on the directory itself until it removes it or ends (the kernel drops the
// lock with the process, however it ends). A directory whose lock can be
// taken is a crashed run's leftover.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/shared/extraction_dirs.h"

namespace yomite::platform {

namespace {

void remove_tree(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove_all(path, ec);  // never follows a link inside
}

}  // namespace

int make_held_dir(const std::string& base, HeldDir& held) {
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

void remove_held_dir(HeldDir& held) {
  remove_tree(held.path);
  close(static_cast<int>(held.hold));
}

std::vector<std::string> directory_names(const std::string& dir) {
  std::vector<std::string> names;
  DIR* d = opendir(dir.c_str());
  if (!d) return names;
  while (dirent* e = readdir(d))
    if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
  closedir(d);
  return names;
}

void remove_unless_held(const std::string& base, const std::string& name) {
  std::string path = base + name;
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return;
  if (!S_ISDIR(st.st_mode)) {
    unlink(path.c_str());
    return;
  }
  int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return;
  if (flock(fd, LOCK_EX | LOCK_NB) == 0) remove_tree(path);
  close(fd);
}

}  // namespace yomite::platform
