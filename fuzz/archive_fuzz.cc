// The archive step over arbitrary bytes: whatever the archive holds, the step
// either fails or leaves one regular file directly inside the private
// directory, no larger than the cap.
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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace yomite;
  std::string dir;
  check(platform::private_temp_dir(dir) == 1);
  std::string archive = dir + "fuzz-input-" + std::to_string(getpid()) + ".zip";
  FILE* f = std::fopen(archive.c_str(), "wb");
  check(f != nullptr);
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  std::string result;
  if (extract_first_entry(archive.c_str(), result)) {
    check(result.compare(0, dir.size(), dir) == 0);
    std::string name = result.substr(dir.size());
    check(!name.empty() && name.find('/') == std::string::npos && name != "." && name != "..");
    struct stat st;
    check(lstat(result.c_str(), &st) == 0 && S_ISREG(st.st_mode));
    check(st.st_size <= ARCHIVE_ENTRY_MAX_BYTES);
    if (result != archive) unlink(result.c_str());
  }
  unlink(archive.c_str());
  return 0;
}
