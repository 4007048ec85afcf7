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
  std::string file(const std::string& name) const { return path + "/" + name; }
};

}  // namespace yomite::test
