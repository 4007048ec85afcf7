// Where each display line comes from in the text, so that a place can be
// named by the text itself and found again after any relayout (font, size,
// width, notation, composition, window): a logical line (each line the
// reader gives, a piece of an over-long line included, counted from 0) and
// the offset of a unit in it, with a few characters from there to find it
// again in a file that changed.
//
// A document keeps, per logical line, the first display line laid out from
// it or after it, and per display line the offset of its first unit in its
// logical line: four bytes a logical line and two a display line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace yomite {

struct Document;

// The offset of a display line with no text of its own (the empty columns a
// form feed adds, the gap of a page break).
constexpr std::uint16_t ORIGIN_NONE = 0xFFFF;

struct LineOrigins {
  std::vector<int> first_line;         // per logical line: its first display line
  std::vector<std::uint16_t> offsets;  // per display line: offset in its logical line
};

// A place in the text. `logical` < 0: none.
struct TextAnchor {
  int logical = -1;
  int offset = 0;
  std::u16string excerpt;  // the shown text from the place, blanks left out
};

// Characters an excerpt keeps.
constexpr int EXCERPT_UNITS = 16;

// --- recording (the load) ----------------------------------------------------

// A logical line begins; `next_line` is the index its first display line
// will have.
void note_logical_line(Document& doc, int next_line);
// Display line `index` starts at unit `offset` of its logical line
// (ORIGIN_NONE: it has no text of its own).
void note_line_origin(Document& doc, int index, int offset);
// Display lines [middle, end) were moved before [from, middle), as
// std::rotate moves them (a centred page's empty columns put before it):
// their origins go with them, and logical lines starting in [from, middle],
// or with the line after it, start that much later.
void rotate_line_origins(Document& doc, int from, int middle, int end);
void clear_line_origins(Document& doc);

// --- reading ------------------------------------------------------------------

// Logical lines begun so far.
int logical_line_count(const Document& doc);
// The logical line display line `line` comes from (-1 when unknown).
int logical_line_of(const Document& doc, int line);
// Its first unit's offset there, or ORIGIN_NONE.
int line_origin_offset(const Document& doc, int line);
// The display line holding unit `offset` of logical line `logical`: the last
// of its lines starting at or before it; the line after it when the logical
// line has no lines (it was left out); -1 when the logical line is not laid
// out.
int line_at_origin(const Document& doc, int logical, int offset);

// Blanks (spaces, ideographic spaces) are left out of excerpts and of the
// comparisons with them: a break drops a space.
inline bool is_excerpt_blank(char16_t c) {
  return c == u' ' || c == u'\x3000';
}

// Up to `units` shown characters from unit `index` of display line `line`
// on, across the lines that follow, blanks left out.
std::u16string excerpt_at(const Document& doc, int line, int index, int units = EXCERPT_UNITS);

// The anchor of unit `index` of display line `line` (its logical line and
// offset, with an excerpt); logical -1 when the line has no origin.
TextAnchor anchor_at(const Document& doc, int line, int index = 0);

// 1 when the text at (line, index) begins with the anchor's excerpt.
int excerpt_matches(const Document& doc, int line, int index, const std::u16string& excerpt);

}  // namespace yomite
