// Book composition's advances of a display line: its natural spacing, then
// set to the column length (taken in, spread, or with one mark hanging).
#include <string>

#include "layout/book.h"
#include "layout/book_line.h"

namespace yomite {

namespace {

// The plain widths: advances[i] per unit, advances[length] repeating the last
// character's (the drawing appends a space and uses it).
void plain_widths(const BookText& t, int* advances) {
  for (int i = 0; i < t.length; ++i) advances[i] = t.width[i];
  int last = t.length - 1;
  if (last > 0 && t.kind[last] == BK_PAIR_TAIL) --last;
  advances[t.length] = last >= 0 ? t.width[last] : 0;
}

// A column whose last mark hangs: the marks before it are set to the length
// and the mark follows. False when the column is not one.
bool hanging(const BookText& t, const BookLine& whole, int limit, BookLine& l) {
  const int end = whole.end;
  if (end < 2 || whole.natural - limit <= whole.trailing || !book_hangs(t.text[end - 1]) ||
      t.kind[end - 2] == BK_SPACE)
    return false;
  book_line_layout(t, 0, end - 1, l);
  return l.natural <= limit;
}

}  // namespace

int book_layout_display_line(MeasureContext& measure, ViewContext& v, int index, int* advances,
                             BookLine& l) {
  const DisplayLine& line = v.doc.lines[index];
  const int length = line_length(v.doc, line);
  BookText& t = book_scratch(SCRATCH_DISPLAY).text;
  book_text_fill(measure, v, t, line_text(v.doc, line), line_codes(v.doc, line), length);
  plain_widths(t, advances);
  // Indents and foot offsets of the full notation shorten the column.
  const int limit = column_length(v, line.flags & DL_QUOTE) - line_notation(v.doc, line).shortened;
  const bool spread = v.settings.justify && !(line.flags & DL_PARAGRAPH_END);
  book_line_layout(t, 0, book_trim_spaces(t, 0, length), l);
  if (l.natural > limit) {
    BookLine& whole = book_scratch(SCRATCH_DISPLAY).line;
    whole = l;
    if (hanging(t, whole, limit, l)) {
      if (spread) book_line_spread(l, limit);
    } else {
      l = whole;
      book_line_give_up_ruby_room(l, book_line_shrink(l, limit));
    }
  } else if (spread) {
    book_line_spread(l, limit);
  }
  int changed = 0;
  for (int i = l.start; i < l.end; ++i) {
    changed |= advances[i] != l.adv[i - l.start];
    advances[i] = l.adv[i - l.start];
  }
  return changed;
}

int book_natural_width(MeasureContext& measure, ViewContext& v, const DisplayLine& line) {
  const int length = line_length(v.doc, line);
  BookText& t = book_scratch(SCRATCH_DISPLAY).text;
  book_text_fill(measure, v, t, line_text(v.doc, line), line_codes(v.doc, line), length);
  BookLine& l = book_scratch(SCRATCH_DISPLAY).line;
  book_line_layout(t, 0, book_trim_spaces(t, 0, length), l);
  return l.natural;
}

int book_justify_display_line(MeasureContext& measure, ViewContext& v, int index, int* advances) {
  BookLine l;
  return book_layout_display_line(measure, v, index, advances, l);
}

}  // namespace yomite
