// Inline markup: resolving the brace and bracket notations of one logical line
// into plain text, one attribute code per remaining UTF-16 unit, and entries in
// the view's annotation table (ruby readings, footnotes, links).
#pragma once

#include <cstdint>

#include "view/attr_codes.h"
#include "view/view_context.h"

namespace yomite {

// Attribute codes (view/attr_codes.h) hold one code per UTF-16 unit of the
// resolved line.

// Readings and notes one load may make (the column breaking counts its ruby
// divisions against the same reading limit).
constexpr int RUBY_LIMIT = RUBY_ENTRIES;  // 16384
constexpr int NOTE_LIMIT = NOTE_ENTRIES;  // 512, footnotes and links together

// A code array holds at least the line's length plus this many cells.
constexpr int CODES_SLACK = 2;

// Bytes a face name from a font directive may take (UTF-8, cut at a whole character).
constexpr int DIRECTIVE_FACE_BYTES = 256;
// Numbers in directives saturate here instead of overflowing.
constexpr int DIRECTIVE_NUMBER_MAX = 1000000;
// A width directive below this gives DIRECTIVE_WIDTH_DEFAULT half-width units.
constexpr int DIRECTIVE_WIDTH_MIN = 10;
constexpr int DIRECTIVE_WIDTH_DEFAULT = 40;

// Quotation state of the bracket notation, kept by the loader across lines.
constexpr int QUOTE_OUTSIDE = 0;
constexpr int QUOTE_INSIDE = 1;
constexpr int QUOTE_ENDS_HERE = 100;  // the line is still inside; the next one is not

// Writes `code` into `count` cells from `at` (nothing for count <= 0).
void fill_codes(std::uint16_t* at, std::uint16_t code, int count);

// Resolves the brace notation of the 0-terminated `line` in place: directives,
// line styles, ruby, footnotes, links, then every remaining "｛…｝" form is
// removed. `codes` gets one code per remaining unit (it must hold the original
// length + CODES_SLACK cells). New readings go to ruby_entries[ruby_count…],
// new notes and links to note_entries[note_count…], as copies in the view's
// arena. With `store_directives` on, font and width directives fill
// face_name, vertical, font_size and column_chars where they are still unset.
// Returns 1 when the line carried markup, else 0; returns 0 at once, touching
// nothing, when view.settings.markup_enabled is 0.
int parse_brace_markup(char16_t* line, std::uint16_t* codes, char16_t** ruby_entries,
                       int& ruby_count, char16_t** note_entries, int& note_count, ViewContext& view,
                       int store_directives);

// Resolves the bracket notation ("《》", "｜", "［＃…］") of `line` in place:
// ruby, emphasis dots, quotation blocks (`quote_state`, QUOTE_*). Other "［＃…］"
// annotations stay in the text. Returns 1 when a ruby or emphasis was found;
// returns 0 at once, touching nothing, when view.settings.markup_enabled is 0.
int parse_bracket_markup(char16_t* line, std::uint16_t* codes, char16_t** ruby_entries,
                         int& ruby_count, ViewContext& view, int& quote_state);

}  // namespace yomite
