// The Windows font chooser's sizes: whole points as the dialog shows them, and
// a character height that survives the dialog when the user keeps the size.
#include "platform/win32/font_size.h"

#include <gtest/gtest.h>

namespace yomite::platform::win32 {
namespace {

constexpr int DPI = 96;

TEST(Win32FontSize, ShownPointsRoundHalfUp) {
  EXPECT_EQ(shown_points(-20, DPI), 15);  // exactly 15 pt
  EXPECT_EQ(shown_points(-18, DPI), 14);  // 13.5 pt
  EXPECT_EQ(shown_points(-15, DPI), 11);  // 11.25 pt
  EXPECT_EQ(shown_points(18, DPI), 14);   // a cell height counts the same
  EXPECT_EQ(shown_points(-18, 120), 11);  // 10.8 pt on a 120 dpi screen
  EXPECT_EQ(shown_points(-18, 0), 0);
}

TEST(Win32FontSize, AKeptSizeKeepsTheHeightAndAChangedOneTakesTheDialogs) {
  // 18 px shows as 14 pt; the dialog would hand back 19 px for 14 pt.
  EXPECT_EQ(kept_height(-18, 140, -19, DPI), -18);
  // Another size, larger or smaller by one point, is the dialog's.
  EXPECT_EQ(kept_height(-18, 130, -17, DPI), -17);
  EXPECT_EQ(kept_height(-18, 150, -20, DPI), -20);
  // A whole number of points comes back as it went.
  EXPECT_EQ(kept_height(-20, 150, -20, DPI), -20);
  // No size from the dialog, or a cell height: the dialog's height stands.
  EXPECT_EQ(kept_height(-18, 0, -19, DPI), -19);
  EXPECT_EQ(kept_height(18, 140, -19, DPI), -19);
}

}  // namespace
}  // namespace yomite::platform::win32
