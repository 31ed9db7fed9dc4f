// The DPI a window is drawn at and the small icon's size there. Windows 10 tells each window its
// monitor's DPI; older systems have one DPI for the whole screen.
#pragma once

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
// The headers give it only to programs built for Vista and later.
#ifndef USER_DEFAULT_SCREEN_DPI
#define USER_DEFAULT_SCREEN_DPI 96
#endif

// The window's DPI where the system tells it, else the screen's.
UINT WindowDpi(HWND window);
// The notification area's icon side at dpi: 16 at 96 DPI, 20, 24, 32 at 120, 144, 192.
int SmallIconSizeForDpi(UINT dpi);
