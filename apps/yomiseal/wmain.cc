// yomiseal on Windows: the wide command line, so that every file name
// arrives whole (not in the ANSI code page), then the same steps as on POSIX.
#include <windows.h>

#include <string>
#include <vector>

#include "apps/yomiseal/run.h"
#include "platform/win32/wide.h"

namespace {

int names_existing_file(const char* path) {
  return GetFileAttributesW(yomite::platform::win32::file_api_path(path).c_str()) !=
         INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int wmain(int argc, wchar_t** wargv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(yomite::platform::win32::narrow(wargv[i]));
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return yomite::seal::run_yomiseal(argc, argv.data(), names_existing_file);
}
