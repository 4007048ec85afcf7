// A window that exists only as a size, for laying out and rendering pages
// without a display. It has no frame, caption or edges; only the scroll bar's
// thickness is counted, as a shown window would give it.
#pragma once

#include "platform/window.h"
#include "view/limits.h"

namespace yomite::platform {

// Thickness of the scroll bar a shown window would reserve, in pixels.
constexpr int HEADLESS_SCROLL_BAR = 16;
// Client height of a screen-filling window (a 1920 x 1080 screen less a panel).
constexpr int HEADLESS_SCREEN_CLIENT_HEIGHT = 1040;
// Without a display the "screen" is the largest page yomite-render draws.
constexpr int HEADLESS_SCREEN_SIZE = RENDER_PAGE_MAX_PX;
// Outer size a new viewer window starts with.
constexpr int HEADLESS_INITIAL_SIZE = 300;

// A window of HEADLESS_INITIAL_SIZE square whose size follows what the open
// step asks for. With `fixed_width` and `fixed_height` above 0 its client
// size is that and stays that (sizing requests are ignored).
Window* headless_window_create(int fixed_width, int fixed_height);
void headless_window_destroy(Window* window);

}  // namespace yomite::platform
