#include "view/text_arena.h"

#include <algorithm>
#include <cstring>

#include "platform/memory.h"

namespace yomite {

namespace {

// Reserves the arena's address space, halving it while the system refuses.
bool arena_reserve(TextArena& a) {
  std::size_t bytes = ARENA_RESERVED_UNITS * sizeof(char16_t);
  void* region = platform::reserve_memory_at_most(bytes, ARENA_GROWTH_BYTES);
  if (!region) return false;
  a.base = static_cast<char16_t*>(region);
  a.reserve_bytes = bytes;
  a.used = 1;  // offset 0 stands for no text
  a.usable = 0;
  return true;
}

// `units` units of room, made usable as the arena fills.
char16_t* arena_take(TextArena& a, std::size_t units) {
  if (!a.base && !arena_reserve(a)) return nullptr;
  const std::size_t reserved = a.reserve_bytes / sizeof(char16_t);
  if (units > reserved - a.used) return nullptr;
  if (a.used + units > a.usable) {
    std::size_t usable = a.usable * sizeof(char16_t);
    const std::size_t wanted =
        std::max((a.used + units) * sizeof(char16_t), usable + ARENA_GROWTH_BYTES);
    if (!platform::commit_memory_up_to(a.base, a.reserve_bytes, usable, wanted)) return nullptr;
    a.usable = usable / sizeof(char16_t);
  }
  platform::populate_memory_up_to(a.base, a.usable * sizeof(char16_t), a.populated,
                                  (a.used + units) * sizeof(char16_t));
  char16_t* p = a.base + a.used;
  a.used += units;
  return p;
}

}  // namespace

TextArena::~TextArena() {
  arena_clear(*this);
}

char16_t* arena_copy_text(TextArena& arena, const char16_t* text, std::size_t n) {
  return arena_copy_text_codes(arena, text, n, nullptr, 0);
}

char16_t* arena_copy_text_codes(TextArena& arena, const char16_t* text, std::size_t n,
                                const std::uint16_t* codes, std::size_t code_count) {
  static_assert(sizeof(char16_t) == sizeof(std::uint16_t));
  char16_t* p = arena_take(arena, n + 1 + code_count);
  if (!p) return nullptr;
  if (n) std::memcpy(p, text, n * sizeof(char16_t));
  p[n] = 0;
  if (code_count) std::memcpy(p + n + 1, codes, code_count * sizeof(std::uint16_t));
  return p;
}

void arena_clear(TextArena& arena) {
  platform::release_memory(arena.base, arena.reserve_bytes);
  arena.base = nullptr;
  arena.reserve_bytes = arena.used = arena.usable = arena.populated = 0;
}

}  // namespace yomite
