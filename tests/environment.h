// Environment variables a test sets for the code under test, on either system.
#pragma once

#include <cstdlib>
#include <string>

#if defined(_WIN32)
#include "platform/win32/windows_api.h"
#endif

namespace yomite::test {

// The variable that names the system's temporary directory.
#if defined(_WIN32)
constexpr const char* TEMP_DIRECTORY_VARIABLE = "TMP";  // read first by GetTempPath
#else
constexpr const char* TEMP_DIRECTORY_VARIABLE = "TMPDIR";
#endif

inline void set_environment(const char* name, const std::string& value) {
#if defined(_WIN32)
  _putenv_s(name, value.c_str());
  SetEnvironmentVariableA(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

inline void unset_environment(const char* name) {
#if defined(_WIN32)
  _putenv_s(name, "");
  SetEnvironmentVariableA(name, nullptr);
#else
  unsetenv(name);
#endif
}

}  // namespace yomite::test
