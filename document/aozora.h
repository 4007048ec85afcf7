// The full bracket notation (an extension, view.settings.full_notation): the e-text
// library's other "［＃…］" annotations are set instead of shown as text.
//
//   gaiji "※［＃…、1-85-54］" -> the character; quotation blocks; ruby;
//   then every other annotation, left to right: emphasis and side lines,
//   headings, indents and foot alignment, page breaks, warichu; the rest
//   (editorial notes, kunten, ...) becomes a footnote on the character before.
#pragma once

#include <cstdint>
#include <string>

#include "layout/break.h"
#include "view/view_context.h"

namespace yomite {

// --- gaiji ---------------------------------------------------------------------

// The character of JIS X 0213 plane 1..2, row 1..94, cell 1..94 as UTF-16
// (two units beyond the BMP, or a base and a combining mark); empty when the
// cell holds nothing.
std::u16string jisx0213_text(int plane, int row, int cell);

// The character a gaiji description names: a "P-R-C" cell of JIS X 0213
// ("第3水準1-85-54", "1-13-21") or a "U+XXXX" code point; empty when it
// names neither (only a picture of the character, or a page and line).
std::u16string gaiji_text(std::u16string_view description);

// --- state across lines ----------------------------------------------------------

// Block annotations stay in force until their end annotation.
struct NotationState {
  int indent = 0;   // ここからN字下げ: full-width cells before each line
  int wrap = 0;     // 折り返してM字下げ: cells before the continuation columns
  int foot = -1;    // ここから地付き (0), ここから地からN字上げ (N); -1: none
  int heading = 0;  // ここから…見出し: HEADING_* of every line; 0 none
  std::uint16_t size = 0;  // ここからN段階小さな（大きな）文字: the size code of every line
};

// What one resolved line asks of the layout.
struct NotationLine {
  int indent = 0;     // full-width cells before the first column of the line
  int wrap = 0;       // before the columns that continue it
  int foot = -1;      // >= 0: the part from foot_from on is set against the
  int foot_from = 0;  //   foot of the column, `foot` cells above it
  int heading = 0;    // HEADING_* of the units [heading_from, heading_to)
  int heading_from = 0;
  int heading_to = 0;
  int page_break = 0;   // the next line starts a new page (a gap in scroll mode)
  int centre_page = 0;  // the columns of this page, up to its end, stand in its middle
  int annotated = 0;    // annotations were removed: a line left empty is no column
};

// Full-width cells an indent or foot offset may take at most (more is read as
// this many; the layout keeps a column of at least one character anyway).
constexpr int NOTATION_CELLS_MAX = 1000;

// Resolves the full bracket notation of `line` in place (see above). Codes,
// readings and the quotation state as parse_bracket_markup; footnotes go to
// note_entries[note_count…] (NOTE_LIMIT; at the limit an annotation stays in
// the text). `state` carries block annotations; `out` gets what this line
// asks of the layout. Returns 1 when the line carries codes. Returns 0 at
// once, touching nothing, when view.settings.markup_enabled is 0.
int parse_full_notation(char16_t* line, std::uint16_t* codes, char16_t** ruby_entries,
                        int& ruby_count, char16_t** note_entries, int& note_count,
                        ViewContext& view, int& quote_state, NotationState& state,
                        NotationLine& out);

// --- layout ----------------------------------------------------------------------

// Lays out a resolved line as `out` asks: indents, the part set against the
// foot (a column of its own when it follows other text on the line), the
// heading face, and an entry in view.doc.headings for a heading. Returns 1, or
// 0 when the display-line array could not grow.
int lay_out_notation_line(ViewContext& view, LayoutPass& pass, const char16_t* text, int length,
                          std::uint16_t* codes, int has_codes, int quote_state,
                          const NotationLine& out);

}  // namespace yomite
