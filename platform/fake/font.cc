#include "decode/utf16.h"
#include "platform/fake/fake_font.h"

namespace yomite {

namespace {

int g_live = 0;
bool g_swapped = false;

const std::vector<std::string> DEFAULT_FAMILIES = {"ＭＳ ゴシック", "ＭＳ 明朝", "ＭＳ Ｐゴシック"};

bool is_proportional(const std::string& face) {
  return face.find("Ｐ") != std::string::npos || face.find('P') != std::string::npos;
}

// Half-width: ASCII and half-width katakana; everything else is one full cell.
bool is_half_width(char16_t c) {
  return c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
}

}  // namespace

platform::Font* fake::new_font(const std::string& face, int height, int escapement) {
  ++g_live;
  return new platform::Font{face, height, escapement};
}

int fake::live_fonts() {
  return g_live;
}

std::vector<fake::FontRequest>& fake::font_requests() {
  static std::vector<FontRequest> requests;
  return requests;
}

int& fake::extent_calls() {
  static int calls = 0;
  return calls;
}

std::vector<std::string>& fake::failing_faces() {
  static std::vector<std::string> faces;
  return faces;
}

std::vector<std::string>& fake::installed_families() {
  static std::vector<std::string> families = DEFAULT_FAMILIES;
  return families;
}

void fake::set_swapped_extents(bool swapped) {
  g_swapped = swapped;
}

void fake::reset_fonts() {
  font_requests().clear();
  extent_calls() = 0;
  failing_faces().clear();
  installed_families() = DEFAULT_FAMILIES;
  g_swapped = false;
}

platform::Font* platform::font_create(const char* face, int height, int escapement) {
  fake::font_requests().push_back({face, height, escapement});
  for (const std::string& f : fake::failing_faces())
    if (f == face) return nullptr;
  return fake::new_font(face, height < 0 ? -height : height, escapement);
}

platform::Font* platform::font_create_bold(const char* face, int height, int escapement) {
  return font_create(face, height, escapement);
}

void platform::font_delete(Font* font) {
  if (!font) return;
  --g_live;
  delete font;
}

int platform::font_metrics(const Font* font, FontMetrics* m) {
  if (!font) return 0;
  int s = font->height;
  m->height = s;
  m->descent = s / 9;
  m->ascent = s - m->descent;
  m->max_char_width = s;
  m->fixed_pitch = is_proportional(font->face) ? 0 : 1;
  m->ave_char_width = m->fixed_pitch ? s / 2 : s * 4 / 9;
  return 1;
}

int platform::font_text_extent(Font* font, const char16_t* text, int count, int* along,
                               int* across) {
  ++fake::extent_calls();
  *along = *across = 0;
  if (!font) return 0;
  int s = font->height;
  int sum = 0;
  for (int i = 0; i < count; ++i) {
    if (is_high_surrogate(text[i]) && i + 1 < count && is_low_surrogate(text[i + 1])) ++i;
    sum += is_half_width(text[i]) ? s / 2 : s;
  }
  *along = g_swapped ? s : sum;
  *across = g_swapped ? sum : s;
  return 1;
}

int platform::font_family_installed(const char* family) {
  std::string name = family[0] == '@' ? family + 1 : family;
  for (const std::string& f : fake::installed_families())
    if (f == name) return 1;
  return 0;
}

}  // namespace yomite
