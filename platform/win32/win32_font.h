// The Win32 backend's font record, shared by the measuring code and the
// canvas that draws with it.
#pragma once

#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/win32/windows_api.h"

namespace yomite::platform {

struct Font {
  HFONT handle = nullptr;
  std::string face;         // as asked, with its "@"
  std::wstring drawn_face;  // what GDI was given: the face or its stand-in
  int escapement = 0;
  FontMetrics metrics;
  // px GDI sets the baseline lower than metrics.ascent (a stand-in made at
  // its typographic em): the canvas moves the text back by it.
  int ascent_drop = 0;
  // A stand-in is measured as the Linux build measures it: each character's
  // advance in font units (from `design`, the face at its units per em),
  // scaled by design_scale and rounded, where GDI would give its hinted
  // advance (10 px for a full-width character at an em of 9).
  HFONT design = nullptr;
  double design_scale = 0;
};

// The advance of each unit of a run as the core measures it: what GDI sets
// without a transform, or a stand-in's rounded advances (a surrogate pair
// advances whole on its first unit).
std::vector<int> font_unit_advances(Font* font, const char16_t* text, int count);

// Deletes the font's GDI font (deselected from the measuring context first).
void font_delete_handle(Font* font);

// A device context for measuring (a memory context on the screen), with
// `font` selected.
HDC measuring_dc(Font* font);

}  // namespace yomite::platform
