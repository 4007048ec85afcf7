// Shared driver of the two markup fuzz targets.
#pragma once

#include <cstddef>
#include <cstdint>

namespace yomite::fuzz {

// full: the bracket notation with the full notation switched on.
enum class Dialect { brace, bracket, full };

// Builds a line from `data` (raw UTF-16 units, or bytes picking markup tokens
// and characters), resolves it and aborts when the codes, the counts and the
// annotation table disagree.
void run_markup_case(Dialect dialect, const std::uint8_t* data, std::size_t size);

}  // namespace yomite::fuzz
