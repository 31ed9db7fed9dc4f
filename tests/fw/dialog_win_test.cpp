// The modal dialog base on real dialogs: how messages reach the object and how the modal run ends.
#include "fw/dialog_win.h"

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "fw/app_win.h"
#include "resource.h"

namespace {

constexpr UINT kTrayMessage = WM_USER + 402;

// Records what reaches it; after initialisation it posts the messages a test queued.
class CRecordingDialog : public CDialog {
 public:
  explicit CRecordingDialog(UINT templateId = IDD_STAT_CONSOLE) : CDialog(templateId) {}

  void Queue(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    queued[queuedCount++] = {message, wParam, lParam};
  }

  int initCount = 0;
  int exchangeCount = 0;
  int okCount = 0;
  int destroyCount = 0;
  HWND windowAtInit = nullptr;
  CDialog* userDataAtInit = nullptr;
  bool buttonFoundAtInit = false;
  UINT lastCustomMessage = 0;
  LPARAM lastCustomLParam = 0;
  UINT lastUnknownCommand = 0;
  UINT lastUnknownCode = 0;
  HWND lastUnknownControl = nullptr;
  bool throwInInit = false;
  bool throwOnCustom = false;

 protected:
  BOOL OnInitDialog() override {
    ++initCount;
    windowAtInit = hwnd();
    userDataAtInit = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd(), GWLP_USERDATA));
    buttonFoundAtInit = GetDlgItem(IDC_CONSOLE_BUTTON) != nullptr;
    for (int i = 0; i < queuedCount; ++i)
      PostMessageA(hwnd(), queued[i].message, queued[i].wParam, queued[i].lParam);
    if (throwInInit) throw std::runtime_error("init failed");
    return CDialog::OnInitDialog();
  }
  void DoDataExchange() override { ++exchangeCount; }
  void OnOK() override {
    ++okCount;
    CDialog::OnOK();
  }
  void OnDestroy() override { ++destroyCount; }
  BOOL OnCommand(UINT id, UINT code, HWND control) override {
    if (CDialog::OnCommand(id, code, control)) return TRUE;
    lastUnknownCommand = id;
    lastUnknownCode = code;
    lastUnknownControl = control;
    return TRUE;
  }
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    if (message != kTrayMessage) return FALSE;
    if (throwOnCustom) throw std::runtime_error("handler failed");
    lastCustomMessage = message;
    lastCustomLParam = lParam;
    handled = true;
    return TRUE;
  }

 private:
  struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  Posted queued[8] = {};
  int queuedCount = 0;
};

class DialogBase : public ::testing::Test {
 protected:
  void SetUp() override { InitControlClasses(); }
};

}  // namespace

TEST_F(DialogBase, InitialisationSeesTheLiveWindowAndOkEndsWithIdOk) {
  CRecordingDialog dialog;
  dialog.Queue(WM_COMMAND, IDOK);
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.initCount, 1);
  EXPECT_NE(dialog.windowAtInit, nullptr);
  EXPECT_EQ(dialog.userDataAtInit, &dialog);
  EXPECT_TRUE(dialog.buttonFoundAtInit);
  EXPECT_EQ(dialog.okCount, 1);
  EXPECT_EQ(dialog.exchangeCount, 2);  // bound at initialisation, exchanged again at OK
  EXPECT_EQ(dialog.destroyCount, 1);
  EXPECT_EQ(dialog.hwnd(), nullptr);  // forgotten once the window is gone
  EXPECT_FALSE(IsWindow(dialog.windowAtInit));
}

TEST_F(DialogBase, CancelEscapeAndCloseEndWithIdCancelWithoutOk) {
  const UINT endings[][2] = {{WM_COMMAND, IDCANCEL}, {WM_CLOSE, 0}};
  for (const auto& ending : endings) {
    CRecordingDialog dialog;
    dialog.Queue(ending[0], ending[1]);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL) << "message " << ending[0];
    EXPECT_EQ(dialog.okCount, 0);
    EXPECT_EQ(dialog.exchangeCount, 1);
  }
  CRecordingDialog escape;
  escape.Queue(WM_KEYDOWN, VK_ESCAPE);  // through the dialog manager, as a key press
  EXPECT_EQ(escape.DoModal(), IDCANCEL);
}

TEST_F(DialogBase, CustomMessagesAndUnknownCommandsReachTheSubclassDecoded) {
  CRecordingDialog menu;
  menu.Queue(kTrayMessage, 0, WM_RBUTTONDOWN);
  menu.Queue(WM_COMMAND, 538);
  menu.Queue(WM_COMMAND, IDCANCEL);
  ASSERT_EQ(menu.DoModal(), IDCANCEL);
  EXPECT_EQ(menu.lastCustomMessage, kTrayMessage);
  EXPECT_EQ(menu.lastCustomLParam, WM_RBUTTONDOWN);
  EXPECT_EQ(menu.lastUnknownCommand, 538u);
  EXPECT_EQ(menu.lastUnknownCode, 0u);
  EXPECT_EQ(menu.lastUnknownControl, nullptr);

  CRecordingDialog control;
  const HWND someControl = GetDesktopWindow();
  control.Queue(WM_COMMAND, MAKEWPARAM(IDC_CONSOLE_BUTTON, BN_CLICKED), LPARAM(someControl));
  control.Queue(WM_COMMAND, IDCANCEL);
  ASSERT_EQ(control.DoModal(), IDCANCEL);
  EXPECT_EQ(control.lastUnknownCommand, UINT(IDC_CONSOLE_BUTTON));
  EXPECT_EQ(control.lastUnknownCode, UINT(BN_CLICKED));
  EXPECT_EQ(control.lastUnknownControl, someControl);
}

class CHelpCountingApp : public CApp {
 public:
  void OnHelp() override { ++helpCount; }
  int helpCount = 0;
};

TEST_F(DialogBase, TheHelpCommandGoesToTheApplicationObject) {
  CHelpCountingApp app;
  ASSERT_EQ(CApp::Current(), &app);
  CRecordingDialog dialog;
  dialog.Queue(WM_COMMAND, kHelpCommandId);
  dialog.Queue(WM_COMMAND, IDCANCEL);
  ASSERT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(app.helpCount, 1);
  EXPECT_EQ(dialog.lastUnknownCommand, 0u) << "handled by the base";
}

TEST_F(DialogBase, ExceptionsInHandlersStayInsideTheDialog) {
  CRecordingDialog failingInit;
  failingInit.throwInInit = true;
  failingInit.Queue(WM_COMMAND, IDCANCEL);
  EXPECT_EQ(failingInit.DoModal(), IDCANCEL);

  CRecordingDialog failingHandler;
  failingHandler.throwOnCustom = true;
  failingHandler.Queue(kTrayMessage, 0, WM_LBUTTONDBLCLK);
  failingHandler.Queue(WM_COMMAND, IDOK);
  EXPECT_EQ(failingHandler.DoModal(), IDOK);
  EXPECT_EQ(failingHandler.lastCustomMessage, 0u);
}

TEST_F(DialogBase, MissingTemplateFailsWithMinusOne) {
  CRecordingDialog dialog(4242);
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_EQ(dialog.initCount, 0);
}

namespace {

// Answers notifications, records trackbar scrolling and colours two statics, from the
// Configure and About templates.
class CHandlerDialog : public CDialog {
 public:
  using CDialog::CDialog;
  LRESULT notifyAnswer = 0;
  UINT scrollCode = 0xFFFF;
  HWND scrolledControl = nullptr;
  HWND trackbar = nullptr;
  COLORREF staticTextColour = 0;
  COLORREF otherTextColour = 0;
  bool staticBrushGiven = false;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (templateId() == IDD_CONFIGURE) ExerciseConfigure();
    if (templateId() == IDD_ABOUTBOX) ExerciseAbout();
    EndDialog(IDCANCEL);
    return TRUE;
  }
  BOOL OnNotify(int controlId, NMHDR* header, LRESULT* result) override {
    if (header->code != NM_CLICK) return FALSE;
    *result = 42;
    return TRUE;
  }
  void OnHScroll(UINT code, UINT position, HWND control) override {
    scrollCode = code;
    scrolledControl = control;
  }
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind) override {
    HBRUSH brush = CDialog::OnCtlColor(dc, control, kind);
    if (kind == WM_CTLCOLORSTATIC && GetDlgCtrlID(control) == IDC_MAIL_LINK) SetTextColor(dc, RGB(0, 0, 255));
    return brush;
  }

 private:
  void ExerciseConfigure() {
    NMHDR header = {GetDlgItem(IDC_INTERFACE_LIST), IDC_INTERFACE_LIST, static_cast<UINT>(NM_CLICK)};
    notifyAnswer = SendMessageA(hwnd(), WM_NOTIFY, IDC_INTERFACE_LIST, reinterpret_cast<LPARAM>(&header));
    trackbar = GetDlgItem(IDC_REFRESH_SLIDER);
    SendMessageA(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(1, 100));
    SendMessageA(trackbar, WM_KEYDOWN, VK_RIGHT, 0);  // the trackbar reports to its parent
  }
  void ExerciseAbout() {
    HDC dc = CreateCompatibleDC(nullptr);
    const LRESULT brush = SendMessageA(hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(GetDlgItem(IDC_MAIL_LINK)));
    staticBrushGiven = brush != 0;
    staticTextColour = GetTextColor(dc);
    SetTextColor(dc, RGB(1, 2, 3));
    SendMessageA(hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(GetDlgItem(IDC_HOME_PAGE_LINK)));
    otherTextColour = GetTextColor(dc);
    DeleteDC(dc);
  }
};

}  // namespace

TEST_F(DialogBase, NotifyAnswerScrollNotificationAndControlColoursReachTheCaller) {
  CHandlerDialog configure(IDD_CONFIGURE);
  ASSERT_EQ(configure.DoModal(), IDCANCEL);
  EXPECT_EQ(configure.notifyAnswer, 42);
  EXPECT_EQ(configure.scrollCode, static_cast<UINT>(TB_LINEDOWN));
  EXPECT_EQ(configure.scrolledControl, configure.trackbar);

  CHandlerDialog about(IDD_ABOUTBOX);
  ASSERT_EQ(about.DoModal(), IDCANCEL);
  EXPECT_TRUE(about.staticBrushGiven);
  EXPECT_EQ(about.staticTextColour, RGB(0, 0, 255));
  EXPECT_EQ(about.otherTextColour, GetSysColor(COLOR_WINDOWTEXT));  // the default colours
}
