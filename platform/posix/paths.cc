// Full paths and existence tests on POSIX.
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/files.h"

namespace yomite::platform {

namespace {

// Joins the components of an absolute path, dropping "." and empty ones and
// letting ".." remove the one before it (never above the root).
std::string normalise(const std::string& path) {
  std::vector<std::string> parts;
  std::string::size_type i = 0;
  while (i <= path.size()) {
    std::string::size_type slash = path.find('/', i);
    if (slash == std::string::npos) slash = path.size();
    std::string part = path.substr(i, slash - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = slash + 1;
  }
  std::string out;
  for (const std::string& part : parts) out += "/" + part;
  return out.empty() ? "/" : out;
}

}  // namespace

int full_path(const std::string& name, std::string& full) {
  if (!name.empty() && name[0] == '/') {
    full = normalise(name);
    return 1;
  }
  char cwd[PATH_BYTES];
  if (!getcwd(cwd, sizeof cwd)) {
    full = name;
    return 0;
  }
  full = normalise(std::string(cwd) + "/" + name);
  return 1;
}

int is_existing_file(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 && !S_ISDIR(st.st_mode);
}

}  // namespace yomite::platform
