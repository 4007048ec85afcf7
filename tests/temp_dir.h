// A fresh directory for one test, removed with its contents afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace yomite::test {

struct TempDir {
  std::string path;
  TempDir() {
    std::string pattern = std::filesystem::temp_directory_path() / "yomite-test-XXXXXX";
    path = mkdtemp(pattern.data()) ? pattern : "";
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string file(const std::string& name) const { return path + "/" + name; }
};

// The directory of this test process, removed when it exits. ctest runs every
// test in a process of its own, so tests running side by side never share a
// file.
inline const TempDir& process_temp_dir() {
  static const TempDir dir;
  return dir;
}

}  // namespace yomite::test
