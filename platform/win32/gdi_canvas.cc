#include "platform/win32/gdi_canvas.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/win32_font.h"

namespace yomite::platform {

namespace {

struct GdiCanvas {
  HDC dc = nullptr;
  int dpi = win32::STANDARD_DPI;
  HBITMAP bitmap = nullptr;  // image canvases: the DIB section selected into `dc`
  HGDIOBJ old_bitmap = nullptr;
  std::uint32_t* bits = nullptr;
  HBRUSH brush = nullptr;  // a solid brush of brush_color
  CanvasColor brush_color = 0;
  HPEN pen = nullptr;  // a solid pen of pen_color, pen_width
  CanvasColor pen_color = 0;
  int pen_width = 0;
};

GdiCanvas& of(Canvas& c) {
  return *static_cast<GdiCanvas*>(c.impl);
}

HBRUSH brush_of(Canvas& c) {
  GdiCanvas& g = of(c);
  if (!g.brush || g.brush_color != c.state.brush) {
    if (g.brush) DeleteObject(g.brush);
    g.brush = CreateSolidBrush(c.state.brush);
    g.brush_color = c.state.brush;
  }
  return g.brush;
}

HPEN pen_of(Canvas& c) {
  GdiCanvas& g = of(c);
  const int width = c.state.pen_width > 0 ? c.state.pen_width : 1;
  if (!g.pen || g.pen_color != c.state.pen || g.pen_width != width) {
    if (g.pen) DeleteObject(g.pen);
    g.pen = CreatePen(PS_SOLID, width, c.state.pen);
    g.pen_color = c.state.pen;
    g.pen_width = width;
  }
  return g.pen;
}

void fill(Canvas& c, int x, int y, int w, int h) {
  if (w <= 0 || h <= 0) return;
  HDC dc = of(c).dc;
  HGDIOBJ old = SelectObject(dc, brush_of(c));
  PatBlt(dc, x, y, w, h, PATCOPY);
  SelectObject(dc, old);
}

void invert(Canvas& c, int x, int y, int w, int h) {
  if (w > 0 && h > 0) PatBlt(of(c).dc, x, y, w, h, DSTINVERT);
}

// LineTo leaves out the last point, as the core expects.
void line_to(Canvas& c, int x, int y) {
  HDC dc = of(c).dc;
  HGDIOBJ old = SelectObject(dc, pen_of(c));
  MoveToEx(dc, c.state.position.x, c.state.position.y, nullptr);
  LineTo(dc, x, y);
  SelectObject(dc, old);
}

int run_length(Font* font, HDC dc, const char16_t* text, int count, const int* advances) {
  if (advances) {
    int total = 0;
    for (int i = 0; i < count; ++i) total += advances[i];
    return total;
  }
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text), count, &size);
  (void)font;
  return size.cx;
}

// Text at the top-left corner of its cell in the font's own frame: for a
// font turned down a column (escapement 2700) the cell lies left of x and
// the run goes down from y. The background of an opaque run is filled here,
// not by GDI, which does not fill it for turned text everywhere.
CanvasPoint text(Canvas& c, int x, int y, const char16_t* s, int count, const int* advances) {
  Font* font = c.state.font;
  if (!font || !font->handle || count <= 0) return {x, y};
  // A scaled context would place the characters by the advances of the font
  // at its device size, which round otherwise: the run keeps those of 96 dpi.
  // A stand-in's characters go where the core measured them.
  std::vector<int> logical;
  if (!advances && (of(c).dpi != win32::STANDARD_DPI || font->design)) {
    logical = font_unit_advances(font, s, count);
    advances = logical.data();
  }
  HDC dc = of(c).dc;
  HGDIOBJ old_font = SelectObject(dc, font->handle);
  const int total = run_length(font, dc, s, count, advances);
  const bool down = font->escapement == ESCAPEMENT_DOWN;
  const int cell = font->metrics.height;
  if (c.state.back_mode == BK_OPAQUE) {
    HBRUSH back = CreateSolidBrush(c.state.back_color);
    RECT r = down ? RECT{x - cell, y, x, y + total} : RECT{x, y, x + total, y + cell};
    FillRect(dc, &r, back);
    DeleteObject(back);
  }
  SetTextColor(dc, c.state.text_color);
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
  std::vector<INT> dx;
  if (advances) dx.assign(advances, advances + count);
  // The baseline where the font's metrics put it (GDI puts it by its own ascent).
  const int drop = font->ascent_drop;
  ExtTextOutW(dc, down ? x + drop : x, down ? y : y - drop, 0, nullptr,
              reinterpret_cast<const wchar_t*>(s), static_cast<UINT>(count),
              advances ? dx.data() : nullptr);
  SelectObject(dc, old_font);
  return down ? CanvasPoint{x, y + total} : CanvasPoint{x + total, y};
}

void blit(Canvas& c, int x, int y, int w, int h, Canvas& src, int sx, int sy) {
  if (w > 0 && h > 0) BitBlt(of(c).dc, x, y, w, h, of(src).dc, sx, sy, SRCCOPY);
}

Canvas* create_compatible(Canvas& c, int w, int h) {
  return gdi_canvas_create_image(of(c).dc, w, h, of(c).dpi);
}

void destroy(Canvas* c) {
  GdiCanvas& g = of(*c);
  if (g.brush) DeleteObject(g.brush);
  if (g.pen) DeleteObject(g.pen);
  if (g.bitmap) {
    SelectObject(g.dc, g.old_bitmap);
    DeleteObject(g.bitmap);
    DeleteDC(g.dc);
  }
  delete &g;
  delete c;
}

// Image pixels are 0x00RRGGBB; colours are 0x00BBGGRR.
CanvasColor swap_red_blue(std::uint32_t p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

// The device pixel a logical one is read from: its block's first.
std::uint32_t device_pixel(const GdiCanvas& g, int device_width, int x, int y) {
  const int dx = win32::device_start(x, g.dpi), dy = win32::device_start(y, g.dpi);
  return g.bits[static_cast<std::ptrdiff_t>(dy) * device_width + dx];
}

int device_width_of(const Canvas& c) {
  return win32::device_end(c.width, static_cast<const GdiCanvas*>(c.impl)->dpi);
}

CanvasColor get_pixel(Canvas& c, int x, int y) {
  if (x < 0 || y < 0 || x >= c.width || y >= c.height) return 0xFFFFFFFF;
  GdiCanvas& g = of(c);
  if (!g.bits) return GetPixel(g.dc, x, y);
  GdiFlush();
  return swap_red_blue(device_pixel(g, device_width_of(c), x, y));
}

void read_pixels(Canvas& c, std::uint32_t* out) {
  GdiCanvas& g = of(c);
  if (!g.bits) return;
  GdiFlush();
  if (g.dpi == win32::STANDARD_DPI) {
    std::memcpy(out, g.bits, 4 * static_cast<std::size_t>(c.width) * c.height);
    return;
  }
  const int dw = device_width_of(c);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      out[static_cast<std::ptrdiff_t>(y) * c.width + x] = device_pixel(g, dw, x, y);
}

// State changes need no work here: every drawing call reads the state.
const CanvasOps OPS = {
    nullptr, nullptr, nullptr, nullptr, nullptr,           nullptr, nullptr,   nullptr,     fill,
    invert,  line_to, text,    blit,    create_compatible, destroy, get_pixel, read_pixels,
};

Canvas* wrap(GdiCanvas* g, int w, int h) {
  auto* c = new Canvas();
  c->ops = &OPS;
  c->width = w;
  c->height = h;
  c->impl = g;
  return c;
}

// Logical pixels onto the device's: a scale above 96 dpi; at 96 the context
// stays as GDI makes it.
void set_scale(HDC dc, int dpi) {
  if (dpi == win32::STANDARD_DPI && GetGraphicsMode(dc) != GM_ADVANCED) return;
  SetGraphicsMode(dc, GM_ADVANCED);
  const FLOAT s = static_cast<FLOAT>(dpi) / win32::STANDARD_DPI;
  const XFORM scale{s, 0, 0, s, 0, 0};
  SetWorldTransform(dc, &scale);
  if (dpi == win32::STANDARD_DPI) SetGraphicsMode(dc, GM_COMPATIBLE);
}

}  // namespace

Canvas* gdi_canvas_create_for(HDC dc, int w, int h, int dpi) {
  if (!dc) return nullptr;
  auto* g = new GdiCanvas();
  g->dc = dc;
  g->dpi = dpi;
  set_scale(dc, dpi);
  return wrap(g, w, h);
}

Canvas* gdi_canvas_create_image(HDC like, int w, int h, int dpi) {
  if (w <= 0 || h <= 0) return nullptr;
  HDC dc = CreateCompatibleDC(like);
  if (!dc) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = win32::device_end(w, dpi);
  info.bmiHeader.biHeight = -win32::device_end(h, dpi);  // rows top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) {
    DeleteDC(dc);
    return nullptr;
  }
  auto* g = new GdiCanvas();
  g->dc = dc;
  g->dpi = dpi;
  g->bitmap = bitmap;
  g->old_bitmap = SelectObject(dc, bitmap);
  g->bits = static_cast<std::uint32_t*>(bits);
  set_scale(dc, dpi);
  return wrap(g, w, h);
}

HDC gdi_canvas_dc(Canvas& c) {
  return of(c).dc;
}

std::uint32_t* gdi_canvas_bits(Canvas& c) {
  return of(c).bits;
}

}  // namespace yomite::platform
