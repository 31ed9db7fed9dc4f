// The About box under Wine: blue link lines in its real pixels, and the addresses its clicks open.
#include "dialogs/about_dlg_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/modal_driver_win.h"
#include "fw/app_win.h"
#include "resource.h"
#include "version.h"

namespace {

std::vector<std::string> opened;
void RecordAddress(const char* address) {
  opened.push_back(address);
}

// The text colour the dialog sets for one of its statics, asked for as the static itself asks.
// The statics without an id share -1, so they are found by their text, not by their id.
COLORREF StaticTextColour(HWND dialog, HWND control) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, RGB(1, 2, 3));
  SendMessageA(dialog, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(control));
  const COLORREF colour = GetTextColor(dc);
  DeleteDC(dc);
  return colour;
}

// Counts the pure blue and the dark pixels the window shows inside one control.
struct InkCount {
  int blue = 0;
  int dark = 0;
};

InkCount CountInk(HWND dialog, HWND control) {
  RECT r = {};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  HDC dc = GetDC(dialog);
  InkCount ink;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      if (c == RGB(0, 0, 255)) ++ink.blue;
      if (GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64) ++ink.dark;
    }
  ReleaseDC(dialog, dc);
  return ink;
}

HWND StaticWithText(HWND dialog, const char* text) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char shown[128] = {};
    GetWindowTextA(child, shown, sizeof shown);
    if (std::string(shown) == text) return child;
  }
  return nullptr;
}

void ClickControl(HWND control) {
  SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

class AboutDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitControlClasses(); }
  void SetUp() override { opened.clear(); }
};

TEST_F(AboutDialog, LinkLinesAreBlueAndTheOtherTextsKeepTheDefaultColour) {
  CAboutDlg about;
  about.openAddress = RecordAddress;
  ModalDriver driver;
  driver.On("About quintrel", [](HWND d) {
    EXPECT_EQ(StaticTextColour(d, GetDlgItem(d, IDC_HOME_PAGE_LINK)), RGB(0, 0, 255));
    EXPECT_EQ(StaticTextColour(d, GetDlgItem(d, IDC_MAIL_LINK)), RGB(0, 0, 255));
    HWND version = StaticWithText(d, "Quintrel V1.35, 2003-X-14");
    HWND notice = StaticWithText(d, QUINTREL_ABOUT_NOTICE);
    ASSERT_NE(version, nullptr);
    ASSERT_NE(notice, nullptr);
    EXPECT_NE(GetDlgItem(d, GetDlgCtrlID(version)), version) << "its id is the icon's too";
    for (HWND plain : {version, notice}) {
      EXPECT_EQ(StaticTextColour(d, plain), GetSysColor(COLOR_WINDOWTEXT));
      EXPECT_NE(StaticTextColour(d, plain), RGB(0, 0, 255));
    }

    RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const InkCount homePage = CountInk(d, GetDlgItem(d, IDC_HOME_PAGE_LINK));
    const InkCount mail = CountInk(d, GetDlgItem(d, IDC_MAIL_LINK));
    const InkCount versionInk = CountInk(d, version);
    EXPECT_GT(homePage.blue, 20);
    EXPECT_GT(mail.blue, 20);
    EXPECT_EQ(versionInk.blue, 0);
    EXPECT_GT(versionInk.dark, 20);
    PostClick(d, IDOK);
  });
  driver.Run([&] { about.DoModal(); });
  EXPECT_EQ(driver.failure, "");
  EXPECT_TRUE(opened.empty());
}

// The notice the box shows says which build runs, so a user can tell the 32-bit program from the
// 64-bit one.
TEST(AboutNotice, NamesTheBuildThatRuns) {
  const char* build = sizeof(void*) == 8 ? "64-bit" : "32-bit";
  EXPECT_NE(std::string(QUINTREL_ABOUT_NOTICE).find(build), std::string::npos) << QUINTREL_ABOUT_NOTICE;
}

TEST_F(AboutDialog, OnlyTheTwoLinkLinesOpenTheirAddresses) {
  CAboutDlg about;
  about.openAddress = RecordAddress;
  ModalDriver driver;
  driver.On("About quintrel", [](HWND d) {
    ClickControl(StaticWithText(d, "Quintrel V1.35, 2003-X-14"));
    ClickControl(StaticWithText(d, QUINTREL_ABOUT_NOTICE));
    EXPECT_TRUE(opened.empty());
    ClickControl(GetDlgItem(d, IDC_HOME_PAGE_LINK));
    ClickControl(GetDlgItem(d, IDC_MAIL_LINK));
    PostEscape(d);
  });
  driver.Run([&] { about.DoModal(); });
  EXPECT_EQ(driver.failure, "");
  EXPECT_EQ(opened, (std::vector<std::string>{"https://quintrel.invalid/",
                                              "mailto:mail@quintrel.invalid;maintainers@quintrel.invalid"}));
}

}  // namespace
