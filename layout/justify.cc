// Advances of a display line as it is drawn and hit-tested, stretched so that
// a full column ends flush with the column length.
#include <string>

#include "decode/utf16.h"
#include "layout/break.h"
#include "layout/composition.h"
#include "layout/small_text.h"
#include "view/attr_codes.h"

namespace yomite {

namespace {

// Plain widths: advances[i] for every character, and advances[length]
// repeating the last one. A surrogate pair advances whole on its first unit.
void plain_advances(MeasureContext& measure, ViewContext& v, const char16_t* text, int length,
                    int* advances) {
  advances[0] = 0;
  for (int i = 0; i < length;) {
    int units = char_units(text, i, length);
    TextExtent e;
    measure_text(measure, text + i, units, e, v);
    advances[i] = e.cx;
    advances[i + 1] = units == 2 ? 0 : e.cx;
    if (units == 2 && i + 2 <= length) advances[i + 2] = e.cx;
    i += units;
  }
}

// Spreads `rem` pixels one at a time over every character but the last,
// spaces (and ideographic spaces not at the start) taking two more, pass
// after pass until nothing is left.
void spread(const char16_t* text, int length, int rem, int* advances) {
  for (;;) {
    int before = rem;
    for (int j = 0; j <= length - 2; ++j) {
      advances[j] += 1;
      if (--rem <= 0) return;
      if (text[j] == u' ' || (text[j] == 0x3000 && j > 0)) {
        advances[j] += 2;
        rem -= 2;
        if (rem <= 0) return;
      }
    }
    if (rem == before) return;  // one character: nothing can grow
  }
}

// Warichu and sized characters advance by their width in their own font.
void small_advances(ViewContext& v, const DisplayLine& line, int length, int* advances) {
  const char16_t* text = line_text(v.doc, line);
  const std::uint16_t* codes = line_codes(v.doc, line);
  for (int i = 0; i < length;) {
    int units = char_units(text, i, length);
    if (is_sized_code(codes[i])) {
      int w = sized_char_width(v, codes[i], text, i, length);
      advances[i] = w;
      if (i + units == length) advances[length] = w;  // the last character's again
    }
    i += units;
  }
}

long sum_advances(const char16_t* text, int length, const int* advances) {
  long sum = 0;
  for (int i = 0; i < length; i += char_units(text, i, length)) sum += advances[i];
  return sum;
}

}  // namespace

int justify_display_line(MeasureContext& measure, ViewContext& v, int index, int* advances) {
  return v.typeset.composition->justify(measure, v, index, advances);
}

int standard_justify_display_line(MeasureContext& measure, ViewContext& v, int index,
                                  int* advances) {
  const DisplayLine& line = v.doc.lines[index];
  const char16_t* text = line_text(v.doc, line);
  int length = static_cast<int>(std::char_traits<char16_t>::length(text));
  // Full columns end in the cell punctuation hangs into, unless the face is
  // fixed-pitch with full-width glyphs that are not two half cells.
  int target = v.typeset.half_width * v.settings.column_chars;
  if (!(v.typeset.fixed_pitch == 1 && v.typeset.half_is_half == 0))
    target += 2 * v.typeset.half_width;
  plain_advances(measure, v, text, length, advances);
  const bool small = has_small_text(line_codes(v.doc, line), length);
  if (small) small_advances(v, line, length, advances);
  if (!v.settings.justify) return 0;
  TextExtent whole;
  if (small)
    whole.cx = static_cast<int>(sum_advances(text, length, advances));
  else
    measure_text(measure, text, length, whole, v);
  if (line.flags & DL_QUOTE) target -= 2 * v.typeset.char_height;
  target -= line_notation(v.doc, line).shortened;  // indents and foot offsets of the full notation
  // The last line of a paragraph and short lines keep their plain widths.
  if ((line.flags & DL_PARAGRAPH_END) || whole.cx >= target || whole.cx <= target * 6 / 10)
    return 0;
  spread(text, length, target - whole.cx, advances);
  return 1;
}

}  // namespace yomite
