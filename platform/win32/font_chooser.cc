// Choosing the font with the common font dialog: screen fonts, TrueType
// only, the face required to exist. Windows lists every vertical "@" form
// beside its family. A platform face that is not installed is offered as
// the family standing in for it, and comes back under its own name when the
// user keeps it; so does the height when the user keeps the size shown.
#include "platform/choosers.h"
#include "platform/win32/font_faces.h"
#include "platform/win32/font_size.h"
#include "platform/win32/late_library.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_window.h"

namespace yomite::platform {

int choose_font(Window* owner, FontDescription& font) {
  const bool vertical = !font.face.empty() && font.face[0] == '@';
  const std::string face = vertical ? font.face.substr(1) : font.face;
  const std::string shown = (vertical ? "@" : "") + installed_family_for(face);
  LOGFONTW lf{};
  lf.lfHeight = font.height;
  lf.lfCharSet = static_cast<BYTE>(font.charset);
  lf.lfQuality = static_cast<BYTE>(font.quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(font.pitch_and_family);
  win32::widen(shown).copy(lf.lfFaceName, LF_FACESIZE - 1);
  CHOOSEFONTW c{};
  c.lStructSize = sizeof c;
  c.hwndOwner = owner_hwnd(owner);
  c.lpLogFont = &lf;
  c.Flags = CF_SCREENFONTS | CF_TTONLY | CF_INITTOLOGFONTSTRUCT | CF_FORCEFONTEXIST;
  static const auto choose =
      win32::late_function<decltype(&ChooseFontW)>(L"comdlg32.dll", "ChooseFontW");
  if (!choose || !choose(&c)) return 0;
  const std::string chosen = win32::narrow(lf.lfFaceName);
  font.face = chosen == shown ? font.face : chosen;
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  font.height = win32::kept_height(font.height, c.iPointSize, lf.lfHeight, dpi);
  font.charset = lf.lfCharSet;
  return 1;
}

}  // namespace yomite::platform
