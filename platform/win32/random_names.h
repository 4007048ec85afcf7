// Names nobody can guess for temporary files and folders, on Win32.
#pragma once

#include <string>

namespace yomite::platform::win32 {

// `count` characters of [0-9a-z] from the system's random source.
std::string random_suffix(int count);

}  // namespace yomite::platform::win32
