// The program: one application object that runs the main window modally.
#include <windows.h>

#include "app/monitor_dlg_win.h"
#include "fw/app_win.h"
#include "settings/ini_profile_win.h"

class CMonitorApp : public CApp {
 public:
  BOOL InitInstance() override {
    CMonitorDlg dialog(profile);
    SetMainDialog(&dialog);
    dialog.DoModal();
    SetMainDialog(nullptr);
    return FALSE;
  }

 private:
  IniProfile profile;
};

CMonitorApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return theApp.Run(instance);
}
