// The keyboard: the core's key codes (what every shell turns its keys into)
// and what each key does. Keys that run a numbered command are bound in the
// command table (viewer/command_table.cc); the keys that move are here.
//
//   Esc close        Space smooth scrolling on/off   digits: pixels per step
//   Page Up/Down     a page, or the page boundary in page mode (vertical)
//   Ctrl/Shift+Home  the start      Ctrl/Shift+End the end (of the last page)
//   Left / Right     forward / backward in vertical writing (with Shift+Ctrl:
//                    the automatic scroll);  Up / Down in horizontal writing
//   E F J M O P S W  editor, font, jump to mark, mark, open, page jump,
//                    settings, width      [ ] smaller / larger font   F5 reload
//   Menu key, Shift+F10   the context menu at the window's top-left corner
//   Extensions: / find, F3 / Shift+F3 next / previous match, B bookmark
//   F11              full screen on/off (an extension)
#pragma once

#include "view/view_context.h"

namespace yomite {

// Key codes. Letters and main-row digits are their upper-case ASCII; the
// others keep the values of the keys' virtual-key codes on Windows.
constexpr int KEY_SHIFT = 0x10;
constexpr int KEY_CTRL = 0x11;
constexpr int KEY_ESCAPE = 0x1B;
constexpr int KEY_SPACE = 0x20;
constexpr int KEY_PAGE_UP = 0x21;
constexpr int KEY_PAGE_DOWN = 0x22;
constexpr int KEY_END = 0x23;
constexpr int KEY_HOME = 0x24;
constexpr int KEY_LEFT = 0x25;
constexpr int KEY_UP = 0x26;
constexpr int KEY_RIGHT = 0x27;
constexpr int KEY_DOWN = 0x28;
constexpr int KEY_MENU = 0x5D;     // the Menu key
constexpr int KEY_NUMPAD0 = 0x60;  // .. KEY_NUMPAD0 + 9
constexpr int KEY_F1 = 0x70;       // .. KEY_F1 + 11: F1 .. F12
constexpr int KEY_F5 = KEY_F1 + 4;
constexpr int KEY_F10 = KEY_F1 + 9;
constexpr int KEY_SLASH = 0xBF;  // the key that types '/'
constexpr int KEY_F11 = KEY_F1 + 10;
constexpr int KEY_OPEN_BRACKET = 0xDB;   // the key that types '['
constexpr int KEY_CLOSE_BRACKET = 0xDD;  // the key that types ']'

// A key went down. Modifiers are read from platform::modifiers_down().
void on_key(ViewContext& view, int key);

// A key the system keeps for itself went down (F10 on Win32, where it is not
// an ordinary key). 1 when the viewer used it: Shift+F10 opens the menu.
int on_system_key(ViewContext& view, int key);

// A character was typed: a digit sets the pixels per smooth-scroll step
// (0 switches stepping off); it is not written to the settings.
void on_char(ViewContext& view, int character);

}  // namespace yomite
