// Text runs with explicit advances: two glyph strings per family (upright
// characters from the EAST font, turned ones from the SOUTH font), every
// glyph placed by the caller's advances rather than the font's.
#include <pango/pangocairo.h>

#include <cmath>
#include <vector>

#include "platform/cairo/cairo_font.h"
#include "platform/cairo/canvas_text.h"

namespace yomite::platform {

namespace {

struct RunChar {
  const ShapedChar* shaped;
  int advance;  // px along the run
};

bool is_high(char16_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool is_low(char16_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

// The run's characters (a surrogate pair is one, advancing by the sum of its
// units' advances) and its length along the baseline.
int gather(Font& font, const char16_t* text, int count, const int* advances,
           std::vector<RunChar>& out) {
  out.clear();
  int total = 0;
  for (int i = 0; i < count;) {
    char32_t c = text[i];
    int units = 1;
    if (is_high(text[i]) && i + 1 < count && is_low(text[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      units = 2;
    }
    const ShapedChar& s = shape_char(font, c);
    int adv = s.advance;
    if (advances) adv = units == 2 ? advances[i] + advances[i + 1] : advances[i];
    out.push_back({&s, adv});
    total += adv;
    i += units;
  }
  return total;
}

// One string for the characters of one family drawn one way; the others
// are empty glyphs that only advance.
void show_string(cairo_t* cr, PangoFont* font, const std::vector<RunChar>& run, int face,
                 int upright, double baseline) {
  static thread_local PangoGlyphString* gs = pango_glyph_string_new();
  pango_glyph_string_set_size(gs, static_cast<int>(run.size()));
  for (std::size_t k = 0; k < run.size(); ++k) {
    const ShapedChar& s = *run[k].shaped;
    bool mine = s.face == face && s.upright == upright;
    PangoGlyphInfo& g = gs->glyphs[k];
    g.glyph = mine ? s.glyph : PANGO_GLYPH_EMPTY;
    g.geometry.width = run[k].advance * PANGO_SCALE;
    g.geometry.x_offset = mine ? s.x_offset : 0;
    g.geometry.y_offset = mine ? s.y_offset : 0;
    g.attr.is_cluster_start = 1;
    gs->log_clusters[k] = static_cast<int>(k);
  }
  cairo_move_to(cr, 0, baseline);
  pango_cairo_show_glyph_string(cr, font, gs);
}

}  // namespace

void set_source_color(cairo_t* cr, CanvasColor c) {
  cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                       ((c >> 16) & 0xFF) / 255.0);
}

CanvasPoint draw_text_run(cairo_t* cr, const CanvasState& state, int x, int y, const char16_t* text,
                          int count, const int* advances) {
  Font* font = state.font;
  if (!font || count <= 0) return {x, y};
  static thread_local std::vector<RunChar> run;
  const int total = gather(*font, text, count, advances, run);
  const bool down = font->escapement == ESCAPEMENT_DOWN;
  const int cell = font->metrics.height;
  cairo_save(cr);
  cairo_translate(cr, x, y);
  if (down) cairo_rotate(cr, M_PI / 2);  // a quarter turn clockwise: the frame's x runs down
  if (state.back_mode == BK_OPAQUE) {
    set_source_color(cr, state.back_color);
    cairo_rectangle(cr, 0, 0, total, cell);
    cairo_fill(cr);
  }
  set_source_color(cr, state.text_color);
  // Which family and orientation each character needs; usually the main
  // family only, upright and turned.
  std::vector<char> used(font->faces.size() * 2, 0);
  for (const RunChar& r : run)
    used[static_cast<std::size_t>(r.shaped->face * 2 + r.shaped->upright)] = 1;
  for (std::size_t k = 0; k < used.size(); ++k) {
    if (!used[k]) continue;
    const FaceFonts& ff = font->faces[k / 2];
    const int upright = static_cast<int>(k % 2);
    // Turned glyphs sit on the baseline; upright ones on the column's middle line.
    if (upright)
      show_string(cr, ff.east, run, static_cast<int>(k / 2), 1, cell / 2.0);
    else
      show_string(cr, ff.south, run, static_cast<int>(k / 2), 0, font->metrics.ascent);
  }
  cairo_restore(cr);
  return down ? CanvasPoint{x, y + total} : CanvasPoint{x + total, y};
}

}  // namespace yomite::platform
