// A fresh directory for one test, removed with its contents afterwards.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace yomite::test {

struct TempDir {
  std::string path;
  TempDir() {
    // Made with a name nobody else picks: create_directory fails for one that exists.
    std::random_device seed;
    std::mt19937_64 pick(seed());
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100 && path.empty(); ++attempt) {
      const std::filesystem::path candidate = base / ("yomite-test-" + std::to_string(pick()));
      std::error_code ec;
      if (std::filesystem::create_directory(candidate, ec)) path = candidate.string();
    }
  }
  ~TempDir() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
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
