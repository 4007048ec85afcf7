// The canvas operations on Cairo: fills, inversion, lines, copies, pixels.
#include <cmath>
#include <cstring>

#include "platform/cairo/cairo_canvas.h"
#include "platform/cairo/canvas_text.h"

namespace yomite::platform {

namespace {

struct CairoCanvas {
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
};

CairoCanvas& of(Canvas& c) {
  return *static_cast<CairoCanvas*>(c.impl);
}

void fill(Canvas& c, int x, int y, int w, int h) {
  if (w <= 0 || h <= 0) return;
  cairo_t* cr = of(c).cr;
  set_source_color(cr, c.state.brush);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

// The difference from white flips every colour bit of an opaque picture.
void invert(Canvas& c, int x, int y, int w, int h) {
  if (w <= 0 || h <= 0) return;
  cairo_t* cr = of(c).cr;
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
  cairo_restore(cr);
}

// Lines along an axis cover whole pixels; others are stroked through pixel centres.
void line_to(Canvas& c, int x, int y) {
  cairo_t* cr = of(c).cr;
  const CanvasPoint from = c.state.position;
  const int pw = c.state.pen_width > 0 ? c.state.pen_width : 1;
  set_source_color(cr, c.state.pen);
  if (from.x == x && from.y != y) {
    int top = y > from.y ? from.y : y + 1;
    cairo_rectangle(cr, x, top, pw, y > from.y ? y - from.y : from.y - y);
    cairo_fill(cr);
  } else if (from.y == y && from.x != x) {
    int left = x > from.x ? from.x : x + 1;
    cairo_rectangle(cr, left, y, x > from.x ? x - from.x : from.x - x, pw);
    cairo_fill(cr);
  } else if (from.x != x) {
    cairo_set_line_width(cr, pw);
    cairo_move_to(cr, from.x + 0.5, from.y + 0.5);
    cairo_line_to(cr, x + 0.5, y + 0.5);
    cairo_stroke(cr);
  }
}

CanvasPoint text(Canvas& c, int x, int y, const char16_t* s, int count, const int* advances) {
  return draw_text_run(of(c).cr, c.state, x, y, s, count, advances);
}

void blit(Canvas& c, int x, int y, int w, int h, Canvas& src, int sx, int sy) {
  if (w <= 0 || h <= 0) return;
  cairo_t* cr = of(c).cr;
  // Off-screen canvases have no alpha, so drawing over is copying; a PDF
  // page keeps it as vector drawing where copying would make it a picture.
  cairo_save(cr);
  cairo_set_source_surface(cr, of(src).surface, x - sx, y - sy);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
  cairo_restore(cr);
}

// An image keeps its target's device scale (a HiDPI window draws its column
// strips at twice the pixels too, so they stay sharp when copied in).
cairo_surface_t* scaled_image(cairo_surface_t* target, int w, int h) {
  double sx = 1, sy = 1;
  cairo_surface_get_device_scale(target, &sx, &sy);
  cairo_surface_t* s = cairo_image_surface_create(
      CAIRO_FORMAT_RGB24, static_cast<int>(std::ceil(w * sx)), static_cast<int>(std::ceil(h * sy)));
  cairo_surface_set_device_scale(s, sx, sy);
  return s;
}

Canvas* create_compatible(Canvas& c, int w, int h) {
  if (w <= 0 || h <= 0) return nullptr;
  cairo_surface_t* target = of(c).surface;
  cairo_surface_t* s = cairo_surface_get_type(target) == CAIRO_SURFACE_TYPE_IMAGE
                           ? scaled_image(target, w, h)
                           : cairo_surface_create_similar(target, CAIRO_CONTENT_COLOR, w, h);
  Canvas* out = cairo_canvas_create_for(s, w, h);
  cairo_surface_destroy(s);
  return out;
}

void destroy(Canvas* c) {
  cairo_destroy(of(*c).cr);
  cairo_surface_destroy(of(*c).surface);
  delete &of(*c);
  delete c;
}

bool is_image(Canvas& c) {
  return cairo_surface_get_type(of(c).surface) == CAIRO_SURFACE_TYPE_IMAGE;
}

// Image pixels are 0x00RRGGBB; colours are 0x00BBGGRR. Pixels are logical:
// on a scaled image one stands for its block of device pixels, read from the
// block's first.
struct Pixels {
  unsigned char* data;
  int stride;
  int scale;
};

Pixels pixels_of(Canvas& c) {
  cairo_surface_t* s = of(c).surface;
  cairo_surface_flush(s);
  double sx = 1, sy = 1;
  cairo_surface_get_device_scale(s, &sx, &sy);
  return {cairo_image_surface_get_data(s), cairo_image_surface_get_stride(s),
          sx >= 1 ? static_cast<int>(sx) : 1};
}

std::uint32_t* pixel_at(const Pixels& p, int x, int y) {
  return reinterpret_cast<std::uint32_t*>(p.data + static_cast<std::ptrdiff_t>(y) * p.stride) + x;
}

CanvasColor get_pixel(Canvas& c, int x, int y) {
  if (!is_image(c) || x < 0 || y < 0 || x >= c.width || y >= c.height) return 0xFFFFFFFF;
  const Pixels px = pixels_of(c);
  std::uint32_t p;
  std::memcpy(&p, pixel_at(px, x * px.scale, y * px.scale), 4);
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

void read_pixels(Canvas& c, std::uint32_t* out) {
  if (!is_image(c)) return;
  const Pixels px = pixels_of(c);
  for (int y = 0; y < c.height; ++y) {
    std::uint32_t* row = out + static_cast<std::ptrdiff_t>(y) * c.width;
    if (px.scale == 1) {
      std::memcpy(row, pixel_at(px, 0, y), 4 * static_cast<std::size_t>(c.width));
      continue;
    }
    for (int x = 0; x < c.width; ++x)
      std::memcpy(row + x, pixel_at(px, x * px.scale, y * px.scale), 4);
  }
}

// State changes need no work here: every drawing call reads the state.
const CanvasOps OPS = {
    nullptr, nullptr,           nullptr, nullptr,   nullptr,     nullptr,
    nullptr, nullptr,           fill,    invert,    line_to,     text,
    blit,    create_compatible, destroy, get_pixel, read_pixels,
};

}  // namespace

Canvas* cairo_canvas_create_for(cairo_surface_t* surface, int w, int h) {
  if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return nullptr;
  auto* cc = new CairoCanvas{cairo_surface_reference(surface), cairo_create(surface)};
  cairo_set_antialias(cc->cr, CAIRO_ANTIALIAS_GRAY);
  auto* c = new Canvas();
  c->ops = &OPS;
  c->width = w;
  c->height = h;
  c->impl = cc;
  // Strips on a vector page would be recordings replayed column by column.
  c->direct_text = cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE ? 0 : 1;
  return c;
}

Canvas* cairo_canvas_create_image(int w, int h) {
  if (w <= 0 || h <= 0) return nullptr;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  Canvas* c = cairo_canvas_create_for(s, w, h);
  cairo_surface_destroy(s);
  return c;
}

cairo_surface_t* cairo_canvas_surface(Canvas& c) {
  return of(c).surface;
}

cairo_t* cairo_canvas_context(Canvas& c) {
  return of(c).cr;
}

}  // namespace yomite::platform
