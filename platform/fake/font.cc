#include "platform/fake/fake_font.h"

namespace yomite {

namespace {
int g_live = 0;
}  // namespace

platform::Font* fake::new_font(const std::string& face, int height, int escapement) {
  ++g_live;
  return new platform::Font{face, height, escapement};
}

int fake::live_fonts() {
  return g_live;
}

void platform::font_delete(Font* font) {
  if (!font) return;
  --g_live;
  delete font;
}

}  // namespace yomite
