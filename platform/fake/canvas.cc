#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "platform/fake/fake_canvas.h"
#include "platform/fake/fake_font.h"
#include "trace/trace.h"

namespace yomite::fake {

namespace {

using platform::Canvas;
using platform::CanvasColor;
using platform::CanvasPoint;

struct Recorder {
  Recording* rec;
  std::string name;
  std::vector<std::uint32_t> pixels;
};

Recorder& rec_of(Canvas& c) {
  return *static_cast<Recorder*>(c.impl);
}

void log(Canvas& c, const char* format, ...) YOMITE_PRINTF_FORMAT(2, 3);
void log(Canvas& c, const char* format, ...) {
  char buf[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  Recorder& r = rec_of(c);
  r.rec->lines.push_back(r.name + " " + buf);
}

void put_utf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (u >> 18));
    out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

std::string utf8(const char16_t* text, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    char32_t u = text[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      u = 0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    put_utf8(out, u);
  }
  return out;
}

// The fake fonts' advances: half-width units S / 2, everything else S.
int own_advance(const platform::Font* f, const char16_t* text, int count, int i) {
  char16_t u = text[i];
  if (u >= 0xDC00 && u <= 0xDFFF && i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF)
    return 0;
  int s = f ? f->height : 16;
  (void)count;
  return (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F)) ? s / 2 : s;
}

// Clipped to the canvas.
template <typename F>
void each_pixel(Canvas& c, int x, int y, int w, int h, F f) {
  Recorder& r = rec_of(c);
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + w, c.width), y1 = std::min(y + h, c.height);
  for (int v = y0; v < y1; ++v)
    for (int u = x0; u < x1; ++u) f(r.pixels[static_cast<std::size_t>(v * c.width + u)]);
}

void select_font(Canvas& c, platform::Font* f) {
  if (f)
    log(c, "font \"%s\" %d %d", f->face.c_str(), f->height, f->escapement);
  else
    log(c, "font null");
}
void set_text_color(Canvas& c, CanvasColor v) {
  log(c, "text_color %06x", v);
}
void set_back_color(Canvas& c, CanvasColor v) {
  log(c, "back_color %06x", v);
}
void set_back_mode(Canvas& c, int m) {
  log(c, "back_mode %s", m == platform::BK_TRANSPARENT ? "transparent" : "opaque");
}
void set_brush(Canvas& c, CanvasColor v) {
  log(c, "brush %06x", v);
}
void set_pen(Canvas& c, int w, CanvasColor v) {
  log(c, "pen %d %06x", w, v);
}
void set_align(Canvas& c, int a) {
  log(c, "align %s", a == platform::ALIGN_UPDATE_CP ? "cp" : "point");
}
void move_to(Canvas& c, int x, int y) {
  log(c, "move %d,%d", x, y);
}

void fill(Canvas& c, int x, int y, int w, int h) {
  log(c, "fill %d %d %d %d", x, y, w, h);
  CanvasColor b = c.state.brush;
  each_pixel(c, x, y, w, h, [b](std::uint32_t& p) { p = b; });
}

void invert(Canvas& c, int x, int y, int w, int h) {
  log(c, "invert %d %d %d %d", x, y, w, h);
  each_pixel(c, x, y, w, h, [](std::uint32_t& p) { p = ~p & 0xFFFFFF; });
}

// Only lines along an axis are drawn into the grid; painting draws no others.
void line_to(Canvas& c, int x, int y) {
  CanvasPoint from = c.state.position;
  log(c, "line %d,%d %d,%d", from.x, from.y, x, y);
  CanvasColor pen = c.state.pen;
  auto set = [pen](std::uint32_t& p) { p = pen; };
  if (from.x == x) {
    int y0 = std::min(from.y, y + 1), y1 = std::max(from.y, y - 1);
    if (from.y != y) each_pixel(c, x, y0, 1, y1 - y0 + 1, set);
  } else if (from.y == y) {
    int x0 = std::min(from.x, x + 1), x1 = std::max(from.x, x - 1);
    each_pixel(c, x0, y, x1 - x0 + 1, 1, set);
  }
}

CanvasPoint text(Canvas& c, int x, int y, const char16_t* s, int count, const int* adv) {
  const platform::Font* f = c.state.font;
  int total = 0;
  std::string list;
  for (int i = 0; i < count; ++i) {
    int a = adv ? adv[i] : own_advance(f, s, count, i);
    total += a;
    if (adv) list += (i ? "," : "") + std::to_string(a);
  }
  bool down = f && f->escapement == platform::ESCAPEMENT_DOWN;
  CanvasPoint end = down ? CanvasPoint{x, y + total} : CanvasPoint{x + total, y};
  log(c, "text %d,%d \"%s\" adv=%s end=%d,%d", x, y, utf8(s, count).c_str(),
      adv ? list.c_str() : "-", end.x, end.y);
  return end;
}

void blit(Canvas& c, int x, int y, int w, int h, Canvas& src, int sx, int sy) {
  log(c, "blit %d %d %d %d from %s %d,%d", x, y, w, h, rec_of(src).name.c_str(), sx, sy);
  Recorder& d = rec_of(c);
  Recorder& s = rec_of(src);
  for (int v = 0; v < h; ++v)
    for (int u = 0; u < w; ++u) {
      int tx = x + u, ty = y + v, fx = sx + u, fy = sy + v;
      if (tx < 0 || ty < 0 || tx >= c.width || ty >= c.height) continue;
      if (fx < 0 || fy < 0 || fx >= src.width || fy >= src.height) continue;
      d.pixels[static_cast<std::size_t>(ty * c.width + tx)] =
          s.pixels[static_cast<std::size_t>(fy * src.width + fx)];
    }
}

Canvas* create_compatible(Canvas& c, int w, int h) {
  Recorder& r = rec_of(c);
  std::string name = "off" + std::to_string(++r.rec->canvases_made);
  log(c, "create %s %d %d", name.c_str(), w, h);
  return new_recording_canvas(*r.rec, name, w, h);
}

void destroy(Canvas* c) {
  log(*c, "destroy");
  delete &rec_of(*c);
  delete c;
}

CanvasColor get_pixel(Canvas& c, int x, int y) {
  log(c, "get_pixel %d,%d", x, y);
  if (x < 0 || y < 0 || x >= c.width || y >= c.height) return 0xFFFFFFFF;
  return rec_of(c).pixels[static_cast<std::size_t>(y * c.width + x)];
}

void read_pixels(Canvas& c, std::uint32_t* out) {
  log(c, "read_pixels");
  std::copy(rec_of(c).pixels.begin(), rec_of(c).pixels.end(), out);
}

const platform::CanvasOps OPS = {
    select_font, set_text_color,    set_back_color, set_back_mode, set_brush,   set_pen,
    set_align,   move_to,           fill,           invert,        line_to,     text,
    blit,        create_compatible, destroy,        get_pixel,     read_pixels,
};

}  // namespace

platform::Canvas* new_recording_canvas(Recording& rec, const std::string& name, int w, int h) {
  auto* c = new Canvas();
  c->ops = &OPS;
  c->width = w;
  c->height = h;
  c->impl = new Recorder{
      &rec, name, std::vector<std::uint32_t>(static_cast<std::size_t>(w > 0 && h > 0 ? w * h : 0))};
  return c;
}

std::vector<std::string> lines_with(const Recording& rec, const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& l : rec.lines)
    if (l.compare(0, prefix.size(), prefix) == 0) out.push_back(l);
  return out;
}

}  // namespace yomite::fake
