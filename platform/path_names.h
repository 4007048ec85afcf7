// Names inside paths, as both kinds of system write them: components are
// separated by '/' or '\', and a Windows path may begin with a drive ("C:").
#pragma once

#include <cstddef>
#include <string>

namespace yomite::platform {

inline bool is_path_separator(char c) {
  return c == '/' || c == '\\';
}

// 1 when `path` begins with a drive letter and a colon ("C:", "c:\x").
inline int has_drive(const std::string& path) {
  const char c = path.empty() ? 0 : path[0];
  return path.size() >= 2 && path[1] == ':' && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'));
}

// Where the last component begins: after the last separator, or after the
// drive of a path that has none ("C:book.txt").
inline std::size_t file_name_start(const std::string& path) {
  for (std::size_t i = path.size(); i > 0; --i)
    if (is_path_separator(path[i - 1])) return i;
  return has_drive(path) ? 2 : 0;
}

// The last component ("book.txt" of "/home/a/book.txt" or "C:\a\book.txt").
inline std::string file_name_part(const std::string& path) {
  return path.substr(file_name_start(path));
}

// Everything before the last component, its separator included ("C:\a\");
// empty for a bare name.
inline std::string directory_part(const std::string& path) {
  return path.substr(0, file_name_start(path));
}

// 1 when `path` does not depend on the working directory: it begins with a
// separator ("/x", "\\server\x") or with a drive and a separator ("C:\x").
inline int is_absolute_path(const std::string& path) {
  if (!path.empty() && is_path_separator(path[0])) return 1;
  return has_drive(path) && path.size() >= 3 && is_path_separator(path[2]);
}

}  // namespace yomite::platform
