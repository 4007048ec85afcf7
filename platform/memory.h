// Address space reserved once and made usable as it is needed, for an array
// that grows in place: no copy when it grows, and its pages are zero when
// first made usable, so nothing past what was written costs memory.
#pragma once

#include <cstddef>

namespace yomite::platform {

// Bytes of one page; reservations and commits are whole pages.
std::size_t memory_page_bytes();

// `bytes` (whole pages) of address space, none of it usable yet; null when
// the system refuses.
void* reserve_memory(std::size_t bytes);

// Makes `bytes` (whole pages) from `at`, inside a reservation, readable and
// writable; pages made usable for the first time read as zero. 1, or 0 when
// memory runs out.
int commit_memory(void* at, std::size_t bytes);

// Gives back a whole reservation of `bytes` made by reserve_memory.
void release_memory(void* region, std::size_t bytes);

}  // namespace yomite::platform
