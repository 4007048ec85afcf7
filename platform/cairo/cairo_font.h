// The Cairo backend's font record, shared by the measuring code here and the
// canvas that draws with it.
//
// A vertical ("@") face holds two Pango fonts per family: SOUTH (ordinary
// glyphs along a horizontal baseline) and EAST (the glyph matrix turned, vertical
// advances, the `vert` forms). A character of a vertical face is either
// upright (drawn from the EAST font, centred on the column's middle line) or
// turned (drawn from the SOUTH font on the baseline, so it lies turned 90
// degrees clockwise once the run is rotated into the column).
#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/font.h"

namespace yomite::platform {

// One family at the font's size: the main family first, then the fallbacks
// that supply characters it lacks.
struct FaceFonts {
  std::string family;
  PangoFont* south = nullptr;
  PangoFont* east = nullptr;  // vertical faces only
};

// One character shaped once and remembered.
struct ShapedChar {
  PangoGlyph glyph = PANGO_GLYPH_EMPTY;  // in faces[face].east when upright, else .south
  int face = 0;                          // index into Font::faces
  int upright = 0;                       // vertical faces: drawn with the EAST font
  int advance = 0;                       // px along the text direction
  int x_offset = 0;                      // Pango units, as shaped
  int y_offset = 0;
};

struct Font {
  std::string face;    // as asked, with its "@"
  int vertical = 0;    // the face began with "@"
  int escapement = 0;  // tenths of a degree
  int bold = 0;        // every family loaded at bold weight
  double em_px = 0;    // the size the Pango fonts were loaded at
  FontMetrics metrics;
  std::vector<FaceFonts> faces;             // [0] the main family; fallbacks as needed
  std::vector<std::string> fallback_names;  // families not loaded yet, in order
  std::unordered_map<char32_t, ShapedChar> shaped;
};

// The Pango context every font of the process is loaded and shaped in
// (cairo_text_options, language "ja").
// The font options every context of ours uses (grey antialiasing, unhinted
// outlines, hinted metrics): owned here, never freed.
const cairo_font_options_t* cairo_text_options();

PangoContext* cairo_pango_context();

// The shaped form of one code point (a lone surrogate shapes as U+FFFD).
const ShapedChar& shape_char(Font& font, char32_t c);

// Loads the next fallback family into `font.faces`; false when none is left.
bool load_next_fallback(Font& font);

// Installed families, compared without case and blanks. Also fixed pitch
// (fontconfig spacing mono or dual) of an installed family.
bool family_listed(const std::string& family);
int family_fixed_pitch(const std::string& family);
// Two names of one family: the same but for case and blanks, or two names of
// one installed font (its English and its Japanese name).
bool same_family(const std::string& a, const std::string& b);

// Families standing in for `face` (no "@"), in order of preference; the first
// installed one is the main family, the rest are fallbacks.
std::vector<std::string> stand_in_families(const std::string& face);

}  // namespace yomite::platform
