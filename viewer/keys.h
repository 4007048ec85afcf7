// The keyboard: Win32-style virtual-key codes (what every backend turns its
// keys into) and what each key does.
//
//   Esc close        Space smooth scrolling on/off   digits: pixels per step
//   Page Up/Down     a page, or the page boundary in page mode (vertical)
//   Ctrl/Shift+Home  the start      Ctrl/Shift+End the end (of the last page)
//   Left / Right     forward / backward in vertical writing (with Shift+Ctrl:
//                    the automatic scroll);  Up / Down in horizontal writing
//   E F J M O P S W  editor, font, jump to mark, mark, open, page jump,
//                    settings, width      [ ] smaller / larger font   F5 reload
//   Menu key, Shift+F10   the context menu at the window's top-left corner
#pragma once

#include "view/view_context.h"

namespace yomite {

// Virtual-key codes. Letters and main-row digits are their upper-case ASCII.
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;  // Page Up
constexpr int VK_NEXT = 0x22;   // Page Down
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_APPS = 0x5D;     // the Menu key
constexpr int VK_NUMPAD0 = 0x60;  // .. VK_NUMPAD0 + 9
constexpr int VK_F5 = 0x74;
constexpr int VK_F10 = 0x79;
constexpr int VK_OEM_4 = 0xDB;  // the key that types '['
constexpr int VK_OEM_6 = 0xDD;  // the key that types ']'

// A key went down. Modifiers are read from platform::modifiers_down().
void on_key(ViewContext& view, int key);

// A key the system keeps for itself went down (F10 on Win32, where it is not
// an ordinary key). 1 when the viewer used it: Shift+F10 opens the menu.
int on_system_key(ViewContext& view, int key);

// A character was typed: a digit sets the pixels per smooth-scroll step
// (0 switches stepping off); it is not written to the settings.
void on_char(ViewContext& view, int character);

}  // namespace yomite
