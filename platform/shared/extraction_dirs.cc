// The extraction directories' steps, the same on every system.
#include "platform/shared/extraction_dirs.h"

#include "platform/files.h"

namespace yomite::platform {

namespace {

std::vector<HeldDir>& held_dirs() {
  static std::vector<HeldDir> dirs;
  return dirs;
}

// Tries a few times: a cleaner in another process may take a directory made
// a moment ago, before its maker held it, and remove it.
constexpr int MAKE_ATTEMPTS = 4;

}  // namespace

int make_extraction_dir(std::string& dir) {
  std::string base;
  if (!private_temp_dir(base)) return 0;
  for (int attempt = 0; attempt < MAKE_ATTEMPTS; ++attempt) {
    HeldDir held;
    if (!make_held_dir(base, held)) continue;
    held_dirs().push_back(held);
    dir = held.path;
    return 1;
  }
  return 0;
}

void remove_extraction_dirs() {
  for (HeldDir& held : held_dirs()) remove_held_dir(held);
  held_dirs().clear();
}

void clear_stale_extraction_dirs() {
  std::string base;
  if (!private_temp_dir(base)) return;
  for (const std::string& name : directory_names(base)) remove_unless_held(base, name);
}

}  // namespace yomite::platform
