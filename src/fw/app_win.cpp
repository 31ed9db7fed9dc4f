// The application object and the common controls set-up.
#include "fw/app_win.h"

#include <commctrl.h>

#include "fw/system_library_win.h"

namespace {
CApp* currentApp = nullptr;
}

BOOL InitControlClasses() {
  INITCOMMONCONTROLSEX controls = {};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
  return InitCommonControlsEx(&controls);
}

HINSTANCE AppInstance() {
  if (currentApp && currentApp->instance()) return currentApp->instance();
  return GetModuleHandleA(nullptr);
}

CApp::CApp() {
  if (!currentApp) currentApp = this;
}

CApp::~CApp() {
  if (currentApp == this) currentApp = nullptr;
}

CApp* CApp::Current() {
  return currentApp;
}

int CApp::Run(HINSTANCE instance) {
  instanceHandle = instance;
  RestrictLibrarySearch();
  InitControlClasses();
  BOOL keepRunning = FALSE;
  try {
    keepRunning = InitInstance();
  } catch (...) {
    return 1;
  }
  return keepRunning ? RunMessageLoop() : 0;
}

int CApp::RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
