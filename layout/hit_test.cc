// hit_test: the character under a point of the window, by the geometry
// painting uses.
#include "layout/paint.h"
#include "layout/paint_steps.h"
#include "trace/trace.h"
#include "view/attr_codes.h"

namespace yomite {

namespace {

char16_t g_hit_text[HIT_TEXT_UNITS];

// The display line whose text strip (or row) holds `across`, the distance
// from the right edge (vertical) or the top (horizontal); -1 in a ruby band,
// a gap, or past the window or the text.
int line_across(const ViewContext& v, int across, int extent) {
  int acc = 0;
  for (int i = v.viewport.top_line;
       i >= 0 && i < v.doc.line_count && line_text(v.doc, v.doc.lines[i]); ++i) {
    acc += v.typeset.ruby_height;
    // Vertical: the strip's pixels lie at distances acc + 1 .. acc + char_height
    // from the right edge; horizontal: rows acc .. acc + char_height - 1.
    bool on = v.typeset.vertical ? (across > acc && across <= acc + v.typeset.char_height)
                                 : (across >= acc && across < acc + v.typeset.char_height);
    if (on) return i;
    acc += v.typeset.char_height + v.typeset.slot_gap;
    if (acc >= extent) return -1;
  }
  return -1;
}

// The character of line i at `along` px from the window's top (vertical) or
// left (horizontal) edge, or -1.
int char_along(const ViewContext& v, const std::vector<int>& adv, int i, int along) {
  int start = TEXT_MARGIN;
  if (v.typeset.vertical && (v.doc.lines[i].flags & DL_QUOTE)) start += 2 * v.typeset.char_height;
  // The full notation's indents, in both directions.
  start += line_notation(v.doc, v.doc.lines[i]).indent;
  const int length = line_length(v.doc, v.doc.lines[i]);
  for (int j = 0, t = 0; j < length; t += adv[static_cast<std::size_t>(j)], ++j)
    if (start + t <= along && along < start + t + adv[static_cast<std::size_t>(j)]) return j;
  return -1;
}

// Appends up to the buffer's end; the terminator always fits.
int append(int n, const char16_t* text) {
  while (*text && n < HIT_TEXT_UNITS - 1) g_hit_text[n++] = *text++;
  g_hit_text[n] = 0;
  return n;
}

const char16_t* text_from(const ViewContext& v, int i, int j) {
  int n = append(0, line_text(v.doc, v.doc.lines[i]) + j);
  if (!(v.doc.lines[i].flags & DL_PARAGRAPH_END) && i + 1 < v.doc.line_count &&
      line_text(v.doc, v.doc.lines[i + 1]))
    append(n, line_text(v.doc, v.doc.lines[i + 1]));
  return g_hit_text;
}

}  // namespace

const char16_t* hit_test(ViewContext& view, int x, int y, int note_mode) {
  int width = 0, height = 0;
  platform::window_client_size(view.viewport.window, &width, &height);
  if (x < 0 || x >= width || y < 0 || y >= height) return nullptr;
  const int along = view.typeset.vertical ? y : x;
  const int across = view.typeset.vertical ? width - x : y;
  trace("\n--- ");
  int i = line_across(view, across, view.typeset.vertical ? width : height);
  if (i < 0) return nullptr;
  trace("mouse %d ", i);
  const DisplayLine& line = view.doc.lines[i];
  if (note_mode && !line_codes(view.doc, line)) return nullptr;
  MeasureContext measure{view.typeset.font_main};
  std::vector<int> adv;
  line_advances(measure, view, i, adv);
  int j = char_along(view, adv, i, along);
  if (j < 0) return nullptr;
  if (!note_mode) return text_from(view, i, j);
  std::uint16_t code = line_codes(view.doc, line)[j];
  if (!is_note_code(code)) return nullptr;
  return view.doc
      .annotation_texts[static_cast<std::size_t>(NOTE_FIRST_ENTRY + code - NOTE_CODE_FIRST)];
}

}  // namespace yomite
