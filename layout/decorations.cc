// draw_decorations: side lines, emphasis marks and ruby of one display line,
// drawn over its slot in the window.
#include <vector>

#include "layout/composition.h"
#include "layout/decorated_line.h"
#include "layout/paint.h"
#include "layout/paint_steps.h"
#include "view/attr_codes.h"

namespace yomite {

namespace {

using platform::Canvas;

constexpr std::uint16_t EMPHASIS_SESAME = 16;  // "、" beside each character
constexpr std::uint16_t EMPHASIS_DOT = 17;     // "・" beside each character
constexpr std::uint16_t SIDE_LINE_FIRST = 18;

using Line = DecoratedLine;

// Offset along the line of character i, and the width of n characters from i.
int offset_of(Line& l, int i) {
  if (l.use) {
    int s = 0;
    for (int k = 0; k < i; ++k) s += l.use[k];
    return s;
  }
  TextExtent e;
  measure_text(l.measure, l.text, i, e, l.v);
  return e.cx;
}

int width_of(Line& l, int i, int n) {
  if (l.use) {
    int w = 0;
    for (int k = i; k < i + n; ++k) w += l.use[k];
    return w;
  }
  TextExtent e;
  measure_text(l.measure, l.text + i, n, e, l.v);
  return e.cx;
}

int run_of(const Line& l, int i, std::uint16_t code) {
  int n = 1;
  while (i + n < l.length && l.codes[i + n] == code) ++n;
  return n;
}

// One thin line along the run, one pixel inside the ruby band (vertical) or
// on the bottom row of the text (horizontal). Anchors of notes and links get
// the link colour.
int side_line(Line& l, int i, std::uint16_t code) {
  int n = run_of(l, i, code);
  int s = offset_of(l, i), w = width_of(l, i, n);
  platform::CanvasColor old_pen = l.win.state.pen;
  int old_width = l.win.state.pen_width;
  if (is_note_code(code)) platform::canvas_set_pen(l.win, 1, l.v.settings.link_color);
  if (l.v.typeset.vertical) {
    int x = l.x0 - l.v.typeset.ruby_height + 1;
    platform::canvas_move_to(l.win, x, s + l.indent + TEXT_MARGIN);
    platform::canvas_line_to(l.win, x, s + w + l.indent + TEXT_MARGIN);
  } else {
    int y = l.x0 + l.v.typeset.char_height - 1;
    platform::canvas_move_to(l.win, s + l.indent + TEXT_MARGIN, y);
    platform::canvas_line_to(l.win, s + w + l.indent + TEXT_MARGIN, y);
  }
  if (is_note_code(code)) platform::canvas_set_pen(l.win, old_width, old_pen);
  return n;
}

platform::CanvasPoint mark_position(const Line& l, std::uint16_t code, int s) {
  const ViewContext& v = l.v;
  const int ch = v.typeset.char_height, rh = v.typeset.ruby_height;
  if (v.typeset.vertical) {
    if (code == EMPHASIS_SESAME)
      return {l.x0 - rh + ch / 3, s + l.indent + TEXT_MARGIN + v.typeset.half_width * 2 / 3};
    return {l.x0 - rh + ch * 4 / 5, s + l.indent + TEXT_MARGIN};
  }
  if (code == EMPHASIS_SESAME)
    return {s + l.indent + TEXT_MARGIN + v.typeset.half_width * 2 / 3, l.x0 - rh - (2 * ch) / 3};
  return {s + l.indent + TEXT_MARGIN, l.x0 - rh - ch / 4};
}

void emphasis_mark(Line& l, int i, std::uint16_t code) {
  static const char16_t SESAME[] = u"、";
  static const char16_t DOT[] = u"・";
  platform::CanvasPoint at = mark_position(l, code, offset_of(l, i));
  platform::Font* old = platform::canvas_select_font(l.win, l.v.typeset.font_emphasis);
  platform::canvas_set_back_mode(l.win, platform::BK_TRANSPARENT);
  platform::canvas_move_to(l.win, at.x, at.y);
  platform::canvas_text(l.win, at.x, at.y, code == EMPHASIS_SESAME ? SESAME : DOT, 1, nullptr);
  platform::canvas_set_back_mode(l.win, platform::BK_OPAQUE);
  platform::canvas_select_font(l.win, old);
}

}  // namespace

// The reading spread over its base (its first character moved in by two
// fifths of the room left), or overhanging it evenly after plain text.
// Returns its offset along the line; `adv` holds the reading's advances.
int standard_place_ruby(Line& l, int i, int n, const char16_t*, std::vector<int>& adv) {
  const int rn = static_cast<int>(adv.size());
  int s = offset_of(l, i), base = width_of(l, i, n);
  int sum = 0;
  for (int a : adv) sum += a;
  int rem = base - sum;
  if (rem > 0) {
    for (int k = 0; rem > 0; k = (k + 1) % rn, --rem) {
      adv[static_cast<std::size_t>(k)] += 1;
      if (k > 0) sum += 1;
    }
    if (base > sum) s += (base - sum) * 2 / 5;
  } else if (rem < 0 && i > 0 && l.codes[i - 1] == CODE_PLAIN) {
    s -= -rem / 2;
  }
  return s;
}

namespace {

int ruby(Line& l, int i, std::uint16_t code) {
  ViewContext& v = l.v;
  int n = 1;
  while (i + n < l.length && l.codes[i + n] == CONTINUATION_CODE) ++n;
  const char16_t* r = v.doc.annotation_texts[static_cast<std::size_t>(code - RUBY_CODE_FIRST)];
  int rn = r ? static_cast<int>(std::char_traits<char16_t>::length(r)) : 0;
  if (rn == 0) return n;  // a reading emptied by a column break
  std::vector<int> adv = reading_advances(v.typeset.font_ruby, r, rn);
  int s = v.typeset.composition->place_ruby(l, i, n, r, adv);
  platform::Font* old = platform::canvas_select_font(l.win, v.typeset.font_ruby);
  if (v.typeset.vertical)
    platform::canvas_move_to(l.win, l.x0, s + l.indent + TEXT_MARGIN);
  else
    platform::canvas_move_to(l.win, s + l.indent + TEXT_MARGIN, l.x0 - v.typeset.ruby_height);
  platform::canvas_text(l.win, 0, 0, r, rn, adv.data());
  platform::canvas_select_font(l.win, old);
  return n;
}

}  // namespace

void draw_decorations(ViewContext& v, MeasureContext& measure, Canvas& win, int index,
                      const PaintRect& client, int slot, const int* use, int indent) {
  const DisplayLine& dl = v.doc.lines[index];
  if (!dl.attrs || !dl.text) return;
  int x0 = v.typeset.vertical ? (client.right - client.left) - slot : slot;
  Line l{v, measure, win, dl.text, dl.attrs, line_length(dl), use, x0, indent};
  if (v.typeset.composition->set_ruby_line) v.typeset.composition->set_ruby_line(l, index);
  for (int i = 0; i < l.length;) {
    std::uint16_t c = l.codes[i];
    if ((c >= SIDE_LINE_FIRST && c <= LINE_STYLE_LAST) || is_note_code(c)) {
      i += side_line(l, i, c);
    } else if (c == EMPHASIS_SESAME || c == EMPHASIS_DOT) {
      emphasis_mark(l, i, c);
      i += 1;
    } else if (is_ruby_code(c)) {
      i += ruby(l, i, c);
    } else {
      i += 1;
    }
  }
}

}  // namespace yomite
