// Functions of system libraries the viewer needs only once the user asks for
// something (the common dialogs, the dialogs' spin controls), looked up when
// first called instead of being imported: loading those libraries, and the
// print spooler the common dialogs pull in, is a fair share of a start-up
// under Wine although the first page needs none of it.
#pragma once

#include "platform/win32/windows_api.h"

namespace yomite::platform::win32 {

// `name` of the system library `library` (loaded from the system folder
// only, never from the current or the program's folder, and kept for the
// rest of the process), or null when either is missing.
template <class Function>
Function late_function(const wchar_t* library, const char* name) {
  HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

}  // namespace yomite::platform::win32
