// The viewer's main window as the core sees it: an opaque handle.
#pragma once

namespace yomite::platform {

struct Window;

}  // namespace yomite::platform
