// Fresh directories for unpacked archive entries: the steps are the same on
// every system (platform/shared/extraction_dirs.cc); how a running process
// holds its directory, so that leftovers of a crashed run can be told from
// the directories of running programs, is each system's, below.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace yomite::platform {

struct HeldDir {
  std::string path;     // with a trailing separator
  std::intptr_t hold;   // what holds it: a descriptor or a handle
};

// Makes a new directory in `base` and holds it. 1, or 0 when it cannot (a
// cleaner in another process may take a directory made a moment ago, before
// it was held: the caller tries again).
int make_held_dir(const std::string& base, HeldDir& held);

// Lets go of `held` and removes it with what is in it.
void remove_held_dir(HeldDir& held);

// The names in `dir`, "." and ".." left out.
std::vector<std::string> directory_names(const std::string& dir);

// Removes `name` in `base` unless it is a directory some process holds: a
// crashed run's directory, or a loose file (an older layout's copy, or
// something planted). A link is removed itself, never followed.
void remove_unless_held(const std::string& base, const std::string& name);

}  // namespace yomite::platform
