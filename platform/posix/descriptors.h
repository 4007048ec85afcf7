// Small POSIX helpers shared by the file backends: paths, whole writes,
// durable renames.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <string>

namespace yomite::platform::posix {

// The directory part of `path`: "." for a bare name, "/" for the root.
inline std::string directory_of(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Writes all `n` bytes; 1, or 0 with errno set (EIO for a write of nothing).
inline int write_all(int fd, const void* bytes, std::size_t n) {
  const auto* p = static_cast<const unsigned char*>(bytes);
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

// Makes a rename inside `dir` durable.
inline void sync_directory(const std::string& dir) {
  int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace yomite::platform::posix
