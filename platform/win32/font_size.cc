#include "platform/win32/font_size.h"

namespace yomite::platform::win32 {

namespace {

constexpr int POINTS_PER_INCH = 72;

}  // namespace

int shown_points(int height, int dpi) {
  if (dpi <= 0) return 0;
  const long long px = height < 0 ? -1LL * height : height;
  return static_cast<int>((px * POINTS_PER_INCH * 2 + dpi) / (2LL * dpi));
}

int kept_height(int start_height, int chosen_tenths, int chosen_height, int dpi) {
  if (start_height < 0 && chosen_tenths > 0 &&
      chosen_tenths == 10 * shown_points(start_height, dpi))
    return start_height;
  return chosen_height;
}

}  // namespace yomite::platform::win32
