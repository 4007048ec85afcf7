// The viewer's main window as the core sees it: an opaque handle.
#pragma once

namespace yomite::platform {

struct Window;

// The window's inner (client) size in pixels; 0 x 0 for a null window.
void window_client_size(Window* window, int* width, int* height);

// Shows the wait cursor over the window while `busy` is 1 (long loads), the
// arrow again with 0. Nothing for a null window.
void window_set_busy(Window* window, int busy);

}  // namespace yomite::platform
