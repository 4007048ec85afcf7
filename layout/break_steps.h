// Steps of column breaking shared by standard composition and book
// composition (private to layout/).
#pragma once

#include <cstdint>

#include "layout/break.h"

namespace yomite {

// A ruby base running across the break at `n` (units of the `length` codes)
// gets a share of the reading proportional to the base characters after the
// break, or the last `share` units of it when that is given (> 0): codes[n]
// becomes the head of a new reading.
void divide_ruby(ViewContext& view, LayoutPass& pass, std::uint16_t* codes, int n, int length,
                 int share = 0);

// Appends one display line: `text_len` characters of text and, with markup,
// `code_len` codes. Returns 0 when the array cannot grow or memory runs out.
int append_line(ViewContext& view, LayoutPass& pass, const char16_t* text, int text_len,
                const std::uint16_t* codes, int code_len, std::uint16_t flags);

}  // namespace yomite
