// Holds each dialog open on the screen until a screenshot of it has been taken: for every dialog
// the test writes "<name>.ready" in the current directory and waits until the file is removed.
// Disabled by default; run with --gtest_also_run_disabled_tests next to a script that photographs.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "console/stat_console_dlg_win.h"
#include "dialogs/about_dlg_win.h"
#include "dialogs/configure_dlg_win.h"
#include "support/modal_driver_win.h"
#include "support/test_meter.h"
#include "fw/app_win.h"
#include "resource.h"

namespace {

void HoldForScreenshot(const char* name) {
  char marker[64];
  snprintf(marker, sizeof marker, "%s.ready", name);
  FILE* f = fopen(marker, "w");
  ASSERT_NE(f, nullptr);
  fclose(f);
  const DWORD start = GetTickCount();
  while (GetFileAttributesA(marker) != INVALID_FILE_ATTRIBUTES && GetTickCount() - start < 30000) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(20);
  }
  DeleteFileA(marker);
}

void NoAddress(const char*) {}

TEST(DialogScreens, DISABLED_HoldEachDialogOpenForAScreenshot) {
  InitControlClasses();
  StartedMeter meter(3);
  meter.StorePresetIndex(1, 3);
  meter.settings.selectedInterface = 1;
  meter.settings.traySeparateScaleEnabled = true;
  ModalDriver driver;
  driver.On("Configure", [](HWND d) {
    HoldForScreenshot("configure");
    PostClick(d, IDC_EDIT_PRESET);
  });
  driver.On("Item parameters", [](HWND e) {
    HoldForScreenshot("item_parameters");
    PostClick(e, IDCANCEL);
  });
  driver.On("Configure", [](HWND d) { PostClick(d, IDOK); });
  driver.Run([&] { RunConfigure(meter.configure, nullptr); }, 60000);
  EXPECT_EQ(driver.failure, "");

  CAboutDlg about;
  about.openAddress = NoAddress;
  ModalDriver aboutDriver;
  aboutDriver.On("About quintrel", [](HWND d) {
    HoldForScreenshot("about");
    PostClick(d, IDOK);
  });
  aboutDriver.Run([&] { about.DoModal(); }, 60000);
  EXPECT_EQ(aboutDriver.failure, "");

  std::vector<uint8_t> file;
  for (uint8_t hour = 0; hour < 24; ++hour) {
    const uint8_t head[8] = {0, 0, 27, 0, hour, 0, 0, 0};
    file.insert(file.end(), head, head + 8);
    for (uint32_t v : {uint32_t(200 * (hour + 1)), uint32_t(4800 - 150 * hour)})
      for (int i = 0; i < 4; ++i) file.push_back(uint8_t(v >> (8 * i)));
  }
  FILE* f = fopen(kHourDataFileName, "wb");
  ASSERT_NE(f, nullptr);
  fwrite(file.data(), 1, file.size(), f);
  fclose(f);
  CStatConsoleDlg console;
  ModalDriver consoleDriver;
  consoleDriver.On("Statistics Console", [](HWND d) {
    HoldForScreenshot("statistics_console");
    PostMessageA(d, WM_CLOSE, 0, 0);
  });
  consoleDriver.Run([&] { console.DoModal(); }, 60000);
  DeleteFileA(kHourDataFileName);
  EXPECT_EQ(consoleDriver.failure, "");
}

}  // namespace
