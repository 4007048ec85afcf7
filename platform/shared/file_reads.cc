// Reading the files a user names, over each system's open_regular_file.
#include <cstdio>

#include "platform/files.h"

namespace yomite::platform {

const char* file_problem_text(int problem) {
  switch (problem) {
    case FILE_FINE:
      return "is fine";
    case FILE_MISSING:
      return "does not exist";
    case FILE_NOT_REGULAR:
      return "is a FIFO, a device or a socket, not a regular file";
    case FILE_DIRECTORY:
      return "is a directory";
    case FILE_TOO_LARGE:
      return "is too large";
    default:
      return "cannot be read";
  }
}

int check_regular_file(const char* path) {
  int problem = FILE_FINE;
  if (std::FILE* f = open_regular_file(path, &problem)) std::fclose(f);
  return problem;
}

int read_file_bytes(const char* path, std::string& out, std::size_t max_bytes, int* problem) {
  out.clear();
  int why = FILE_FINE;
  std::FILE* f = open_regular_file(path, &why);
  if (f) {
    // One byte more than allowed tells a file that is too large, even one
    // that grows while it is read.
    char buf[16384];
    std::size_t n;
    while (out.size() <= max_bytes && (n = std::fread(buf, 1, sizeof buf, f)) > 0)
      out.append(buf, n);
    if (std::ferror(f)) why = FILE_UNREADABLE;
    if (out.size() > max_bytes) why = FILE_TOO_LARGE;
    std::fclose(f);
  }
  if (why != FILE_FINE) out.clear();
  if (problem) *problem = why;
  return why == FILE_FINE;
}

}  // namespace yomite::platform
