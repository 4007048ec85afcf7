// Fonts from a face, a height and an escapement, with metrics read from the
// font's own OS/2 and hhea tables so that a cell height S is exactly S pixels.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <hb.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-font.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>

#include "platform/cairo/cairo_font.h"

namespace yomite::platform {

namespace {

// What a height of 0 (the face's default size) gives, px.
constexpr int DEFAULT_CELL_HEIGHT = 16;

// The numbers of a family's tables, in font units.
struct FaceTables {
  int upem = 1000;
  int typo_ascender = 880;
  int typo_descender = -120;  // negative below the baseline
  int avg_char_width = 500;   // OS/2 xAvgCharWidth
  int advance_max = 1000;     // widest advance of a character the font maps
};

int read_be16(const char* p) {
  return static_cast<std::int16_t>((static_cast<unsigned char>(p[0]) << 8) |
                                   static_cast<unsigned char>(p[1]));
}

// `offset` of a table as a signed 16-bit number, or `fallback` when short.
int table_i16(hb_face_t* face, hb_tag_t tag, unsigned offset, int fallback) {
  hb_blob_t* blob = hb_face_reference_table(face, tag);
  unsigned length = 0;
  const char* data = hb_blob_get_data(blob, &length);
  int value = (data && length >= offset + 2) ? read_be16(data + offset) : fallback;
  hb_blob_destroy(blob);
  return value;
}

// The widest advance of any character the face maps. hhea's advanceWidthMax
// also counts unmapped glyphs (IPAMincho has one of 2138 units in a 2048-unit
// em), which no text can show. Remembered per face.
int widest_mapped_advance(hb_face_t* face) {
  static std::map<hb_face_t*, int> known;
  auto it = known.find(face);
  if (it != known.end()) return it->second;
  hb_font_t* font = hb_font_create(face);  // scaled in font units
  hb_set_t* chars = hb_set_create();
  hb_face_collect_unicodes(face, chars);
  int widest = 0;
  for (hb_codepoint_t c = HB_SET_VALUE_INVALID; hb_set_next(chars, &c);) {
    hb_codepoint_t glyph = 0;
    if (!hb_font_get_nominal_glyph(font, c, &glyph)) continue;
    int advance = hb_font_get_glyph_h_advance(font, glyph);
    if (advance > widest) widest = advance;
  }
  hb_set_destroy(chars);
  hb_font_destroy(font);
  hb_face_reference(face);  // kept alive as the key
  known.emplace(face, widest);
  return widest;
}

FaceTables read_tables(PangoFont* font) {
  FaceTables t;
  hb_face_t* face = hb_font_get_face(pango_font_get_hb_font(font));
  const hb_tag_t os2 = HB_TAG('O', 'S', '/', '2'), hhea = HB_TAG('h', 'h', 'e', 'a');
  t.upem = static_cast<int>(hb_face_get_upem(face));
  t.avg_char_width = table_i16(face, os2, 2, t.upem / 2);
  t.typo_ascender = table_i16(face, os2, 68, t.upem * 88 / 100);
  t.typo_descender = table_i16(face, os2, 70, -(t.upem * 12 / 100));
  t.advance_max = widest_mapped_advance(face);
  if (t.advance_max <= 0)
    t.advance_max = static_cast<std::uint16_t>(table_i16(face, hhea, 10, t.upem));
  if (t.typo_ascender - t.typo_descender <= 0) {
    t.typo_ascender = t.upem * 88 / 100;
    t.typo_descender = -(t.upem * 12 / 100);
  }
  return t;
}

PangoFont* load(const std::string& family, double em_px, PangoGravity gravity, int bold) {
  PangoFontDescription* d = pango_font_description_new();
  if (bold) pango_font_description_set_weight(d, PANGO_WEIGHT_BOLD);
  pango_font_description_set_family(d, family.c_str());
  pango_font_description_set_absolute_size(d, em_px * PANGO_SCALE);
  pango_font_description_set_gravity(d, gravity);
  PangoContext* ctx = cairo_pango_context();
  PangoFont* font = pango_font_map_load_font(pango_context_get_font_map(ctx), ctx, d);
  pango_font_description_free(d);
  return font;
}

// fontconfig may answer a family with another; only the family asked counts.
// A font has a name per language ("IPAGothic", "IPAゴシック") and Pango
// describes it by the one of the user's locale, so every name is compared.
bool is_family(PangoFont* font, const std::string& family) {
  if (!PANGO_IS_FC_FONT(font)) return false;
  FcPattern* pattern = pango_fc_font_get_pattern(PANGO_FC_FONT(font));
  FcChar8* name = nullptr;
  for (int n = 0; FcPatternGetString(pattern, FC_FAMILY, n, &name) == FcResultMatch; ++n)
    if (g_ascii_strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) return true;
  return false;
}

// Em size in px for a requested height: a positive height is the cell
// (typo ascender - descender), a negative one the em itself.
double em_for(const FaceTables& t, int height) {
  if (height < 0) return -height;
  return static_cast<double>(height) * t.upem / (t.typo_ascender - t.typo_descender);
}

int scaled(int units, const FaceTables& t, double em_px) {
  return static_cast<int>(std::lround(units * em_px / t.upem));
}

// Loads `family` (SOUTH, and EAST for a vertical face) at the size for
// `height`; em_px is set when it is the main family.
bool load_face(Font& f, const std::string& family, int height, FaceTables* tables) {
  PangoFont* probe =
      load(family, height < 0 ? -height : (height ? height : 1), PANGO_GRAVITY_SOUTH, f.bold);
  if (!probe) return false;
  if (!is_family(probe, family)) {
    g_object_unref(probe);
    return false;
  }
  FaceTables t = read_tables(probe);
  g_object_unref(probe);
  double em = em_for(t, height);
  FaceFonts ff{family, load(family, em, PANGO_GRAVITY_SOUTH, f.bold), nullptr};
  if (f.vertical) ff.east = load(family, em, PANGO_GRAVITY_EAST, f.bold);
  if (!ff.south || (f.vertical && !ff.east)) {
    if (ff.south) g_object_unref(ff.south);
    if (ff.east) g_object_unref(ff.east);
    return false;
  }
  f.faces.push_back(ff);
  if (tables) {
    *tables = t;
    f.em_px = em;
  }
  return true;
}

void fill_metrics(Font& f, const FaceTables& t) {
  FontMetrics& m = f.metrics;
  const double cell = f.em_px * (t.typo_ascender - t.typo_descender) / t.upem;
  m.height = static_cast<int>(std::lround(cell));
  m.ascent = static_cast<int>(std::lround(m.height * static_cast<double>(t.typo_ascender) /
                                          (t.typo_ascender - t.typo_descender)));
  m.descent = m.height - m.ascent;
  m.ave_char_width = scaled(t.avg_char_width, t, f.em_px);
  m.max_char_width = scaled(t.advance_max, t, f.em_px);
  m.fixed_pitch = family_fixed_pitch(f.faces[0].family);
}

}  // namespace

const cairo_font_options_t* cairo_text_options() {
  static cairo_font_options_t* options = [] {
    cairo_font_options_t* o = cairo_font_options_create();
    cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
    // Outlines unhinted: the auto-hinter nearly tripled the cost of drawing a
    // glyph the first time (a page of new kanji took 17 ms, now 6), for strokes
    // that at these sizes look the same. Metrics stay hinted, so advances are
    // whole pixels either way.
    cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_ON);
    return o;
  }();
  return options;
}

PangoContext* cairo_pango_context() {
  // Pango's default Cairo font map is per thread, so is this context.
  static thread_local PangoContext* ctx = [] {
    PangoContext* c = pango_font_map_create_context(pango_cairo_font_map_get_default());
    pango_cairo_context_set_font_options(c, cairo_text_options());
    pango_context_set_language(c, pango_language_from_string("ja"));
    return c;
  }();
  return ctx;
}

namespace {

Font* create(const char* face, int height, int escapement, int bold) {
  if (!face) return nullptr;
  if (height == 0) height = DEFAULT_CELL_HEIGHT;
  auto* f = new Font();
  f->bold = bold;
  f->face = face;
  f->vertical = face[0] == '@' ? 1 : 0;
  f->escapement = escapement;
  std::vector<std::string> families = stand_in_families(face + f->vertical);
  FaceTables tables;
  std::size_t i = 0;
  while (i < families.size() && !load_face(*f, families[i], height, &tables)) ++i;
  if (f->faces.empty()) {
    delete f;
    return nullptr;
  }
  f->fallback_names.assign(families.begin() + static_cast<long>(i) + 1, families.end());
  fill_metrics(*f, tables);
  return f;
}

}  // namespace

Font* font_create(const char* face, int height, int escapement) {
  return create(face, height, escapement, 0);
}

Font* font_create_bold(const char* face, int height, int escapement) {
  return create(face, height, escapement, 1);
}

void font_delete(Font* font) {
  if (!font) return;
  for (FaceFonts& ff : font->faces) {
    if (ff.south) g_object_unref(ff.south);
    if (ff.east) g_object_unref(ff.east);
  }
  delete font;
}

int font_metrics(const Font* font, FontMetrics* metrics) {
  if (!font) return 0;
  *metrics = font->metrics;
  return 1;
}

// Fallbacks are loaded at the main family's cell height, so their baselines agree.
bool load_next_fallback(Font& font) {
  while (!font.fallback_names.empty()) {
    std::string family = font.fallback_names.front();
    font.fallback_names.erase(font.fallback_names.begin());
    if (load_face(font, family, font.metrics.height, nullptr)) return true;
  }
  return false;
}

}  // namespace yomite::platform
