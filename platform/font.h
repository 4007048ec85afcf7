// Fonts as the core sees them: opaque handles made and measured by the backend.
#pragma once

namespace yomite::platform {

struct Font;  // a face at one cell height and escapement, owned by the caller

// Releases a font; null is ignored.
void font_delete(Font* font);

}  // namespace yomite::platform
