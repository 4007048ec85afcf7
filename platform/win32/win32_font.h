// The Win32 backend's font record, shared by the measuring code and the
// canvas that draws with it.
#pragma once

#include <string>

#include "platform/font.h"
#include "platform/win32/windows_api.h"

namespace yomite::platform {

struct Font {
  HFONT handle = nullptr;
  std::string face;  // as asked, with its "@"
  std::wstring drawn_face;  // what GDI was given: the face or its stand-in
  int escapement = 0;
  FontMetrics metrics;
};

// A device context for measuring (a memory context on the screen), with
// `font` selected.
HDC measuring_dc(Font* font);

}  // namespace yomite::platform
