#include "platform/gtk/scroll_codes.h"

#include <cmath>

#include "viewer/scrolling.h"

namespace yomite::platform {

int scroll_request_code(GtkScrollType type) {
  switch (type) {
    // Backward is up on a vertical bar and left on a horizontal one.
    case GTK_SCROLL_STEP_BACKWARD:
    case GTK_SCROLL_STEP_UP:
    case GTK_SCROLL_STEP_LEFT:
      return BAR_LINE_UP;
    case GTK_SCROLL_STEP_FORWARD:
    case GTK_SCROLL_STEP_DOWN:
    case GTK_SCROLL_STEP_RIGHT:
      return BAR_LINE_DOWN;
    case GTK_SCROLL_PAGE_BACKWARD:
    case GTK_SCROLL_PAGE_UP:
    case GTK_SCROLL_PAGE_LEFT:
      return BAR_PAGE_UP;
    case GTK_SCROLL_PAGE_FORWARD:
    case GTK_SCROLL_PAGE_DOWN:
    case GTK_SCROLL_PAGE_RIGHT:
      return BAR_PAGE_DOWN;
    case GTK_SCROLL_JUMP:
      return BAR_THUMB_TRACK;
    case GTK_SCROLL_START:
      return BAR_TOP;
    case GTK_SCROLL_END:
      return BAR_BOTTOM;
    default:
      return -1;
  }
}

int scroll_position_of(double value) {
  if (!(value > 0)) return 0;  // NaN too
  if (value > SCROLL_RANGE) return SCROLL_RANGE;
  return static_cast<int>(std::lround(value));
}

}  // namespace yomite::platform
