// Reading the shell's taskbars, the window in front and the theme's registry value.
#include "taskbar/shell_reading_win.h"

#include "fw/dpi_win.h"
#include "fw/owned_handle_win.h"
#include "fw/system_library_win.h"

namespace {

using QueryNotificationStateFn = HRESULT(WINAPI*)(int* state);
using IsCompositionEnabledFn = HRESULT(WINAPI*)(BOOL* enabled);

constexpr char kPersonalizeKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// Windows Vista and later; 0 where the system has no answer.
int32_t NotificationState() {
  static const auto query = LibraryFunction<QueryNotificationStateFn>(GetModuleHandleA("shell32.dll"),
                                                                      "SHQueryUserNotificationState");
  int state = 0;
  return query && query(&state) == S_OK ? int32_t(state) : 0;
}

// The desktop window manager of Windows Vista and later, loaded from the system directory and kept.
bool DesktopComposes() {
  static const COwnedLibrary manager(LoadLibraryA(SystemLibraryPath("dwmapi.dll").c_str()));
  static const auto isEnabled =
      LibraryFunction<IsCompositionEnabledFn>(manager.get(), "DwmIsCompositionEnabled");
  BOOL enabled = FALSE;
  return isEnabled && isEnabled(&enabled) == S_OK && enabled;
}

void ReadLightTheme(ThemeReading& reading) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kPersonalizeKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return;
  const COwnedRegistryKey key(opened);
  DWORD type = 0, value = 0, size = sizeof value;
  const LONG status = RegQueryValueExA(key.get(), "SystemUsesLightTheme", nullptr, &type,
                                       reinterpret_cast<BYTE*>(&value), &size);
  if (status == ERROR_FILE_NOT_FOUND) return;
  const bool whole = status == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value;
  reading.lightThemeValue = whole ? ThemeValue::Present : ThemeValue::Damaged;
  reading.lightTheme = whole ? value : 0;
}

uint32_t RgbOf(COLORREF colour) {
  return uint32_t(GetRValue(colour)) << 16 | uint32_t(GetGValue(colour)) << 8 | GetBValue(colour);
}

}  // namespace

int FindTaskbars(FoundTaskbar (&found)[kMaxTaskbars], bool everyTaskbar) {
  int count = 0;
  if (HWND primary = FindWindowA("Shell_TrayWnd", nullptr)) found[count++] = {primary, true};
  if (!everyTaskbar || count == 0) return count;
  HWND secondary = nullptr;
  while (count < kMaxTaskbars &&
         (secondary = FindWindowExA(nullptr, secondary, "Shell_SecondaryTrayWnd", nullptr)))
    found[count++] = {secondary, false};
  return count;
}

bool ReadTaskbarView(HWND taskbar, bool primary, TaskbarView& view) {
  RECT rect = {};
  if (!IsWindow(taskbar) || !GetWindowRect(taskbar, &rect)) return false;
  view.taskbar = ToScreenRect(rect);
  view.primary = primary;
  view.taskbarShown = IsWindowVisible(taskbar) != FALSE;
  HMONITOR monitor = MonitorFromWindow(taskbar, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info)) return false;
  view.monitor = ToScreenRect(info.rcMonitor);
  view.dpi = int32_t(MonitorDpi(monitor));
  view.notificationArea = {};
  HWND area = primary ? FindWindowExA(taskbar, nullptr, "TrayNotifyWnd", nullptr) : nullptr;
  if (area && IsWindowVisible(area) && GetWindowRect(area, &rect)) view.notificationArea = ToScreenRect(rect);
  return true;
}

DWORD WindowProcess(HWND window) {
  DWORD process = 0;
  if (window) GetWindowThreadProcessId(window, &process);
  return process;
}

ForegroundView ReadForeground(DWORD shellProcess) {
  ForegroundView view;
  view.notificationState = NotificationState();
  HWND front = GetForegroundWindow();
  RECT rect = {};
  if (!front || !GetWindowRect(front, &rect)) return view;
  view.present = true;
  view.window = ToScreenRect(rect);
  view.belongsToShell = front == GetDesktopWindow() || front == GetShellWindow() ||
                        (shellProcess != 0 && WindowProcess(front) == shellProcess);
  return view;
}

ThemeReading ReadTheme() {
  ThemeReading reading;
  reading.perPixelAlpha = DesktopComposes();
  ReadLightTheme(reading);
  HIGHCONTRASTA contrast = {};
  contrast.cbSize = sizeof contrast;
  reading.highContrast = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
  reading.systemText = RgbOf(GetSysColor(COLOR_WINDOWTEXT));
  reading.systemBackground = RgbOf(GetSysColor(COLOR_WINDOW));
  return reading;
}
