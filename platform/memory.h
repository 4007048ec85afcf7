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

// Takes the usable pages of `bytes` (whole pages) from `at` before they are
// first written, in one call: a fault for each page costs twice as much on a
// virtual machine. Where the system cannot, they fault in as they are
// written.
void populate_memory(void* at, std::size_t bytes);

// How far ahead of what an array has written its pages are taken: a few
// pages a call, and little memory taken that the array may never write.
constexpr std::size_t POPULATE_AHEAD_BYTES = std::size_t{8} << 10;

// `bytes` rounded up to whole pages.
inline std::size_t memory_whole_pages(std::size_t bytes) {
  const std::size_t page = memory_page_bytes();
  return (bytes + page - 1) / page * page;
}

// Reserves `bytes` (rounded up to whole pages), or half as much again and
// again while the system refuses (a limit on address space), never less than
// `least`; sets `bytes` to what was reserved. Null when even that is refused.
inline void* reserve_memory_at_most(std::size_t& bytes, std::size_t least) {
  least = memory_whole_pages(least);
  bytes = memory_whole_pages(bytes);
  void* region = reserve_memory(bytes);
  while (!region && bytes > least) {
    bytes = bytes / 2 > least ? memory_whole_pages(bytes / 2) : least;
    region = reserve_memory(bytes);
  }
  return region;
}

// Makes the reservation at `region` (of `reserved` bytes) usable from
// `usable` bytes, a whole number of pages, up to `wanted` bytes rounded up
// to whole pages and at most the reservation, and sets `usable` to that.
// 0 when nothing more can be made usable.
inline int commit_memory_up_to(void* region, std::size_t reserved, std::size_t& usable,
                               std::size_t wanted) {
  const std::size_t to =
      memory_whole_pages(wanted) < reserved ? memory_whole_pages(wanted) : reserved;
  if (to <= usable || !commit_memory(static_cast<unsigned char*>(region) + usable, to - usable))
    return 0;
  usable = to;
  return 1;
}

// Takes the pages of `region` from `populated` bytes (a whole number of
// pages) to past `written` bytes and POPULATE_AHEAD_BYTES beyond, at most up
// to `usable` bytes (whole pages), and sets `populated` to where that ends.
inline void populate_memory_up_to(void* region, std::size_t usable, std::size_t& populated,
                                  std::size_t written) {
  if (written <= populated) return;
  std::size_t to = memory_whole_pages(written) + POPULATE_AHEAD_BYTES;
  if (to > usable) to = usable;
  if (to <= populated) return;
  populate_memory(static_cast<unsigned char*>(region) + populated, to - populated);
  populated = to;
}

}  // namespace yomite::platform
