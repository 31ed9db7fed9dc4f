// The DPI functions of Windows 8.1 and 10 are looked up at run time: Windows 7 and 8 lack them.
#include "fw/dpi_win.h"

#include "fw/gdi_win.h"
#include "fw/owned_handle_win.h"
#include "fw/system_library_win.h"

namespace {

constexpr UINT kDefaultDpi = 96;
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

using GetDpiForWindowFn = UINT(WINAPI*)(HWND window);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int index, UINT dpi);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR monitor, int kind, UINT* dpiX, UINT* dpiY);

template <typename Function>
Function UserFunction(const char* name) {
  return LibraryFunction<Function>(GetModuleHandleA("user32.dll"), name);
}

}  // namespace

UINT SystemDpi() {
  const CWindowDC screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : kDefaultDpi;
  return dpi > 0 ? UINT(dpi) : kDefaultDpi;
}

UINT WindowDpi(HWND window) {
  static const auto getDpiForWindow = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
  const UINT dpi = window && getDpiForWindow ? getDpiForWindow(window) : 0;
  return dpi != 0 ? dpi : SystemDpi();
}

UINT MonitorDpi(HMONITOR monitor) {
  // The shell's scaling library is loaded once, from the system directory, and kept.
  static const COwnedLibrary scaling(LoadLibraryA(SystemLibraryPath("shcore.dll").c_str()));
  static const auto getDpiForMonitor = LibraryFunction<GetDpiForMonitorFn>(scaling.get(), "GetDpiForMonitor");
  UINT dpiX = 0, dpiY = 0;
  if (monitor && getDpiForMonitor && getDpiForMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY) == S_OK &&
      dpiX != 0)
    return dpiX;
  return SystemDpi();
}

UINT TaskbarDpi() {
  const HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
  return taskbar != nullptr ? MonitorDpi(MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY)) : SystemDpi();
}

int SmallIconSizeForDpi(UINT dpi) {
  static const auto metricsForDpi = UserFunction<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  const int size = metricsForDpi ? metricsForDpi(SM_CXSMICON, dpi) : 0;
  if (size > 0) return size;
  // The shell's small icon grows with the DPI the same way.
  return MulDiv(GetSystemMetrics(SM_CXSMICON), int(dpi), int(SystemDpi()));
}
