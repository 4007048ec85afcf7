// yomite.exe: the reader's window on Win32. The wide command line, so that
// every file name arrives whole; the viewer reads it in UTF-8.
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "platform/win32/windows_api.h"
#include "viewer/program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::vector<std::string> args;
  for (int i = 0; i < __argc; ++i) args.push_back(yomite::platform::win32::narrow(__wargv[i]));
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  return yomite::run_viewer(static_cast<int>(args.size()), argv.data());
}
