// Dialogs opened from the main window are owned by it and keep it disabled while they run, so its
// menu cannot start a second dialog, or Exit, underneath them.
#include <windows.h>
#include <gtest/gtest.h>

#include "dialogs/about_dlg_win.h"
#include "dialogs/configure_dlg_win.h"
#include "fw/app_win.h"
#include "resource.h"
#include "support/modal_driver_win.h"
#include "support/test_meter.h"

namespace {

constexpr UINT kOpenDialogs = WM_APP + 1;

void NoAddress(const char*) {}

// The program's main window as the framework sees it: the application's main dialog, which opens
// Configure and About from its menu.
class CMainWindowStandIn : public CDialog {
 public:
  explicit CMainWindowStandIn(IConfigurePort& model) : CDialog(IDD_MONITOR_DIALOG), model(model) {}
  HWND window = nullptr;  // kept after the run

 protected:
  BOOL OnInitDialog() override {
    window = hwnd();
    PostMessageA(hwnd(), kOpenDialogs, 0, 0);
    return TRUE;
  }
  INT_PTR OnMessage(UINT message, WPARAM, LPARAM, bool& handled) override {
    if (message != kOpenDialogs) return FALSE;
    handled = true;
    RunConfigure(model, hwnd());
    CAboutDlg about(hwnd());
    about.openAddress = NoAddress;
    about.DoModal();
    EndDialog(IDOK);
    return TRUE;
  }

 private:
  IConfigurePort& model;
};

struct Ownership {
  HWND owner;
  bool mainEnabled;
};

Ownership OwnershipOf(HWND dialog, HWND main) {
  return {GetWindow(dialog, GW_OWNER), IsWindowEnabled(main) != FALSE};
}

TEST(DialogOwner, ConfigureTheEditorTheConsoleAndAboutAreOwnedAndDisableTheMainWindow) {
  InitControlClasses();
  CApp app;
  StartedMeter meter(1);
  CMainWindowStandIn main(meter.configure);
  app.SetMainDialog(&main);

  Ownership configure{}, editor{}, console{}, about{};
  HWND configureWindow = nullptr;
  ModalDriver driver;
  driver.On("Configure", [&](HWND d) {
    configureWindow = d;
    configure = OwnershipOf(d, main.window);
    PostClick(d, IDC_EDIT_PRESET);
  });
  driver.On("Item parameters", [&](HWND e) {
    editor = OwnershipOf(e, main.window);
    PostClick(e, IDCANCEL);
  });
  driver.On("Configure", [](HWND d) { PostClick(d, IDC_STATISTICS_BUTTON); });
  driver.AnswerMessageBox();  // there is no hour-data file here
  driver.On("Statistics Console", [&](HWND c) {
    console = OwnershipOf(c, main.window);
    PostMessageA(c, WM_CLOSE, 0, 0);
  });
  driver.On("Configure", [](HWND d) { PostClick(d, IDOK); });
  driver.On("About quintrel", [&](HWND a) {
    about = OwnershipOf(a, main.window);
    PostClick(a, IDOK);
  });
  driver.Run([&] { main.DoModal(); }, 20000);
  app.SetMainDialog(nullptr);
  ASSERT_EQ(driver.failure, "");
  ASSERT_TRUE(driver.AllStepsDone());

  EXPECT_EQ(configure.owner, main.window) << "Configure has no owner: a taskbar button of its own";
  EXPECT_FALSE(configure.mainEnabled) << "the main window's menu stays usable under Configure";
  EXPECT_EQ(editor.owner, configureWindow);
  EXPECT_FALSE(editor.mainEnabled);
  EXPECT_EQ(console.owner, configureWindow) << "the console belongs to the dialog it was opened from";
  EXPECT_FALSE(console.mainEnabled);
  EXPECT_EQ(about.owner, main.window);
  EXPECT_FALSE(about.mainEnabled);
}

}  // namespace
