// paint_view: the window from the display lines, slot by slot.
#include <cstdio>
#include <string>
#include <vector>

#include "layout/break.h"
#include "layout/heading_face.h"
#include "layout/paint.h"
#include "layout/paint_steps.h"
#include "layout/small_text.h"
#include "trace/trace.h"

namespace yomite {

namespace {

using platform::Canvas;

// What one paint works with.
struct Paint {
  ViewContext& view;
  Canvas& win;
  MeasureContext measure;
  int width = 0;  // client
  int height = 0;
  Canvas* strip = nullptr;    // vertical writing: one column's text, char_height wide
  std::vector<int> advances;  // of the line being drawn, kept for the next
};

void set_up(Canvas& c, const ViewContext& v, Color back) {
  platform::canvas_select_font(c, v.typeset.font_main);
  platform::canvas_set_brush(c, back);
  platform::canvas_set_pen(c, 1, v.settings.text_color);
  platform::canvas_set_text_color(c, v.settings.text_color);
  platform::canvas_set_back_color(c, back);
  platform::canvas_set_back_mode(c, platform::BK_OPAQUE);
  platform::canvas_set_align(c, platform::ALIGN_UPDATE_CP);
}

void put_back(Canvas& c, const platform::CanvasState& s) {
  platform::canvas_select_font(c, s.font);
  platform::canvas_set_brush(c, s.brush);
  platform::canvas_set_pen(c, s.pen_width, s.pen);
  platform::canvas_set_text_color(c, s.text_color);
  platform::canvas_set_back_color(c, s.back_color);
  platform::canvas_set_back_mode(c, s.back_mode);
  platform::canvas_set_align(c, s.align);
}

void make_strips(Paint& p) {
  ViewContext& v = p.view;
  if (p.win.direct_text) return;
  p.strip = platform::canvas_create_compatible(p.win, v.typeset.char_height, p.height);
  if (p.strip) set_up(*p.strip, v, v.settings.back_color);
}

void page_number(Paint& p, int index, int x) {
  ViewContext& v = p.view;
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", index / v.settings.page_lines + 1);
  char16_t text[16];
  int n = 0;
  for (; digits[n]; ++n) text[n] = static_cast<char16_t>(digits[n]);
  platform::Font* old = platform::canvas_select_font(p.win, v.typeset.font_page_number);
  platform::canvas_move_to(p.win, x, p.height - v.typeset.page_number_height);
  platform::canvas_text(p.win, 0, 0, text, n, nullptr);
  platform::canvas_select_font(p.win, old);
}

// Lines whose characters are not all in the main font are placed by their
// advances (warichu at the ruby size), never by the font's own.
bool own_advances(const ViewContext& v, const DisplayLine& line) {
  return has_small_text(line_codes(v.doc, line), line_length(v.doc, line));
}

bool first_of_page(const ViewContext& v, int index) {
  return v.settings.page_lines > 0 && index % v.settings.page_lines == 0;
}

// One column at slot offset y (from the right edge). Returns the next offset.
int draw_column(Paint& p, int index, int y) {
  ViewContext& v = p.view;
  const int r = p.width, ch = v.typeset.char_height, rh = v.typeset.ruby_height;
  platform::canvas_fill(p.win, r - y - rh, 0, rh, p.height);  // ruby band
  y += rh;
  const int left = r - y - ch;  // the text strip spans left .. r - y
  int stretched = line_advances(p.measure, v, index, p.advances);
  const int* use = stretched || own_advances(v, v.doc.lines[index]) ? p.advances.data() : nullptr;
  int indent = (v.doc.lines[index].flags & DL_QUOTE) ? 2 * ch : 0;
  // The full notation's indents and foot alignment.
  indent += line_notation(v.doc, v.doc.lines[index]).indent;
  if (indent) platform::canvas_fill(p.win, left, TEXT_MARGIN, ch, indent);
  int drawn = 0;
  if (p.strip) {
    platform::canvas_move_to(*p.strip, ch, 0);
    platform::CanvasPoint e = draw_column_text(v, *p.strip, index, p.advances.data(), use);
    platform::canvas_blit(p.win, left, TEXT_MARGIN + indent, e.x, e.y, *p.strip, 0, 0);
    drawn = e.y;
  } else if (p.win.direct_text) {
    platform::canvas_move_to(p.win, r - y, TEXT_MARGIN + indent);
    platform::CanvasPoint e = draw_column_text(v, p.win, index, p.advances.data(), use);
    drawn = e.y - (TEXT_MARGIN + indent);
  }
  platform::canvas_fill(p.win, left, TEXT_MARGIN + indent + drawn, ch, p.height);
  draw_decorations(v, p.measure, p.win, index, {0, 0, p.width, p.height}, y - rh, use, indent);
  if (v.doc.lines[index].flags & DL_MARK) platform::canvas_invert(p.win, left, 0, ch, MARK_BLOCK);
  if (!v.viewport.highlights.empty())
    draw_highlights(v, p.win, index, p.advances.data(), left, TEXT_MARGIN + indent);
  if (first_of_page(v, index)) page_number(p, index, left);
  const int gap = v.typeset.slot_gap;
  platform::canvas_fill(p.win, left - gap, TEXT_MARGIN, gap, p.height);
  return y + ch + gap;
}

// A row's text from the current position; a heading run in its own face.
void draw_row_text(Paint& p, const DisplayLine& line, const int* use) {
  const ViewContext& v = p.view;
  const int length = line_length(v.doc, line);
  const bool heading = has_heading_run(p.view, line);
  const bool small = has_small_text(line_codes(v.doc, line), length);
  if (!heading && !small) {
    platform::canvas_text(p.win, 0, 0, line_text(v.doc, line), length, use);
    return;
  }
  std::u16string work(line_text(v.doc, line), static_cast<std::size_t>(length));
  if (heading) blank_heading_run(v, line, work);
  if (small) blank_small_text(v, line, work);
  const platform::CanvasPoint origin = platform::canvas_position(p.win);
  // The blanks keep the heading characters' advances.
  platform::canvas_text(p.win, 0, 0, work.data(), length, p.advances.data());
  const platform::CanvasPoint end = platform::canvas_position(p.win);
  if (heading) draw_heading_run(p.view, p.win, origin, line, p.advances.data());
  if (small) draw_small_text(p.view, p.win, origin, line, p.advances.data());
  platform::canvas_move_to(p.win, end.x, end.y);
}

// One row at slot offset y (from the top). Returns the next offset.
int draw_row(Paint& p, int index, int y) {
  ViewContext& v = p.view;
  const int ch = v.typeset.char_height;
  platform::canvas_fill(p.win, 0, y, p.width, v.typeset.ruby_height);
  y += v.typeset.ruby_height;
  const DisplayLine& line = v.doc.lines[index];
  // The full notation's indents and foot alignment.
  const int indent = line_notation(v.doc, line).indent;
  if (indent) platform::canvas_fill(p.win, TEXT_MARGIN, y, indent, ch);
  platform::canvas_move_to(p.win, TEXT_MARGIN + indent, y);
  int stretched = line_advances(p.measure, v, index, p.advances);
  const int* use = stretched || own_advances(v, line) ? p.advances.data() : nullptr;
  draw_row_text(p, line, use);
  platform::CanvasPoint end = platform::canvas_position(p.win);
  platform::canvas_fill(p.win, end.x, y, p.width, ch);
  draw_decorations(v, p.measure, p.win, index, {0, 0, p.width, p.height}, y, use, indent);
  if (v.doc.lines[index].flags & DL_MARK) platform::canvas_invert(p.win, 0, y, MARK_BLOCK, ch);
  if (!v.viewport.highlights.empty())
    draw_highlights(v, p.win, index, p.advances.data(), y, TEXT_MARGIN + indent);
  const int gap = v.typeset.slot_gap;
  platform::canvas_fill(p.win, 0, y + ch, p.width, gap);
  return y + ch + gap;
}

bool has_text(const ViewContext& v, int i) {
  return i < v.doc.line_count && v.doc.lines && line_text(v.doc, v.doc.lines[i]);
}

// Vertical writing: slots right to left, only those meeting the update.
void walk_columns(Paint& p, const PaintRect& update) {
  ViewContext& v = p.view;
  const int pitch = v.typeset.column_pitch;
  bool past_end = false;
  for (int i = v.viewport.top_line, y = 0;; ++i) {
    if (p.width - y <= update.left) break;  // right and bottom edges are exclusive
    past_end = past_end || !has_text(v, i);
    if (p.width - y - pitch >= update.right) {
      y += pitch;
    } else if (past_end) {
      platform::canvas_fill(p.win, p.width - y - pitch, 0, pitch, p.height);
      y += pitch;
    } else {
      y = draw_column(p, i, y);
    }
    if (y >= p.width) break;
  }
}

// Horizontal writing: slots top to bottom, only those meeting the update.
void walk_rows(Paint& p, const PaintRect& update) {
  ViewContext& v = p.view;
  const int pitch = v.typeset.column_pitch;
  bool past_end = false;
  for (int i = v.viewport.top_line, y = 0;; ++i) {
    if (y >= update.bottom) break;
    past_end = past_end || !has_text(v, i);
    if (y + pitch <= update.top) {
      y += pitch;
    } else if (past_end) {
      platform::canvas_fill(p.win, 0, y, p.width, pitch);
      y += pitch;
    } else {
      y = draw_row(p, i, y);
    }
    if (y >= p.height) break;
  }
}

// A character whose multibyte form is a lone double-byte pair is drawn with
// an ideographic space after it, as the text other programs read back from
// the screen expects.
bool lone_double_byte(const char16_t* text) {
  return text[0] && !text[1] && text[0] >= 0x80 && !(text[0] >= 0xFF61 && text[0] <= 0xFF9F);
}

void one_pixel_request(ViewContext& v, Canvas& win, int x, int y) {
  const char16_t* hit = hit_test(v, x, y, 0);
  if (!hit) return;
  char16_t text[HIT_TEXT_UNITS + 1];
  int n = 0;
  while (hit[n] && n < HIT_TEXT_UNITS - 1) text[n] = hit[n], ++n;
  if (lone_double_byte(hit)) text[n++] = 0x3000;
  int mode = platform::canvas_set_back_mode(win, platform::BK_TRANSPARENT);
  int align = platform::canvas_set_align(win, platform::ALIGN_POINT);
  platform::canvas_text(win, x - 2, y - 2, text, n, nullptr);
  platform::canvas_set_align(win, align);
  platform::canvas_set_back_mode(win, mode);
}

}  // namespace

void paint_view(ViewContext& view, Canvas& win, const PaintRect& client, const PaintRect& update) {
  trace("!");
  if (update.right - update.left == 1 && update.bottom - update.top == 1) {
    one_pixel_request(view, win, update.left, update.top);
    return;
  }
  Paint p{view,
          win,
          MeasureContext{view.typeset.font_main},
          client.right - client.left,
          client.bottom - client.top,
          nullptr,
          {}};
  const platform::CanvasState saved = win.state;
  set_up(win, view, view.settings.back_color);
  if (view.typeset.vertical) make_strips(p);
  if (view.typeset.vertical)
    platform::canvas_fill(win, 0, 0, p.width, TEXT_MARGIN);
  else
    platform::canvas_fill(win, 0, 0, TEXT_MARGIN, p.height);
  if (view.viewport.top_line != 0 && view.viewport.top_line >= view.doc.line_count)
    view.viewport.top_line = view.doc.line_count - 1;
  if (view.viewport.top_line < 0) view.viewport.top_line = 0;
  if (view.typeset.column_pitch <= 0)
    view.typeset.column_pitch = view.typeset.ruby_height + view.typeset.char_height + SLOT_GAP;
  if (view.typeset.vertical)
    walk_columns(p, update);
  else
    walk_rows(p, update);
  put_back(win, saved);
  platform::canvas_destroy(p.strip);
}

}  // namespace yomite
