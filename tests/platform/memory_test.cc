// Reserved address space made usable in steps (both builds; the Windows one
// under Wine).
#include "platform/memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace yomite::platform {
namespace {

bool all_zero(const unsigned char* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    if (p[i]) return false;
  return true;
}

// Committing again a page already in use keeps what it holds: a growing array
// commits from the page its last record ends in.
TEST(Memory, CommitsAreZeroAndKeepWhatIsWritten) {
  const std::size_t page = memory_page_bytes();
  ASSERT_GE(page, 4096u);
  ASSERT_EQ(page & (page - 1), 0u) << "a power of two";
  const std::size_t reserved = 64 * page;
  auto* p = static_cast<unsigned char*>(reserve_memory(reserved));
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(commit_memory(p, 2 * page), 1);
  EXPECT_TRUE(all_zero(p, 2 * page));
  std::memset(p, 0xA5, 2 * page - 8);
  ASSERT_EQ(commit_memory(p + page, 8 * page), 1);
  for (std::size_t i = 0; i < 2 * page - 8; ++i) ASSERT_EQ(p[i], 0xA5) << i;
  EXPECT_TRUE(all_zero(p + 2 * page - 8, 7 * page + 8));
  ASSERT_EQ(commit_memory(p + 9 * page, reserved - 9 * page), 1);
  p[reserved - 1] = 1;  // the whole reservation is usable
  EXPECT_TRUE(all_zero(p + 9 * page, reserved - 9 * page - 1));
  release_memory(p, reserved);
}

// Pages taken ahead of writing read as zero, keep what was written before
// and never reach past what is usable (the rest of the reservation is not).
TEST(Memory, PagesTakenAheadStayWithinWhatIsUsable) {
  const std::size_t page = memory_page_bytes();
  const std::size_t reserved = 64 * page, usable = 4 * page + POPULATE_AHEAD_BYTES;
  auto* p = static_cast<unsigned char*>(reserve_memory(reserved));
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(commit_memory(p, usable), 1);
  std::size_t populated = 0;
  p[0] = 7;
  populate_memory_up_to(p, usable, populated, 1);
  EXPECT_EQ(populated, page + POPULATE_AHEAD_BYTES);
  EXPECT_EQ(p[0], 7);
  EXPECT_TRUE(all_zero(p + 1, populated - 1));
  populate_memory_up_to(p, usable, populated, page);  // nothing new to take
  EXPECT_EQ(populated, page + POPULATE_AHEAD_BYTES);
  std::memset(p, 0x5A, populated);
  populate_memory_up_to(p, usable, populated, 4 * page + 1);
  EXPECT_EQ(populated, usable);  // not into the reservation beyond
  for (std::size_t i = 0; i < page + POPULATE_AHEAD_BYTES; ++i) ASSERT_EQ(p[i], 0x5A) << i;
  EXPECT_TRUE(all_zero(p + page + POPULATE_AHEAD_BYTES, usable - page - POPULATE_AHEAD_BYTES));
  populate_memory_up_to(p, usable, populated, reserved);
  EXPECT_EQ(populated, usable);
  release_memory(p, reserved);
}

TEST(Memory, AReservationTooLargeIsRefused) {
  const std::size_t page = memory_page_bytes();
  EXPECT_EQ(reserve_memory(SIZE_MAX / page * page), nullptr);
  void* p = reserve_memory(page);  // and the next one is served
  ASSERT_NE(p, nullptr);
  release_memory(p, page);
  release_memory(nullptr, 0);  // nothing reserved: nothing to give back
}

}  // namespace
}  // namespace yomite::platform
