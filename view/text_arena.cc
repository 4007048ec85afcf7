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
  return arena_copy_text_codes(arena, text, n, nullptr, 0);
}

char16_t* arena_copy_text_codes(TextArena& arena, const char16_t* text, std::size_t n,
                                const std::uint16_t* codes, std::size_t code_count) {
  static_assert(sizeof(char16_t) == sizeof(std::uint16_t));
  auto* p = static_cast<char16_t*>(arena_take(arena, (n + 1 + code_count) * sizeof(char16_t)));
  if (!p) return nullptr;
  if (n) std::memcpy(p, text, n * sizeof(char16_t));
  p[n] = 0;
  if (code_count) std::memcpy(p + n + 1, codes, code_count * sizeof(std::uint16_t));
  return p;
}

void arena_clear(TextArena& arena) {
  arena.blocks.clear();
  arena.blocks.shrink_to_fit();
  arena.used = arena.capacity = arena.total_bytes = 0;
}

}  // namespace yomite
