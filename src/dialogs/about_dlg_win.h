// The About box: version, a notice and two link lines handed to the shell.
#pragma once

#include <windows.h>

#include "fw/dialog_win.h"
#include "fw/static_win.h"
#include "resource.h"

// Opens a web or mail address in the user's own programs; the result is not examined.
using OpenAddressFunction = void (*)(const char* address);
void OpenAddressWithShell(const char* address);

// The second mail address, after the one the dialog shows.
constexpr const char* kMaintainersMailAddress = "maintainers@quintrel.invalid";

class CAboutDlg : public CDialog {
 public:
  explicit CAboutDlg(HWND parent = nullptr) : CDialog(IDD_ABOUTBOX, parent) {}

  OpenAddressFunction openAddress = OpenAddressWithShell;

 protected:
  void DoDataExchange() override;
  BOOL OnCommand(UINT id, UINT code, HWND control) override;
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) override;

  void OnHomePageClick();
  void OnMailClick();

  CStatic mailLink;
  CStatic homePageLink;
};

// The About command of the main window's menu.
void RunAboutDialog(HWND parent);
