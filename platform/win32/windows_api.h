// <windows.h> and the headers that need it first: the common controls and
// dialogs, the shell, the message crackers.
#pragma once

#include <windows.h>

// These need <windows.h> before them.
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <windowsx.h>
