// Reservations as inaccessible mappings; a commit opens pages to reading and
// writing, which is when the kernel counts them (its overcommit policy may
// then refuse), and a page takes memory only once it is touched.
#include "platform/memory.h"

#include <sys/mman.h>
#include <unistd.h>

namespace yomite::platform {

std::size_t memory_page_bytes() {
  static const std::size_t bytes = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  return bytes;
}

void* reserve_memory(std::size_t bytes) {
  void* p = mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return p == MAP_FAILED ? nullptr : p;
}

int commit_memory(void* at, std::size_t bytes) {
  return mprotect(at, bytes, PROT_READ | PROT_WRITE) == 0 ? 1 : 0;
}

void populate_memory(void* at, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  // Kernels before 5.14 refuse the advice; their pages fault in as written.
  madvise(at, bytes, MADV_POPULATE_WRITE);
#else
  (void)at;
  (void)bytes;
#endif
}

void release_memory(void* region, std::size_t bytes) {
  if (region) munmap(region, bytes);
}

}  // namespace yomite::platform
