// The archive step over arbitrary bytes: whatever the archive holds, the step
// either fails or leaves one regular file directly inside a fresh extraction
// directory of the private directory, no larger than the cap; and removing
// the extraction directories leaves nothing behind. Built over libzip on
// Linux and over the project's own ZIP reader on Windows.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "document/archive.h"
#include "fuzz/fuzz_check.h"
#include "platform/files.h"
#include "platform/path_names.h"

using yomite::fuzz::check;
namespace fs = std::filesystem;

namespace {

// The inputs go beside the private directory, never inside it: a start-up
// cleanup in another process would take them for leftovers.
fs::path input_dir;

void remove_input_dir() {
  std::error_code ec;
  fs::remove_all(input_dir, ec);
}

const fs::path& make_input_dir() {
  if (!input_dir.empty()) return input_dir;
  std::random_device seed;
  for (int attempt = 0; attempt < 100 && input_dir.empty(); ++attempt) {
    fs::path candidate = fs::temp_directory_path() / ("yomite-fuzz-" + std::to_string(seed()));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) input_dir = candidate;
  }
  check(!input_dir.empty());
  std::atexit(remove_input_dir);
  return input_dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace yomite;
  std::string base;
  check(platform::private_temp_dir(base) == 1);
  const std::string archive = (make_input_dir() / "input.zip").string();
  FILE* f = std::fopen(archive.c_str(), "wb");
  check(f != nullptr);
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  std::string result;
  if (extract_first_entry(archive.c_str(), result)) {
    check(result.compare(0, base.size(), base) == 0);
    const std::string inside = result.substr(base.size());  // run-XXXXXX/NAME
    const std::string name = platform::file_name_part(inside);
    check(inside.compare(0, 4, "run-") == 0 && name.size() < inside.size());
    check(platform::file_name_start(inside.substr(0, inside.size() - name.size() - 1)) == 0);
    check(!name.empty() && name != "." && name != "..");
    std::error_code ec;
    check(fs::is_regular_file(fs::symlink_status(result, ec)));
    check(fs::file_size(result, ec) <= static_cast<std::uintmax_t>(ARCHIVE_ENTRY_MAX_BYTES));
  }
  platform::remove_extraction_dirs();
  std::error_code ec;
  check(result.empty() || !fs::exists(fs::symlink_status(result, ec)));
  fs::remove(archive, ec);
  return 0;
}
