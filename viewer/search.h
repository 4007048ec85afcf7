// Searching the text as it is shown (an extension): the display lines'
// characters, across column breaks (a space a break dropped counts as it
// was in the text) but never across the end of a logical line; ruby bases,
// with the readings as an option (a reading finds its base); full-width and
// half-width Latin letters and digits alike, Latin letters in either case,
// and as an option hiragana and katakana alike.
#pragma once

#include <string>
#include <vector>

#include "view/view_context.h"

namespace yomite {

struct SearchOptions {
  int readings = 0;  // a ruby's reading matches as well as its base
  int kana = 0;      // hiragana and katakana alike
};

// What the search compares: `c` folded by the rules above.
char16_t fold_search_char(char16_t c, const SearchOptions& options);

// A pattern as typed (UTF-16), folded once; empty finds nothing.
struct SearchPattern {
  std::u16string folded;
  SearchOptions options;
};
SearchPattern make_search_pattern(const std::u16string& text, const SearchOptions& options);

// Every match in the laid-out display lines, in reading order; a match that
// begins inside a ruby base found by its reading spans the whole base.
std::vector<TextRange> find_all(const Document& doc, const SearchPattern& pattern);

// The match to go to from display line `line`: the first that begins at or
// after it (`direction` +1) or the last before it (-1), wrapping around;
// `wrapped` says whether it did. -1 without matches.
int match_from(const std::vector<TextRange>& matches, int line, int index, int direction,
               int* wrapped);

// The shown text of a match and a little around it, for a list: up to
// `context` characters each side, within its logical line.
std::u16string match_context(const Document& doc, const TextRange& match, int context);

}  // namespace yomite
