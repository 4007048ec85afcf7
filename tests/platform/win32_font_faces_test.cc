// Which family draws a face under Wine's fonts: a platform face that is not
// installed is drawn by a stand-in, by the name it was asked by, and that
// name gives GDI the same font as the name the system lists it under.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "platform/win32/font_faces.h"
#include "platform/win32/wide.h"

namespace yomite::platform {
namespace {

constexpr const char* GOTHIC = "ＭＳ ゴシック";

// The font GDI made from `face`: its file's head table (checksum and dates
// tell font files apart; the face name GetTextFace gives is the one asked
// by) and its metrics.
std::string made_font(const std::string& face, TEXTMETRICW* tm) {
  LOGFONTW lf{};
  lf.lfHeight = -18;
  lf.lfCharSet = DEFAULT_CHARSET;
  win32::widen(face).copy(lf.lfFaceName, LF_FACESIZE - 1);
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(dc, font);
  std::string head(54, '\0');
  const DWORD tag = 'h' | 'e' << 8 | 'a' << 16 | 'd' << 24;
  if (GetFontData(dc, tag, 0, head.data(), static_cast<DWORD>(head.size())) != head.size())
    head.clear();
  GetTextMetricsW(dc, tm);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  return head;
}

TEST(Win32FontFaces, AMissingPlatformFaceIsDrawnByTheSameFontAsItsListedStandIn) {
  if (family_enumerated(GOTHIC)) GTEST_SKIP() << GOTHIC << " is installed: nothing stands in";
  const DrawingFamily drawn = drawing_family_for(GOTHIC);
  if (drawn.name == GOTHIC) GTEST_SKIP() << "no stand-in font is installed";
  EXPECT_TRUE(drawn.stand_in);
  EXPECT_TRUE(family_enumerated(drawn.name));
  // The font dialog's name for it, found in the whole list.
  const std::string listed = installed_family_for(GOTHIC);
  TEXTMETRICW by_drawn{}, by_listed{};
  const std::string font = made_font(drawn.name, &by_drawn);
  ASSERT_FALSE(font.empty());
  EXPECT_EQ(font, made_font(listed, &by_listed));
  EXPECT_EQ(by_drawn.tmHeight, by_listed.tmHeight);
  EXPECT_EQ(by_drawn.tmAveCharWidth, by_listed.tmAveCharWidth);
  EXPECT_EQ(by_drawn.tmMaxCharWidth, by_listed.tmMaxCharWidth);
}

TEST(Win32FontFaces, AnInstalledFaceStandsForItself) {
  const DrawingFamily stand_in = drawing_family_for(GOTHIC);
  if (!family_enumerated(stand_in.name)) GTEST_SKIP() << "no Japanese font is installed";
  // Asked by the name it was found under, the family draws itself unless
  // the system lists it under another one.
  const DrawingFamily itself = drawing_family_for(stand_in.name);
  EXPECT_EQ(itself.stand_in, installed_family_for(stand_in.name) != stand_in.name);
  EXPECT_EQ(itself.name, installed_family_for(stand_in.name));
  const DrawingFamily missing = drawing_family_for("No Such Family Anywhere");
  EXPECT_TRUE(missing.stand_in) << "the Gothic stand-ins draw an unknown face";
}

}  // namespace
}  // namespace yomite::platform
