// Painting a view onto a canvas, and finding the character under a point.
//
// Geometry (px): each display line takes one slot of column_pitch =
// ruby_height + char_height + slot_gap across the reading direction. Vertical
// writing: slots run leftward from the right edge; within a slot, from its
// right edge, come the ruby band, the text strip and the gap. Horizontal
// writing: slots run downward from the top; within a slot, from its top, the
// ruby band, the text row and the gap. Along the text, TEXT_MARGIN px come
// before the first character, and a quotation line in vertical writing
// starts two full-width cells further down.
#pragma once

#include <cstdint>

#include "layout/fonts.h"
#include "platform/canvas.h"
#include "view/view_context.h"

namespace yomite {

// A rectangle as a window system reports it: right and bottom exclusive.
struct PaintRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Length of the mark's inverted block at the head of a line, px.
constexpr int MARK_BLOCK = 8;
// Gap between slots in standard composition, px (book composition leaves a
// wider one: typeset.slot_gap).
constexpr int SLOT_GAP = 2;
// Units hit_test returns at most in text mode (with the terminator).
constexpr int HIT_TEXT_UNITS = 1024;

// Paints every slot that meets `update` (client coordinates) onto `win`, whose
// drawing state is put back afterwards. An update of exactly one pixel is a
// request for the text under that point instead (drawn 2 px up and left of it
// in the canvas's font), and nothing else is painted.
void paint_view(ViewContext& view, platform::Canvas& win, const PaintRect& client,
                const PaintRect& update);

// Draws display line `index` down the column strip `strip` from its current
// position (its top right corner), with the given advances to use (null: the
// font's own), one space appended. Upright digit pairs are drawn side by
// side by the pair font; `advances` are the line's advances stretched or not.
// Returns the end position: x the strip width, y the length drawn.
platform::CanvasPoint draw_column_text(ViewContext& view, platform::Canvas& strip, int index,
                                       const int* advances, const int* use);

// Ruby, emphasis marks and side lines of display line `index`. `slot` is the
// slot offset: distance of the slot's right edge from the client's right edge
// in vertical writing, the top of the text row in horizontal writing.
// `use` are the stretched advances, or null for plain widths.
void draw_decorations(ViewContext& view, MeasureContext& measure, platform::Canvas& win, int index,
                      const PaintRect& client, int slot, const int* use, int indent);

// The text under client point (x, y) of the view's window.
// note_mode 1: the annotation entry of the note anchor under the point.
// note_mode 0: the text from the character under the point to the end of its
// display line, followed by the next display line when the logical line
// continues (in a buffer each call overwrites). Null when nothing is there.
const char16_t* hit_test(ViewContext& view, int x, int y, int note_mode);

}  // namespace yomite
