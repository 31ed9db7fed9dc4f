// What the shell shows and says: its taskbars and their places, the window in front, the taskbar's
// theme. Only reads; every decision on it is the readout's policy.
#pragma once

#include <windows.h>

#include "taskbar/readout_placement.h"
#include "taskbar/readout_theme.h"

constexpr int kMaxTaskbars = 8;

struct FoundTaskbar {
  HWND window = nullptr;
  bool primary = false;
};

// The primary taskbar (Shell_TrayWnd) first, then, with everyTaskbar, each secondary one; how many.
// None under a shell without a taskbar.
int FindTaskbars(FoundTaskbar (&found)[kMaxTaskbars], bool everyTaskbar);
// The taskbar's rectangle, its monitor's, the notification area's and the monitor's DPI; false when
// the window is gone.
bool ReadTaskbarView(HWND taskbar, bool primary, TaskbarView& view);
// The window in front; windows of the shell's own process are told apart by shellProcess.
ForegroundView ReadForeground(DWORD shellProcess);
DWORD WindowProcess(HWND window);
ThemeReading ReadTheme();

inline ScreenRect ToScreenRect(const RECT& rect) {
  return {int32_t(rect.left), int32_t(rect.top), int32_t(rect.right), int32_t(rect.bottom)};
}
