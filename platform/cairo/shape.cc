// Shaping single characters and measuring runs along the text direction.
#include <hb.h>
#include <pango/pango.h>

#include "platform/cairo/cairo_font.h"

namespace yomite::platform {

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

// An ambiguous-width character stands upright when the font draws it at
// least this share of an em wide (Greek, Cyrillic and symbols in CJK faces).
constexpr double UPRIGHT_AMBIGUOUS_EM = 0.75;

struct Shaped {
  PangoGlyph glyph = PANGO_GLYPH_EMPTY;
  int width = 0;  // Pango units, the whole cluster
  int x_offset = 0;
  int y_offset = 0;
  bool missing = true;
};

Shaped shape_with(PangoFont* font, PangoGravity gravity, char32_t c) {
  char utf8[8];
  int len = g_unichar_to_utf8(static_cast<gunichar>(c), utf8);
  PangoAnalysis a{};
  a.font = font;
  a.gravity = static_cast<guint8>(gravity);
  a.language = pango_language_from_string("ja");
  GUnicodeScript script = g_unichar_get_script(static_cast<gunichar>(c));
  if (script == G_UNICODE_SCRIPT_COMMON || script == G_UNICODE_SCRIPT_INHERITED ||
      script == G_UNICODE_SCRIPT_UNKNOWN)
    script = G_UNICODE_SCRIPT_HAN;
  a.script = static_cast<guint8>(script);
  if (PANGO_GRAVITY_IS_VERTICAL(gravity)) a.flags = PANGO_ANALYSIS_FLAG_CENTERED_BASELINE;
  PangoGlyphString* gs = pango_glyph_string_new();
  pango_shape_with_flags(utf8, len, utf8, len, &a, gs, PANGO_SHAPE_ROUND_POSITIONS);
  Shaped s;
  if (gs->num_glyphs > 0) {
    s.glyph = gs->glyphs[0].glyph;
    s.x_offset = gs->glyphs[0].geometry.x_offset;
    s.y_offset = gs->glyphs[0].geometry.y_offset;
    s.missing = (s.glyph & PANGO_GLYPH_UNKNOWN_FLAG) != 0;
    for (int i = 0; i < gs->num_glyphs; ++i) s.width += gs->glyphs[i].geometry.width;
  }
  pango_glyph_string_free(gs);
  return s;
}

int px(int pango_units) {
  return PANGO_PIXELS(pango_units);
}

// Full-width characters stand in a column; Latin, digits and half-width kana
// lie turned. `vert` giving another glyph means the font has a vertical form.
bool stands_upright(const FaceFonts& ff, char32_t c, const Shaped& east, const Shaped& south,
                    double em_px) {
  gunichar u = static_cast<gunichar>(c);
  if (g_unichar_iswide(u)) return true;
  hb_codepoint_t nominal = 0;
  if (hb_font_get_nominal_glyph(pango_font_get_hb_font(ff.east), u, &nominal) &&
      nominal != east.glyph)
    return true;
  return g_unichar_iswide_cjk(u) && px(south.width) >= UPRIGHT_AMBIGUOUS_EM * em_px;
}

ShapedChar shape_in(Font& font, int face, char32_t c, bool* missing) {
  const FaceFonts& ff = font.faces[static_cast<std::size_t>(face)];
  Shaped south = shape_with(ff.south, PANGO_GRAVITY_SOUTH, c);
  ShapedChar out;
  out.face = face;
  Shaped use = south;
  if (font.vertical) {
    Shaped east = shape_with(ff.east, PANGO_GRAVITY_EAST, c);
    if (!east.missing && stands_upright(ff, c, east, south, font.em_px)) {
      out.upright = 1;
      use = east;
    }
  }
  *missing = use.missing;
  out.glyph = use.glyph;
  out.advance = px(use.width);
  out.x_offset = use.x_offset;
  out.y_offset = use.y_offset;
  return out;
}

}  // namespace

const ShapedChar& shape_char(Font& font, char32_t c) {
  if (c >= 0xD800 && c <= 0xDFFF) c = REPLACEMENT;
  auto it = font.shaped.find(c);
  if (it != font.shaped.end()) return it->second;
  bool missing = false;
  ShapedChar first = shape_in(font, 0, c, &missing);
  ShapedChar best = first;
  // Characters the main family lacks come from the fallbacks, in order;
  // when none has them the main family's missing-glyph box stays.
  for (std::size_t face = 1; missing; ++face) {
    if (face >= font.faces.size() && !load_next_fallback(font)) break;
    best = shape_in(font, static_cast<int>(face), c, &missing);
  }
  if (missing) best = first;
  return font.shaped.emplace(c, best).first->second;
}

int font_text_extent(Font* font, const char16_t* text, int count, int* along, int* across) {
  *along = *across = 0;
  if (!font) return 0;
  int sum = 0;
  for (int i = 0; i < count; ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    sum += shape_char(*font, c).advance;
  }
  *along = sum;
  *across = font->metrics.height;
  return 1;
}

}  // namespace yomite::platform
