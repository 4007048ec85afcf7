// Fonts from a face, a height and an escapement, through CreateFontIndirectW;
// metrics from GetTextMetricsW, extents from GetTextExtentPoint32W.
#include <string>

#include "platform/win32/font_faces.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_font.h"

namespace yomite::platform {

namespace {

constexpr BYTE PROOF_QUALITY_VALUE = PROOF_QUALITY;

// One memory context on the screen measures every font; the font selected in
// it is remembered, so a run of measurements selects it once.
HDC g_measuring = nullptr;
Font* g_selected = nullptr;

HDC measuring() {
  if (!g_measuring) g_measuring = CreateCompatibleDC(nullptr);
  return g_measuring;
}

Font* create(const char* face, int height, int escapement, int bold) {
  if (!face) return nullptr;
  const bool vertical = face[0] == '@';
  const std::string family = installed_family_for(face + (vertical ? 1 : 0));
  const std::wstring drawn = win32::widen((vertical ? "@" : "") + family);
  if (drawn.size() >= LF_FACESIZE) return nullptr;
  LOGFONTW lf{};
  lf.lfHeight = height;  // positive: the cell height; negative: the character height
  lf.lfEscapement = escapement;
  lf.lfOrientation = escapement;
  lf.lfWeight = bold ? FW_BOLD : FW_DONTCARE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = PROOF_QUALITY_VALUE;
  drawn.copy(lf.lfFaceName, LF_FACESIZE - 1);
  HFONT handle = CreateFontIndirectW(&lf);
  if (!handle) return nullptr;
  auto* f = new Font();
  f->handle = handle;
  f->face = face;
  f->drawn_face = drawn;
  f->escapement = escapement;
  TEXTMETRICW tm;
  if (GetTextMetricsW(measuring_dc(f), &tm)) {
    f->metrics.height = tm.tmHeight;
    f->metrics.ascent = tm.tmAscent;
    f->metrics.descent = tm.tmDescent;
    f->metrics.ave_char_width = tm.tmAveCharWidth;
    f->metrics.max_char_width = tm.tmMaxCharWidth;
    // The bit is set for variable-pitch fonts, despite its name.
    f->metrics.fixed_pitch = (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) ? 0 : 1;
    // A stand-in gives the width of its glyphs' bounding box (25 px at 18
    // for IPAGothic) where the face it stands in for, and the Linux build,
    // give the widest advance: a full-width cell, measured instead.
    SIZE cell;
    if (family != face + (vertical ? 1 : 0) &&
        GetTextExtentPoint32W(measuring_dc(f), L"国", 1, &cell) && cell.cx > 0)
      f->metrics.max_char_width = cell.cx;
  }
  return f;
}

}  // namespace

HDC measuring_dc(Font* font) {
  HDC dc = measuring();
  if (font && font != g_selected) {
    SelectObject(dc, font->handle);
    g_selected = font;
  }
  return dc;
}

Font* font_create(const char* face, int height, int escapement) {
  return create(face, height, escapement, 0);
}

Font* font_create_bold(const char* face, int height, int escapement) {
  return create(face, height, escapement, 1);
}

void font_delete(Font* font) {
  if (!font) return;
  // A font selected in a context cannot be deleted: the measuring one lets go.
  if (g_selected == font) {
    SelectObject(measuring(), GetStockObject(SYSTEM_FONT));
    g_selected = nullptr;
  }
  DeleteObject(font->handle);
  delete font;
}

int font_metrics(const Font* font, FontMetrics* metrics) {
  if (!font) return 0;
  *metrics = font->metrics;
  return 1;
}

int font_text_extent(Font* font, const char16_t* text, int count, int* along, int* across) {
  *along = *across = 0;
  if (!font) return 0;
  SIZE size{0, 0};
  if (count > 0)
    GetTextExtentPoint32W(measuring_dc(font), reinterpret_cast<const wchar_t*>(text), count, &size);
  *along = size.cx;
  *across = count > 0 ? size.cy : font->metrics.height;
  return 1;
}

}  // namespace yomite::platform
