// Reservations and commits as the system's virtual memory has them: a
// committed page is charged at once but takes memory only once touched.
#include <windows.h>

#include "platform/memory.h"

namespace yomite::platform {

std::size_t memory_page_bytes() {
  static const std::size_t bytes = [] {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return static_cast<std::size_t>(info.dwPageSize);
  }();
  return bytes;
}

void* reserve_memory(std::size_t bytes) {
  return VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_NOACCESS);
}

int commit_memory(void* at, std::size_t bytes) {
  return VirtualAlloc(at, bytes, MEM_COMMIT, PAGE_READWRITE) ? 1 : 0;
}

// Windows takes a fresh committed page at its first write and has no call
// that takes such pages ahead.
void populate_memory(void*, std::size_t) {}

void release_memory(void* region, std::size_t /* a reservation goes whole */) {
  if (region) VirtualFree(region, 0, MEM_RELEASE);
}

}  // namespace yomite::platform
