// The DPI a window is drawn at and the small icon's size there. Windows 10 tells each window its
// monitor's DPI; older systems have one DPI for the whole screen.
#pragma once

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The system's DPI: the primary monitor's scaling when the user signed in.
UINT SystemDpi();
// The window's DPI where the system tells it, else the system's.
UINT WindowDpi(HWND window);
// The monitor's DPI where the system tells it (Windows 8.1 and later), else the system's.
UINT MonitorDpi(HMONITOR monitor);
// The DPI of the monitor that holds the taskbar, and so the notification area; the system's where
// there is no taskbar.
UINT TaskbarDpi();
// The notification area's icon side at dpi: 16 at 96 DPI, 20, 24, 32 at 120, 144, 192.
int SmallIconSizeForDpi(UINT dpi);
