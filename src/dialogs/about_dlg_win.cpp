// The About box: the two link lines are drawn blue and open their address when clicked.
#include "dialogs/about_dlg_win.h"

#include <shellapi.h>

#include <cstdio>

void OpenAddressWithShell(const char* address) {
  ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOW);
}

void CAboutDlg::DoDataExchange() {
  mailLink.Bind(hwnd(), IDC_MAIL_LINK);
  homePageLink.Bind(hwnd(), IDC_HOME_PAGE_LINK);
}

BOOL CAboutDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (code == STN_CLICKED) {
    switch (id) {
      case IDC_HOME_PAGE_LINK:
        OnHomePageClick();
        return TRUE;
      case IDC_MAIL_LINK:
        OnMailClick();
        return TRUE;
    }
  }
  return CDialog::OnCommand(id, code, control);
}

HBRUSH CAboutDlg::OnCtlColor(HDC dc, HWND control, UINT kind) {
  HBRUSH brush = CDialog::OnCtlColor(dc, control, kind);
  if (kind == WM_CTLCOLORSTATIC && control != nullptr &&
      (control == mailLink.hwnd() || control == homePageLink.hwnd()))
    SetTextColor(dc, RGB(0, 0, 255));
  return brush;
}

// The address opened is the one the line shows.
void CAboutDlg::OnHomePageClick() {
  char address[256] = {};
  homePageLink.GetText(address, sizeof address);
  openAddress(address);
}

void CAboutDlg::OnMailClick() {
  char shown[128] = {};
  mailLink.GetText(shown, sizeof shown);
  char address[300];
  snprintf(address, sizeof address, "mailto:%s;%s", shown, kMaintainersMailAddress);
  openAddress(address);
}

void RunAboutDialog(HWND parent) {
  CAboutDlg about(parent);
  about.DoModal();
}
