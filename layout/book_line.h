// The line model of book composition (private to layout/): what each
// character of a run of text is, and how a line made of some of them is set
// before it is adjusted to the column length. Breaking builds it for candidate
// columns of a logical line, justification and painting for a display line,
// so all three agree to the pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "layout/book.h"
#include "layout/break_classes.h"
#include "layout/fonts.h"

namespace yomite {

inline BookKind book_kind(char16_t c) {
  return static_cast<BookKind>(break_entry(c) & KIND_BITS);
}
// Kana, which a neighbouring ruby may overhang (with punctuation).
bool book_is_kana(char16_t c);

// Per-unit facts of a run of text: a logical line while breaking, a display
// line while justifying.
struct BookText {
  const char16_t* text = nullptr;
  const std::uint16_t* codes = nullptr;  // null without markup
  int length = 0;
  int full = 0;                 // px, a full-width cell
  std::vector<int> width;       // px per unit (a pair's whole width on its first unit)
  std::vector<BookKind> kind;   // per unit
  std::vector<int> cut;         // px taken out between units i and i + 1 where punctuation meets
  std::vector<int> reading;     // at a ruby head: the reading's width; else 0
  std::vector<int> ruby_first;  // at a ruby head: its first and last characters' widths
  std::vector<int> ruby_last;
  // Jukugo readings, which divide between their kanji: 1 where the reading
  // divides before the unit; per kanji, the width of its morae and of their
  // first and last characters (0 elsewhere).
  std::vector<std::uint8_t> divides;
  std::vector<int> part_reading, part_first, part_last;
  bool long_ruby = false;  // some reading is wider than its base's plain width
};

// Measures and classifies `length` units of `text` (the main font through the
// width cache, readings in the ruby font).
void book_text_fill(MeasureContext& measure, ViewContext& view, BookText& t, const char16_t* text,
                    const std::uint16_t* codes, int length);
// Measures the reading of the ruby head at `i` again (after a division).
void book_text_measure_ruby(const ViewContext& view, BookText& t, int i);

// How a ruby reading longer than its base sits: it overhangs its neighbours
// by oh_before and oh_after px and the base takes extra_before and
// extra_after px more room (space before the base and after it).
struct BookRuby {
  int head = 0, end = 0;  // the base: units [head, end) of the text
  int reading = 0;        // px
  int oh_before = 0, oh_after = 0;
  int extra_before = 0, extra_after = 0;
};

// Kinds of the space after a character, for adjusting a line.
enum BookGrow : std::uint8_t {
  GROW_NONE = 0,  // inside a Latin word, a number, "――", a ruby base, a pair
  GROW_SPACE,     // a space between words: spread first, by up to half an em
  GROW_ORDINARY,  // between kana, kanji, punctuation and the rest
};
enum BookShrinkRank : std::uint8_t {
  SHRINK_TRAILING = 0,  // the space after the line's last mark: nobody sees it go
  SHRINK_BRACKET,       // space beside brackets
  SHRINK_STOP,          // after 、。，．
  SHRINK_MIDDLE,        // around middle dots
  SHRINK_SPACE,         // a space after ？！ down to half an em, between words to a quarter
  SHRINK_RANKS,
};

// Units [start, end) of a BookText set as one line (end excludes spaces at
// the end, which take no room there).
struct BookLine {
  int start = 0, end = 0;
  int full = 0;                      // px, a full-width cell
  std::vector<int> adv;              // px per unit, index i - start
  std::vector<int> natural_adv;      // adv before the line was adjusted
  std::vector<int> shrink;           // px the space after the unit may give up
  std::vector<BookShrinkRank> rank;  // of that space
  std::vector<BookGrow> grow;        // may the space after the unit widen
  std::vector<int> cut;              // px adjacent punctuation gave up there
  std::vector<BookRuby> rubies;      // readings wider than their bases
  int natural = 0;                   // sum of adv
  int shrinkable = 0;                // sum of shrink
  int trailing = 0;                  // shrink of the last unit (free)
};

// Units from `p` on that are spaces: the first one that is not.
int book_skip_spaces(const BookText& t, int p);
// End of [start, end) without its spaces at the end.
int book_trim_spaces(const BookText& t, int start, int end);

// Sets units [start, end) of `t` as one line with its natural spacing:
// adjacent punctuation shares its space, readings wider than their bases
// overhang or widen them.
void book_line_layout(const BookText& t, int start, int end, BookLine& line);

// Adjusts `line` to `target` px: gives up space (the trailing mark's, then
// brackets', stops', middle dots') or spreads it (punctuation, then every
// other place, never inside a word or number). Returns the px it could not
// take or give (0 when the line ends exactly at target).
int book_line_shrink(BookLine& line, int target);
// Takes up to `amount` px of the room readings made beside their bases, so a
// reading longer than the whole column cannot make the column longer: the
// reading overhangs its neighbours instead. Returns what it could not take.
int book_line_give_up_ruby_room(BookLine& line, int amount);
int book_line_spread(BookLine& line, int target);

// Buffers kept from line to line (layout and painting run on one thread): one
// set for breaking a logical line, one for setting a display line, which the
// breaking of an indented line may ask for while its own set is in use.
struct BookScratch {
  BookText text;
  BookLine line;
};
enum BookScratchUse { SCRATCH_BREAK = 0, SCRATCH_DISPLAY = 1 };
BookScratch& book_scratch(BookScratchUse use);

// The advances of display line `index` (length + 1 entries, as
// justify_display_line gives them) and the line they were set from (for the
// placing of its readings). 1 when they differ from the plain widths.
int book_layout_display_line(MeasureContext& measure, ViewContext& view, int index, int* advances,
                             BookLine& line);

// Where the reading of the ruby head at unit `head` (a base of `units` units)
// begins, px from the line's start, as the line is drawn with `advances`;
// `reading` holds the reading's plain advances and is spread over a wider
// base.
int book_place_ruby(const BookLine& line, const int* advances, int head, int units,
                    const char16_t* reading_text, std::vector<int>& reading);

}  // namespace yomite
