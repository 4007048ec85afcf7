// Fonts as the core sees them: opaque handles made and measured by the backend.
//
// A face name is UTF-8; a leading "@" marks the vertical face, whose text runs
// down a column with full-width characters upright (in their vertical forms)
// and half-width characters turned 90 degrees clockwise.
#pragma once

namespace yomite::platform {

struct Font;  // a face at one cell height and escapement, owned by the caller

// Escapements the core uses, in tenths of a degree counter-clockwise.
constexpr int ESCAPEMENT_NONE = 0;
constexpr int ESCAPEMENT_DOWN = 2700;  // the baseline runs downward, glyph tops face right

// What the core reads of a font, in pixels.
struct FontMetrics {
  int height = 0;          // cell height: ascent + descent
  int ascent = 0;          // from the top of the cell to the baseline
  int descent = 0;         // from the baseline to the bottom of the cell
  int ave_char_width = 0;  // the font's average width (a half-width cell in CJK faces)
  int max_char_width = 0;  // the widest advance of the font
  int fixed_pitch = 0;     // 1 when every advance is a multiple of one cell width
};

// Makes a font of `face`. A positive `height` is the cell height in pixels
// (ascent + descent exactly), a negative one the character (em) height.
// `escapement` is ESCAPEMENT_NONE or ESCAPEMENT_DOWN. A face that is not
// installed gets a stand-in. Null when no font at all can be made.
Font* font_create(const char* face, int height, int escapement);

// The same face drawn bold (synthesised where the face has no bold form), with
// the same metrics. Used by the full notation's headings.
Font* font_create_bold(const char* face, int height, int escapement);

// Releases a font; null is ignored.
void font_delete(Font* font);

// Fills `metrics`; 1, or 0 for a null font (then `metrics` is untouched).
int font_metrics(const Font* font, FontMetrics* metrics);

// Extent of `count` UTF-16 units: `along` is the advance along the text
// direction (down the column for a vertical face), `across` the cell height.
// A surrogate pair is one character; a lone surrogate measures as a missing
// glyph. 1, or 0 for a null font (both set to 0).
int font_text_extent(Font* font, const char16_t* text, int count, int* along, int* across);

// 1 when a font family of that name (UTF-8, a leading "@" ignored) is
// installed under that name or one of its localized names; a substitute the
// system would pick instead never counts.
int font_family_installed(const char* family);

}  // namespace yomite::platform
