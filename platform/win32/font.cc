// Fonts from a face, a height and an escapement, through CreateFontIndirectW;
// metrics from GetTextMetricsW, extents from GetTextExtentPoint32W.
#include <cmath>
#include <cstdint>
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

// The numbers of a face's tables the cell is made of, in font units.
struct FaceTables {
  int upem = 0;
  int typo_ascender = 0;
  int typo_descender = 0;  // negative below the baseline
  int avg_char_width = 0;
};

constexpr DWORD table_tag(char a, char b, char c, char d) {
  return static_cast<DWORD>(static_cast<unsigned char>(a)) |
         static_cast<DWORD>(static_cast<unsigned char>(b)) << 8 |
         static_cast<DWORD>(static_cast<unsigned char>(c)) << 16 |
         static_cast<DWORD>(static_cast<unsigned char>(d)) << 24;
}

int read_be16(const unsigned char* p) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>((p[0] << 8) | p[1]));
}

// The tables of the font selected in `dc`; false when it has none to read.
bool read_tables(HDC dc, FaceTables* t) {
  unsigned char os2[72], head[20];
  if (GetFontData(dc, table_tag('O', 'S', '/', '2'), 0, os2, sizeof os2) != sizeof os2 ||
      GetFontData(dc, table_tag('h', 'e', 'a', 'd'), 0, head, sizeof head) != sizeof head)
    return false;
  t->upem = (head[18] << 8) | head[19];
  t->avg_char_width = read_be16(os2 + 2);
  t->typo_ascender = read_be16(os2 + 68);
  t->typo_descender = read_be16(os2 + 70);
  return t->upem > 0 && t->typo_ascender - t->typo_descender > 0;
}

LOGFONTW describe(const std::wstring& drawn, int height, int escapement, int bold) {
  LOGFONTW lf{};
  lf.lfHeight = height;  // positive: the cell height; negative: the character height
  lf.lfEscapement = escapement;
  lf.lfOrientation = escapement;
  lf.lfWeight = bold ? FW_BOLD : FW_DONTCARE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = PROOF_QUALITY_VALUE;
  drawn.copy(lf.lfFaceName, LF_FACESIZE - 1);
  return lf;
}

// A stand-in asked for by its cell height is made at the em the face it
// stands in for has at that height, which is also what the Linux build
// makes it at: the cell is the typographic ascender to descender, where GDI
// would take the taller Windows ascent and descent (IPAGothic would be drawn
// at an em of 16.7 px in an 18 px cell, its glyphs two pixels short of the
// Linux build's). Its metrics are then the face's as the Linux build reads
// them. False when the font's tables cannot be read (it stays as GDI made it).
bool remake_at_typographic_em(Font* f, LOGFONTW lf, int height) {
  FaceTables t;
  if (!read_tables(measuring_dc(f), &t)) return false;
  const double em = static_cast<double>(height) * t.upem / (t.typo_ascender - t.typo_descender);
  lf.lfHeight = -static_cast<LONG>(std::lround(em));
  HFONT handle = CreateFontIndirectW(&lf);
  if (!handle) return false;
  font_delete_handle(f);
  f->handle = handle;
  TEXTMETRICW tm;
  if (!GetTextMetricsW(measuring_dc(f), &tm)) return false;
  lf.lfHeight = -t.upem;
  f->design = CreateFontIndirectW(&lf);
  f->design_scale = em / t.upem;
  FontMetrics& m = f->metrics;
  m.height = height;
  m.ascent = static_cast<int>(std::lround(static_cast<double>(height) * t.typo_ascender /
                                          (t.typo_ascender - t.typo_descender)));
  m.descent = height - m.ascent;
  m.ave_char_width = static_cast<int>(std::lround(t.avg_char_width * em / t.upem));
  f->ascent_drop = tm.tmAscent - m.ascent;
  return true;
}

Font* create(const char* face, int height, int escapement, int bold) {
  if (!face) return nullptr;
  const bool vertical = face[0] == '@';
  const DrawingFamily family = drawing_family_for(face + (vertical ? 1 : 0));
  const std::wstring drawn = win32::widen((vertical ? "@" : "") + family.name);
  if (drawn.size() >= LF_FACESIZE) return nullptr;
  const LOGFONTW lf = describe(drawn, height, escapement, bold);
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
    if (family.stand_in && height > 0) remake_at_typographic_em(f, lf, height);
    // A stand-in gives the width of its glyphs' bounding box (25 px at 18
    // for IPAGothic) where the face it stands in for, and the Linux build,
    // give the widest advance: a full-width cell, measured instead.
    const int cell = family.stand_in ? font_unit_advances(f, u"国", 1)[0] : 0;
    if (cell > 0) f->metrics.max_char_width = cell;
  }
  return f;
}

}  // namespace

void font_delete_handle(Font* font) {
  // A font selected in a context cannot be deleted: the measuring one lets go.
  if (g_selected == font) {
    SelectObject(measuring(), GetStockObject(SYSTEM_FONT));
    g_selected = nullptr;
  }
  DeleteObject(font->handle);
  font->handle = nullptr;
}

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
  font_delete_handle(font);
  if (font->design) DeleteObject(font->design);
  delete font;
}

int font_metrics(const Font* font, FontMetrics* metrics) {
  if (!font) return 0;
  *metrics = font->metrics;
  return 1;
}

std::vector<int> font_unit_advances(Font* font, const char16_t* text, int count) {
  std::vector<INT> ends(static_cast<std::size_t>(count), 0);
  SIZE size{0, 0};
  HDC dc = measuring_dc(font);
  if (font->design) SelectObject(dc, font->design);
  GetTextExtentExPointW(dc, reinterpret_cast<const wchar_t*>(text), count, 0, nullptr, ends.data(),
                        &size);
  if (font->design) SelectObject(dc, font->handle);
  std::vector<int> out(static_cast<std::size_t>(count), 0);
  for (int i = 0, before = 0; i < count; ++i) {
    const bool pair =
        i + 1 < count && (text[i] & 0xFC00) == 0xD800 && (text[i + 1] & 0xFC00) == 0xDC00;
    const int end = ends[static_cast<std::size_t>(pair ? i + 1 : i)];
    const int units = end - before;
    out[static_cast<std::size_t>(i)] =
        font->design ? static_cast<int>(std::lround(units * font->design_scale)) : units;
    before = end;
    if (pair) ++i;
  }
  return out;
}

int font_text_extent(Font* font, const char16_t* text, int count, int* along, int* across) {
  *along = *across = 0;
  if (!font) return 0;
  if (font->design) {
    if (count > 0)
      for (int a : font_unit_advances(font, text, count)) *along += a;
    *across = font->metrics.height;
    return 1;
  }
  SIZE size{0, 0};
  if (count > 0)
    GetTextExtentPoint32W(measuring_dc(font), reinterpret_cast<const wchar_t*>(text), count, &size);
  *along = size.cx;
  *across = count > 0 ? size.cy : font->metrics.height;
  return 1;
}

}  // namespace yomite::platform
