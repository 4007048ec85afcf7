// Storage for the texts of one document: display-line texts and codes, ruby
// readings and notes. Copies are packed into large blocks that are freed all
// at once, so a novel costs a few bytes per character instead of a heap block
// per line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace yomite {

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};

struct TextArena {
  std::vector<std::unique_ptr<void, FreeDeleter>> blocks;
  std::size_t used = 0;         // bytes used in the last block
  std::size_t capacity = 0;     // bytes in the last block
  std::size_t total_bytes = 0;  // bytes in all blocks
};

// Bytes per block; a longer copy gets a block of its own.
constexpr std::size_t ARENA_BLOCK_BYTES = 65536;

// A 0-terminated copy of `n` units of `text` (which need not be terminated),
// or null when memory runs out.
char16_t* arena_copy_text(TextArena& arena, const char16_t* text, std::size_t n);

// A 0-terminated copy of `n` units of `text` followed by `code_count` codes
// (no terminator), in one piece; the text's copy, or null when memory runs out.
char16_t* arena_copy_text_codes(TextArena& arena, const char16_t* text, std::size_t n,
                                const std::uint16_t* codes, std::size_t code_count);

// Frees every block; every pointer the arena gave out dangles afterwards.
void arena_clear(TextArena& arena);

}  // namespace yomite
