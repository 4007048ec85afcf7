// The viewer's main window as the core sees it: an opaque handle.
#pragma once

namespace yomite::platform {

struct Window;

// The window's inner (client) size in pixels; 0 x 0 for a null window.
void window_client_size(Window* window, int* width, int* height);

}  // namespace yomite::platform
