// A place in the text (view/line_origins.h) as the settings, the bookmarks
// file and the answers to other programs write it: "LOGICAL,OFFSET,EXCERPT",
// two decimal numbers and the excerpt in UTF-8 (it may hold commas).
#pragma once

#include <string>

#include "view/line_origins.h"

namespace yomite {

// Largest numbers a stored place may hold: logical lines no load reaches,
// and the longest logical line.
constexpr int ANCHOR_LOGICAL_MAX = 1 << 26;
constexpr int ANCHOR_OFFSET_MAX = 32767;
// Characters of a stored excerpt read at most.
constexpr int ANCHOR_EXCERPT_MAX = 64;

// Empty for an anchor that names no place.
std::string format_anchor(const TextAnchor& anchor);

// 1 when `text` names a place: the numbers in range and an excerpt (cut to
// ANCHOR_EXCERPT_MAX characters, blanks and control characters left out).
// 0 otherwise, and `anchor` names none.
int parse_anchor(const std::string& text, TextAnchor& anchor);

}  // namespace yomite
