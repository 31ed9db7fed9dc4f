// Window classes of our own and the one procedure behind them.
#include "fw/custom_window_win.h"

#include "fw/app_win.h"

namespace {

bool RegisterOnce(const char* className, WNDPROC procedure) {
  WNDCLASSA known = {};
  if (GetClassInfoA(AppInstance(), className, &known)) return true;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = AppInstance();
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = className;
  return RegisterClassA(&windowClass) != 0;
}

}  // namespace

bool CCustomWindow::Create(const char* className, DWORD exStyle, DWORD style, const RECT& rect, HWND owner) {
  Destroy();
  if (!RegisterOnce(className, WindowProc)) return false;
  CreateWindowExA(exStyle, className, "", style & ~DWORD(WS_CHILD), rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, owner, nullptr, AppInstance(), this);
  return window != nullptr;
}

void CCustomWindow::Destroy() {
  if (window) DestroyWindow(window);
}

LRESULT CALLBACK CCustomWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    static_cast<CCustomWindow*>(created)->window = window;
  }
  auto* object = reinterpret_cast<CCustomWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (object == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  LRESULT result = 0;
  try {  // nothing may unwind into the system's code
    result = object->OnMessage(message, wParam, lParam);
  } catch (...) {
    result = 0;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    object->window = nullptr;
    try {
      object->OnWindowGone();
    } catch (...) {
    }
  }
  return result;
}
