// draw_decorations: side lines, emphasis marks and ruby of one display line,
// drawn over its slot in the window.
#include <algorithm>
#include <vector>

#include "layout/composition.h"
#include "layout/decorated_line.h"
#include "layout/fonts.h"
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

// A point `along` the line and `across` it (x in vertical writing, y in
// horizontal).
platform::CanvasPoint point(const Line& l, int along, int across) {
  return l.v.typeset.vertical ? platform::CanvasPoint{across, along}
                              : platform::CanvasPoint{along, across};
}

void segment(Line& l, int across, int from, int to) {
  const platform::CanvasPoint a = point(l, from, across), b = point(l, to, across);
  platform::canvas_move_to(l.win, a.x, a.y);
  platform::canvas_line_to(l.win, b.x, b.y);
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
  const int across = l.v.typeset.vertical ? l.x0 - l.v.typeset.ruby_height + 1
                                          : l.x0 + l.v.typeset.char_height - 1;
  segment(l, across, s + l.indent + TEXT_MARGIN, s + w + l.indent + TEXT_MARGIN);
  if (is_note_code(code)) platform::canvas_set_pen(l.win, old_width, old_pen);
  return n;
}

// Strokes of `on` px `off` px apart, each followed by a dot of `dot` px
// (none when 0).
void dashes(Line& l, int across, int from, int to, int on, int off, int dot) {
  for (int p = from; p < to;) {
    segment(l, across, p, std::min(p + on, to));
    p += on + off;
    if (dot > 0 && p < to) {
      segment(l, across, p, std::min(p + dot, to));
      p += dot + off;
    }
  }
}

// A zigzag between `across` and two px beyond it, `step` px a slope.
void wave(Line& l, int across, int from, int to, int step) {
  platform::CanvasPoint p = point(l, from, across + 1);
  platform::canvas_move_to(l.win, p.x, p.y);
  for (int at = from, k = 0; at < to; ++k) {
    at = std::min(at + step, to);
    p = point(l, at, across + (k % 2 == 0 ? 0 : 2));
    platform::canvas_line_to(l.win, p.x, p.y);
  }
}

// The full notation's side lines (extension), each drawn as it is named in
// a band three px wide: beside the text where the plain side line goes, or
// on the text's other side.
int named_line(Line& l, int i, std::uint16_t code) {
  const ViewContext& v = l.v;
  const int n = run_of(l, i, code);
  const int from = offset_of(l, i) + l.indent + TEXT_MARGIN, to = from + width_of(l, i, n);
  const int kind = (code - CODE_NAMED_LINE_FIRST) % NAMED_LINE_KINDS;
  const bool other_side = code - CODE_NAMED_LINE_FIRST >= NAMED_LINE_KINDS;
  const int ch = v.typeset.char_height, rh = v.typeset.ruby_height;
  int band;
  if (v.typeset.vertical)
    band = other_side ? l.x0 - rh - ch : l.x0 - rh + 1;
  else
    band = other_side ? l.x0 : l.x0 + ch - 3;
  // A single stroke lies where the plain side line does (or mirrors it).
  const int line = !v.typeset.vertical && !other_side ? band + 2 : band;
  const int unit = std::max(ch, 9);
  switch (kind) {
    case 0:
      segment(l, line, from, to);
      break;
    case 1:  // double
      segment(l, band, from, to);
      segment(l, band + 2, from, to);
      break;
    case 2:  // chain: long strokes and dots
      dashes(l, line, from, to, unit / 2, unit / 6, unit / 9);
      break;
    case 3:  // dashed
      dashes(l, line, from, to, unit / 4, unit / 6, 0);
      break;
    default:  // wavy
      wave(l, band, from, to, unit / 6);
      break;
  }
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
  platform::Font* old = platform::canvas_select_font(l.win, emphasis_font(l.v));
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

// The reading of the ruby head at unit i, placed over its base of `units`
// units; `length` 0 when a column break emptied it.
struct PlacedReading {
  const char16_t* text = nullptr;
  int length = 0;
  int units = 1;
  int offset = 0;        // px along the line
  std::vector<int> adv;  // px per unit, spread over a wider base
};

PlacedReading place_reading(Line& l, int i, std::uint16_t code) {
  ViewContext& v = l.v;
  PlacedReading p;
  while (i + p.units < l.length && l.codes[i + p.units] == CONTINUATION_CODE) ++p.units;
  p.text = v.doc.annotation_texts[static_cast<std::size_t>(code - RUBY_CODE_FIRST)];
  p.length = p.text ? static_cast<int>(std::char_traits<char16_t>::length(p.text)) : 0;
  if (p.length == 0) return p;
  p.adv = reading_advances(v.typeset.font_ruby, p.text, p.length);
  p.offset = v.typeset.composition->place_ruby(l, i, p.units, p.text, p.adv);
  return p;
}

int ruby(Line& l, int i, std::uint16_t code) {
  ViewContext& v = l.v;
  PlacedReading r = place_reading(l, i, code);
  if (r.length == 0) return r.units;
  const int s = r.offset;
  platform::Font* old = platform::canvas_select_font(l.win, v.typeset.font_ruby);
  if (v.typeset.vertical)
    platform::canvas_move_to(l.win, l.x0, s + l.indent + TEXT_MARGIN);
  else
    platform::canvas_move_to(l.win, s + l.indent + TEXT_MARGIN, l.x0 - v.typeset.ruby_height);
  platform::canvas_text(l.win, 0, 0, r.text, r.length, r.adv.data());
  platform::canvas_select_font(l.win, old);
  return r.units;
}

}  // namespace

std::vector<ReadingPlace> reading_places(ViewContext& v, MeasureContext& measure, int index,
                                         const int* use) {
  std::vector<ReadingPlace> places;
  const DisplayLine& dl = v.doc.lines[index];
  if (!line_codes(v.doc, dl)) return places;
  // Placing draws nothing: a canvas without operations stands in.
  static const platform::CanvasOps NO_OPS{};
  Canvas none;
  none.ops = &NO_OPS;
  const Document& d = v.doc;
  Line l{v, measure, none, line_text(d, dl), line_codes(d, dl), line_length(d, dl), use, 0, 0};
  if (v.typeset.composition->set_ruby_line) v.typeset.composition->set_ruby_line(l, index);
  for (int i = 0; i < l.length; ++i) {
    if (!is_ruby_code(l.codes[i])) continue;
    PlacedReading r = place_reading(l, i, l.codes[i]);
    if (r.length == 0) continue;
    ReadingPlace p{i, r.offset, 0};
    for (int a : r.adv) p.width += a;
    places.push_back(p);
  }
  return places;
}

void draw_decorations(ViewContext& v, MeasureContext& measure, Canvas& win, int index,
                      const PaintRect& client, int slot, const int* use, int indent) {
  const DisplayLine& dl = v.doc.lines[index];
  if (!line_codes(v.doc, dl)) return;
  int x0 = v.typeset.vertical ? (client.right - client.left) - slot : slot;
  const Document& d = v.doc;
  Line l{v, measure, win, line_text(d, dl), line_codes(d, dl), line_length(d, dl), use, x0, indent};
  if (v.typeset.composition->set_ruby_line) v.typeset.composition->set_ruby_line(l, index);
  for (int i = 0; i < l.length;) {
    std::uint16_t c = l.codes[i];
    if ((c >= SIDE_LINE_FIRST && c <= LINE_STYLE_LAST) || is_note_code(c)) {
      i += side_line(l, i, c);
    } else if (is_named_line_code(c)) {
      i += named_line(l, i, c);
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
