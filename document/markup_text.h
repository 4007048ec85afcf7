// Text operations the markup parsers share: literal search, removing a span
// together with its codes, the continuation pass and storing entries.
// Positions are UTF-16 unit indexes into a 0-terminated line.
#pragma once

#include <cstdint>
#include <string_view>

#include "decode/utf16.h"
#include "view/view_context.h"

namespace yomite::markup {

// A 0-terminated line and its length in units; removals keep both in step.
struct Line {
  char16_t* text;
  std::uint16_t* codes;
  int length;
};

// First occurrence of `literal` starting at or after `from`, or -1.
int find(const Line& line, int from, std::u16string_view literal);

// Last occurrence of `literal` that starts at or after `from` and ends at or
// before `end`, or -1.
int find_last(const Line& line, int from, int end, std::u16string_view literal);

// Deletes units [from, to) and their codes; what follows moves down.
void remove_span(Line& line, int from, int to);

// Where a search for `literal` must resume after a removal at `removed_at`,
// so that an occurrence the removal joined together is found too.
int resume_after_removal(int first_unremoved, int removed_at, std::u16string_view literal);

// Deletes every occurrence of `literal` (also those a removal joins together);
// returns how many were deleted.
int remove_all(Line& line, std::u16string_view literal);

// Units taken by `chars` characters counted backwards from `end`, a surrogate
// pair counting as one character; never goes before 0.
int units_back(const Line& line, int end, int chars);

// Characters in [from, to), a surrogate pair counting as one.
int count_chars(const Line& line, int from, int to);

// Every unit directly after a ruby code that carries the same code becomes
// CONTINUATION_CODE, so only the first unit of a base holds the reading.
void mark_continuations(const Line& line);

// A copy of `n` units in the view's arena, or null when memory runs out.
char16_t* store_entry(ViewContext& view, const char16_t* text, int n);

// Sets codes[0, length + CODES_SLACK) to 0 and measures the line.
Line begin_line(char16_t* text, std::uint16_t* codes);

}  // namespace yomite::markup
