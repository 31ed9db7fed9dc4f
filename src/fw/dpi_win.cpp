// The DPI functions of Windows 10 are looked up at run time: Windows 7 and 8 lack them.
#include "fw/dpi_win.h"

#include "fw/gdi_win.h"
#include "fw/system_library_win.h"

namespace {

constexpr UINT kDefaultDpi = 96;

using GetDpiForWindowFn = UINT(WINAPI*)(HWND window);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int index, UINT dpi);

template <typename Function>
Function UserFunction(const char* name) {
  return LibraryFunction<Function>(GetModuleHandleA("user32.dll"), name);
}

UINT ScreenDpi() {
  const CWindowDC screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : kDefaultDpi;
  return dpi > 0 ? UINT(dpi) : kDefaultDpi;
}

}  // namespace

UINT WindowDpi(HWND window) {
  static const auto getDpiForWindow = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
  const UINT dpi = window && getDpiForWindow ? getDpiForWindow(window) : 0;
  return dpi != 0 ? dpi : ScreenDpi();
}

int SmallIconSizeForDpi(UINT dpi) {
  static const auto metricsForDpi = UserFunction<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  const int size = metricsForDpi ? metricsForDpi(SM_CXSMICON, dpi) : 0;
  if (size > 0) return size;
  // The shell's small icon grows with the DPI the same way.
  return MulDiv(GetSystemMetrics(SM_CXSMICON), int(dpi), int(ScreenDpi()));
}
