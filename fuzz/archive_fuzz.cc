// The archive step over arbitrary bytes: whatever the archive holds, the step
// either fails or leaves one regular file directly inside a fresh extraction
// directory of the private directory, no larger than the cap; and removing
// the extraction directories leaves nothing behind.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/archive.h"
#include "fuzz/fuzz_check.h"
#include "platform/files.h"

using yomite::fuzz::check;

namespace {

// The inputs go beside the private directory, never inside it: a start-up
// cleanup in another process would take them for leftovers.
char input_dir[4096];

void remove_input_dir() {
  rmdir(input_dir);
}

const char* make_input_dir() {
  if (input_dir[0]) return input_dir;
  const char* base = std::getenv("TMPDIR");
  std::snprintf(input_dir, sizeof input_dir, "%s/yomite-fuzz-XXXXXX",
                base && base[0] == '/' ? base : "/tmp");
  check(mkdtemp(input_dir) != nullptr);
  std::atexit(remove_input_dir);
  return input_dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace yomite;
  std::string base;
  check(platform::private_temp_dir(base) == 1);
  std::string archive = std::string(make_input_dir()) + "/input.zip";
  FILE* f = std::fopen(archive.c_str(), "wb");
  check(f != nullptr);
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  std::string result;
  if (extract_first_entry(archive.c_str(), result)) {
    check(result.compare(0, base.size(), base) == 0);
    std::string inside = result.substr(base.size());  // run-XXXXXX/NAME
    std::size_t slash = inside.find('/');
    check(slash != std::string::npos && inside.compare(0, 4, "run-") == 0);
    std::string name = inside.substr(slash + 1);
    check(!name.empty() && name.find('/') == std::string::npos && name != "." && name != "..");
    struct stat st;
    check(lstat(result.c_str(), &st) == 0 && S_ISREG(st.st_mode));
    check(st.st_size <= ARCHIVE_ENTRY_MAX_BYTES);
  }
  platform::remove_extraction_dirs();
  check(result.empty() || access(result.c_str(), F_OK) != 0);
  unlink(archive.c_str());
  return 0;
}
