// <windows.h> (and the headers that need it first: the common controls and
// dialogs, the shell, the message crackers) for files that also include the
// core's headers: the macros it
// defines under names the core declares as constants (the keyboard's
// virtual-key codes, the modifier bits of hot keys, two scroll requests) are
// taken back, so that
// either header may come first. The values stay the same: the core's key
// codes are the Win32 ones.
#pragma once

#include <windows.h>

// These need <windows.h> before them.
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <windowsx.h>

#undef MOD_SHIFT
#undef MOD_CONTROL
#undef VK_SHIFT
#undef VK_CONTROL
#undef VK_ESCAPE
#undef VK_SPACE
#undef VK_PRIOR
#undef VK_NEXT
#undef VK_END
#undef VK_HOME
#undef VK_LEFT
#undef VK_UP
#undef VK_RIGHT
#undef VK_DOWN
#undef VK_APPS
#undef VK_NUMPAD0
#undef VK_F5
#undef VK_F10
#undef VK_OEM_4
#undef VK_OEM_6
#undef SB_TOP
#undef SB_BOTTOM
