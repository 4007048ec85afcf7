// A small GDI-like drawing context: what painting needs of a window, an
// off-screen strip or a recording of calls.
//
// Several kinds of canvas live in one process (the window, its off-screen
// strips, a recorder in tests), so a canvas is a record of function pointers
// plus the drawing state they all share. The state lives here, in the record;
// the setters below change it and then tell the backend (an empty slot is a
// no-op, so a backend only fills the slots it cares about).
//
// Coordinates are pixels from the canvas's top-left corner, x to the right
// and y downward. Rectangles are (left, top, width, height). Colours are
// 0x00BBGGRR.
#pragma once

#include <cstdint>

#include "platform/font.h"

namespace yomite::platform {

using CanvasColor = std::uint32_t;

// Background modes: text cells keep what is below, or are first filled with
// the text background colour.
constexpr int BK_TRANSPARENT = 1;
constexpr int BK_OPAQUE = 2;

// Text alignment: draw at the given point (the top-left of the first cell in
// the font's own frame), or at the current position and move it to the end.
constexpr int ALIGN_POINT = 0;
constexpr int ALIGN_UPDATE_CP = 1;

struct CanvasPoint {
  int x = 0;
  int y = 0;
};

struct CanvasState {
  Font* font = nullptr;
  CanvasColor text_color = 0x000000;
  CanvasColor back_color = 0xFFFFFF;  // behind text in BK_OPAQUE
  int back_mode = BK_OPAQUE;
  CanvasColor brush = 0xFFFFFF;  // every fill is a solid copy of it
  CanvasColor pen = 0x000000;    // lines are solid
  int pen_width = 1;
  int align = ALIGN_POINT;
  CanvasPoint position;
};

struct Canvas;

struct CanvasOps {
  // Told after the state changed.
  void (*select_font)(Canvas& c, Font* font);
  void (*set_text_color)(Canvas& c, CanvasColor color);
  void (*set_back_color)(Canvas& c, CanvasColor color);
  void (*set_back_mode)(Canvas& c, int mode);
  void (*set_brush)(Canvas& c, CanvasColor color);
  void (*set_pen)(Canvas& c, int width, CanvasColor color);
  void (*set_align)(Canvas& c, int align);
  void (*move_to)(Canvas& c, int x, int y);
  // Drawing.
  void (*fill)(Canvas& c, int x, int y, int w, int h);    // with the brush
  void (*invert)(Canvas& c, int x, int y, int w, int h);  // every colour bit flipped
  // From the current position (still the start when called) to (x, y),
  // the last point excluded.
  void (*line_to)(Canvas& c, int x, int y);
  // `count` UTF-16 units in the selected font at (x, y), with one advance per
  // unit (a surrogate pair advances by the sum of its two) or, when
  // `advances` is null, the font's own. Returns the end point along the
  // baseline: below (x, y) for a font turned down a column, right of it
  // otherwise.
  CanvasPoint (*text)(Canvas& c, int x, int y, const char16_t* text, int count,
                      const int* advances);
  // Copies w x h pixels from `src` at (sx, sy) to (x, y).
  void (*blit)(Canvas& c, int x, int y, int w, int h, Canvas& src, int sx, int sy);
  // Off-screen canvases like this one.
  Canvas* (*create_compatible)(Canvas& c, int w, int h);
  void (*destroy)(Canvas* c);
  // Pixels: one 32-bit value per pixel, rows top-down; what a value means is
  // the backend's.
  CanvasColor (*get_pixel)(Canvas& c, int x, int y);
  void (*read_pixels)(Canvas& c, std::uint32_t* pixels);  // width x height values
};

struct Canvas {
  const CanvasOps* ops = nullptr;
  int width = 0;  // px
  int height = 0;
  CanvasState state;
  // 1 when turned text drawn straight onto this canvas looks as it would
  // copied from an off-screen strip (a vector page): painting then skips the
  // strips.
  int direct_text = 0;
  void* impl = nullptr;  // the backend's own record
};

// --- state: each setter returns the previous value --------------------------

inline Font* canvas_select_font(Canvas& c, Font* font) {
  Font* old = c.state.font;
  c.state.font = font;
  if (c.ops->select_font) c.ops->select_font(c, font);
  return old;
}

inline CanvasColor canvas_set_text_color(Canvas& c, CanvasColor color) {
  CanvasColor old = c.state.text_color;
  c.state.text_color = color;
  if (c.ops->set_text_color) c.ops->set_text_color(c, color);
  return old;
}

inline CanvasColor canvas_set_back_color(Canvas& c, CanvasColor color) {
  CanvasColor old = c.state.back_color;
  c.state.back_color = color;
  if (c.ops->set_back_color) c.ops->set_back_color(c, color);
  return old;
}

inline int canvas_set_back_mode(Canvas& c, int mode) {
  int old = c.state.back_mode;
  c.state.back_mode = mode;
  if (c.ops->set_back_mode) c.ops->set_back_mode(c, mode);
  return old;
}

inline CanvasColor canvas_set_brush(Canvas& c, CanvasColor color) {
  CanvasColor old = c.state.brush;
  c.state.brush = color;
  if (c.ops->set_brush) c.ops->set_brush(c, color);
  return old;
}

// Returns the previous colour; the previous width is c.state.pen_width before the call.
inline CanvasColor canvas_set_pen(Canvas& c, int width, CanvasColor color) {
  CanvasColor old = c.state.pen;
  c.state.pen = color;
  c.state.pen_width = width;
  if (c.ops->set_pen) c.ops->set_pen(c, width, color);
  return old;
}

inline int canvas_set_align(Canvas& c, int align) {
  int old = c.state.align;
  c.state.align = align;
  if (c.ops->set_align) c.ops->set_align(c, align);
  return old;
}

inline void canvas_move_to(Canvas& c, int x, int y) {
  c.state.position = {x, y};
  if (c.ops->move_to) c.ops->move_to(c, x, y);
}

inline CanvasPoint canvas_position(const Canvas& c) {
  return c.state.position;
}

// --- drawing -----------------------------------------------------------------

inline void canvas_fill(Canvas& c, int x, int y, int w, int h) {
  if (c.ops->fill) c.ops->fill(c, x, y, w, h);
}

inline void canvas_invert(Canvas& c, int x, int y, int w, int h) {
  if (c.ops->invert) c.ops->invert(c, x, y, w, h);
}

inline void canvas_line_to(Canvas& c, int x, int y) {
  if (c.ops->line_to) c.ops->line_to(c, x, y);
  c.state.position = {x, y};
}

// Text at (x, y), or at the current position (which then moves to the end)
// when the alignment is ALIGN_UPDATE_CP. `advances` may be null.
inline CanvasPoint canvas_text(Canvas& c, int x, int y, const char16_t* text, int count,
                               const int* advances) {
  if (c.state.align == ALIGN_UPDATE_CP) {
    x = c.state.position.x;
    y = c.state.position.y;
  }
  CanvasPoint end{x, y};
  if (c.ops->text) end = c.ops->text(c, x, y, text, count, advances);
  if (c.state.align == ALIGN_UPDATE_CP) c.state.position = end;
  return end;
}

inline void canvas_blit(Canvas& c, int x, int y, int w, int h, Canvas& src, int sx, int sy) {
  if (c.ops->blit) c.ops->blit(c, x, y, w, h, src, sx, sy);
}

// An off-screen canvas of w x h pixels that `like` can copy from, or null.
inline Canvas* canvas_create_compatible(Canvas& like, int w, int h) {
  return like.ops->create_compatible ? like.ops->create_compatible(like, w, h) : nullptr;
}

// Null is ignored.
inline void canvas_destroy(Canvas* c) {
  if (c && c->ops->destroy) c->ops->destroy(c);
}

inline CanvasColor canvas_get_pixel(Canvas& c, int x, int y) {
  return c.ops->get_pixel ? c.ops->get_pixel(c, x, y) : 0;
}

inline void canvas_read_pixels(Canvas& c, std::uint32_t* pixels) {
  if (c.ops->read_pixels) c.ops->read_pixels(c, pixels);
}

}  // namespace yomite::platform
