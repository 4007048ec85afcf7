// Choosing a colour (0x00BBGGRR, the COLORREF layout) with the common colour
// dialog; its 16 custom colours start empty on every call.
#include "platform/choosers.h"
#include "platform/win32/late_library.h"
#include "platform/win32/win32_window.h"

namespace yomite::platform {

long choose_color(Window* owner, std::uint32_t initial) {
  COLORREF custom[16] = {};
  CHOOSECOLORW c{};
  c.lStructSize = sizeof c;
  c.hwndOwner = owner_hwnd(owner);
  c.rgbResult = initial & 0xFFFFFF;
  c.lpCustColors = custom;
  c.Flags = CC_RGBINIT | CC_ANYCOLOR;
  static const auto choose =
      win32::late_function<decltype(&ChooseColorW)>(L"comdlg32.dll", "ChooseColorW");
  if (!choose || !choose(&c)) return -1;
  return static_cast<long>(c.rgbResult & 0xFFFFFF);
}

}  // namespace yomite::platform
