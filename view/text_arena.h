// Storage for the texts of one document: display-line texts and codes, ruby
// readings and notes, one after the other in one piece of address space,
// reserved at the first copy and made usable as it fills. A copy never
// moves, so a display line names its text by a 32-bit offset from the start,
// and a novel costs its units and nothing per line or per block.
#pragma once

#include <cstddef>
#include <cstdint>

namespace yomite {

struct TextArena {
  char16_t* base = nullptr;      // the reservation; null before the first copy
  std::size_t reserve_bytes = 0;  // address space reserved at `base`
  std::size_t used = 0;           // units given out, the never-given unit 0 included
  std::size_t usable = 0;         // units made usable
  std::size_t populated = 0;      // bytes whose pages are taken ahead of writing

  TextArena() = default;
  TextArena(const TextArena&) = delete;
  TextArena& operator=(const TextArena&) = delete;
  ~TextArena();
};

// Units reserved: every offset fits in 32 bits, and far more than every
// limit of a load lets it copy. Where the system refuses that much address
// space, a smaller reservation is taken; past it a copy fails as when memory
// runs out.
constexpr std::size_t ARENA_RESERVED_UNITS = std::size_t{1} << 32;
// Bytes made usable at a time at least (fewer system calls; a usable page
// takes memory only once it is written).
constexpr std::size_t ARENA_GROWTH_BYTES = std::size_t{1} << 20;

// A 0-terminated copy of `n` units of `text` (which need not be terminated),
// or null when memory runs out.
char16_t* arena_copy_text(TextArena& arena, const char16_t* text, std::size_t n);

// A 0-terminated copy of `n` units of `text` followed by `code_count` codes
// (no terminator), in one piece; the text's copy, or null when memory runs out.
char16_t* arena_copy_text_codes(TextArena& arena, const char16_t* text, std::size_t n,
                                const std::uint16_t* codes, std::size_t code_count);

// Where a copy lies in the arena (never 0), and the copy at such an offset.
inline std::uint32_t arena_offset(const TextArena& arena, const char16_t* copy) {
  return static_cast<std::uint32_t>(copy - arena.base);
}
inline char16_t* arena_at(const TextArena& arena, std::uint32_t offset) {
  return arena.base + offset;
}

// Gives the whole reservation back; every copy the arena gave out dangles
// afterwards.
void arena_clear(TextArena& arena);

}  // namespace yomite
