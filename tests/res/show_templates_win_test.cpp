// Shows the Configure, Item parameters and About templates side by side for a screenshot:
//   quintrel_win_tests.exe --gtest_also_run_disabled_tests --gtest_filter='*ShowTemplates*'
// then, within the few seconds they stay up: import -window root templates.png
#include <gtest/gtest.h>
#include <windows.h>

#include "fw/app_win.h"
#include "resource.h"

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

HWND ShowTemplate(UINT id, int x, int y) {
  HWND dialog = CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(id), nullptr, PlainDialogProc, 0);
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  return dialog;
}

}  // namespace

TEST(DialogTemplates, DISABLED_ShowTemplatesForAScreenshot) {
  InitControlClasses();
  HWND shown[] = {ShowTemplate(IDD_CONFIGURE, 0, 0), ShowTemplate(IDD_ITEM_PARAMS, 520, 0),
                  ShowTemplate(IDD_ABOUTBOX, 0, 420)};
  for (HWND dialog : shown) ASSERT_NE(dialog, nullptr);
  const DWORD end = GetTickCount() + 8000;
  while (GetTickCount() < end) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(20);
  }
  for (HWND dialog : shown) DestroyWindow(dialog);
}
