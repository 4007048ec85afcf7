#include "view/text_arena.h"

#include <cstring>

namespace yomite {

namespace {

// `bytes` of 2-byte aligned room, starting a new block when the last is full.
void* arena_take(TextArena& a, std::size_t bytes) {
  if (a.blocks.empty() || a.capacity - a.used < bytes) {
    std::size_t size = bytes > ARENA_BLOCK_BYTES ? bytes : ARENA_BLOCK_BYTES;
    void* block = std::malloc(size);
    if (!block) return nullptr;
    a.blocks.emplace_back(block);
    a.used = 0;
    a.capacity = size;
    a.total_bytes += size;
  }
  void* p = static_cast<unsigned char*>(a.blocks.back().get()) + a.used;
  a.used += bytes;
  return p;
}

}  // namespace

char16_t* arena_copy_text(TextArena& arena, const char16_t* text, std::size_t n) {
  auto* p = static_cast<char16_t*>(arena_take(arena, (n + 1) * sizeof(char16_t)));
  if (!p) return nullptr;
  if (n) std::memcpy(p, text, n * sizeof(char16_t));
  p[n] = 0;
  return p;
}

std::uint16_t* arena_copy_codes(TextArena& arena, const std::uint16_t* codes, std::size_t n) {
  auto* p = static_cast<std::uint16_t*>(arena_take(arena, (n ? n : 1) * sizeof(std::uint16_t)));
  if (!p) return nullptr;
  if (n) std::memcpy(p, codes, n * sizeof(std::uint16_t));
  return p;
}

void arena_clear(TextArena& arena) {
  arena.blocks.clear();
  arena.blocks.shrink_to_fit();
  arena.used = arena.capacity = arena.total_bytes = 0;
}

}  // namespace yomite
