// The main window: start-up, painting, mouse, popup menu, commands, ticks and shutdown.
#include "app/monitor_dlg_win.h"

#include <cstdlib>

#include "dialogs/about_dlg_win.h"
#include "dialogs/configure_dlg_win.h"
#include "dialogs/usage_dlg_win.h"
#include "fw/app_win.h"
#include "fw/dpi_win.h"
#include "fw/gdi_win.h"
#include "fw/message_box_win.h"
#include "resource.h"

namespace {

struct MenuRow {
  UINT id;  // 0: separator
  const char* text;
};

const MenuRow kMenuRows[] = {
    {IDM_ALWAYS_ON_TOP, "Always On Top"},
    {IDM_TRAY_ONLY, "Only tray icon"},
    {0, nullptr},
    {503, "Current Receive"},
    {504, "Last min. avg"},
    {505, "Last hour avg"},
    {506, "Total Received"},
    {507, "% Bandwidth"},
    {508, "% 1 min. Bandwidth"},
    {509, "% 1 hour Bandwidth"},
    {0, nullptr},
    {521, "Current Send"},
    {522, "Last min. avg"},
    {523, "Last hour avg"},
    {524, "Total Sent"},
    {525, "% Bandwidth"},
    {526, "% 1 min. Bandwidth"},
    {527, "% 1 hour Bandwidth"},
    {0, nullptr},
    {IDM_SETUP, "SETUP"},
    {IDM_USAGE, "Usage..."},
    {0, nullptr},
    {IDM_STAT_CONSOLE, "StatConsole"},
    {0, nullptr},
    {IDM_ABOUT, "About"},
    {IDM_EXIT, "Exit"},
};

constexpr int kStatisticSelections = 7;

// A stored place that lies wholly off the screens (a damaged profile, a monitor since removed)
// would hide the window for good; it is pulled to the nearest edge of the screens instead.
int32_t OnScreen(int32_t start, int32_t size, int screenStart, int screenSize) {
  const int64_t lowest = int64_t(screenStart) - size + 1;
  const int64_t highest = int64_t(screenStart) + screenSize - 1;
  if (start >= lowest && start <= highest) return start;
  const int64_t nearest = start < lowest ? screenStart : int64_t(screenStart) + screenSize - size;
  return int32_t(nearest > screenStart ? nearest : screenStart);
}

}  // namespace

CMonitorDlg::CMonitorDlg(IProfile& settingsProfile, HWND parent)
    : CDialog(IDD_MONITOR_DIALOG, parent),
      model(platform.ipHelper, platform.logSink, platform, settingsProfile),
      settings(model.settings) {
  appIcon = LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDI_APP_MISSING));
}

CMonitorDlg::~CMonitorDlg() {
  if (backgroundDC && backgroundOriginalBitmap) SelectObject(backgroundDC.get(), backgroundOriginalBitmap);
}

void CMonitorDlg::DoDataExchange() {
  exitButton.Bind(hwnd(), IDC_EXIT_BUTTON);
  configureButton.Bind(hwnd(), IDC_CONFIGURE_BUTTON);
}

BOOL CMonitorDlg::OnInitDialog() {
  DoDataExchange();
  const LONG_PTR exStyle = GetWindowLongPtrA(hwnd(), GWL_EXSTYLE);
  SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, (exStyle & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);

  model.LoadAllSettings();
  ApplyDpi(WindowDpi(hwnd()));
  if (!platform.graphTools.graphFont) ShowAppMessage(hwnd(), "Cannot create the font");
  if (!platform.trayIcon.CreateFirstIcon(SmallIconSizeForDpi(layout.dpi))) ShowAppMessage(hwnd(), "er3");
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG,
               LPARAM(LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDI_WINDOW_BIG))));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL,
               LPARAM(LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDI_APP_SMALL_MISSING))));

  platform.Attach(hwnd());

  platform.trayIcon.Add();
  taskbarCreatedMessage = CTrayIcon::TaskbarCreatedMessage();

  BuildPopupMenu();
  const int32_t receive = settings.receiveStatSelection, send = settings.sendStatSelection;
  if (receive >= 0 && receive < kStatisticSelections)
    CheckMenuGroup(IDM_RECEIVE_FIRST, IDM_RECEIVE_LAST, IDM_RECEIVE_FIRST + receive);
  if (send >= 0 && send < kStatisticSelections)
    CheckMenuGroup(IDM_SEND_FIRST, IDM_SEND_LAST, IDM_SEND_FIRST + send);
  PlaceWindow();

  DiscoverInterfaces();
  model.ValidateSelectedInterface();
  model.WatchSelectedInterface();
  return FALSE;
}

void CMonitorDlg::ApplyDpi(UINT dpi) {
  layout = LayoutForDpi(int32_t(dpi), settings.graphColumns, settings.graphHeight);
  const bool hadPanel = platform.HasGraphPanel();
  platform.ReleaseGraphPanel();
  platform.graphTools.MakeFont(layout);
  if (hadPanel) platform.CreateGraphPanel(layout);
  model.SetDpi(layout.dpi);
  LoadDrawingResources();
  PlaceButtons();
}

void CMonitorDlg::OnDpiChanged(UINT dpi, const RECT* suggested) {
  // After Exit's teardown the drawing objects are gone for good.
  if (ended) return;
  ApplyDpi(dpi);
  ResizeTrayIcon(dpi);
  if (suggested != nullptr)
    SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, layout.windowWidth, layout.windowHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  model.PaintGraphPanel();
  InvalidateRect(hwnd(), nullptr, FALSE);
}

// The background is drawn for 96 DPI; at any other it is stretched with halftoning, which keeps
// its soft texture soft rather than blocky.
void CMonitorDlg::LoadDrawingResources() {
  if (backgroundDC && backgroundOriginalBitmap) SelectObject(backgroundDC.get(), backgroundOriginalBitmap);
  backgroundOriginalBitmap = nullptr;
  backgroundBitmap.Reset(static_cast<HBITMAP>(
      LoadImageA(AppInstance(), MAKEINTRESOURCEA(IDB_BACKGROUND), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (layout.dpi != kBaseDpi && backgroundBitmap)
    backgroundBitmap.Reset(ScaledBitmap(backgroundBitmap.get()));
  backgroundDC.Reset(CreateCompatibleDC(nullptr));
  if (backgroundDC && backgroundBitmap)
    backgroundOriginalBitmap = SelectObject(backgroundDC.get(), backgroundBitmap.get());
}

HBITMAP CMonitorDlg::ScaledBitmap(HBITMAP original) const {
  BITMAP size = {};
  if (GetObjectA(original, sizeof size, &size) == 0) return nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP scaled = CreateCompatibleBitmap(screen, layout.windowWidth, layout.windowHeight);
  ReleaseDC(nullptr, screen);
  COwnedMemoryDC from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
  if (!scaled || !from || !to) return scaled;
  const HGDIOBJ fromOriginal = SelectObject(from.get(), original);
  const HGDIOBJ toOriginal = SelectObject(to.get(), scaled);
  SetStretchBltMode(to.get(), HALFTONE);
  SetBrushOrgEx(to.get(), 0, 0, nullptr);
  StretchBlt(to.get(), 0, 0, layout.windowWidth, layout.windowHeight, from.get(), 0, 0, size.bmWidth,
             size.bmHeight, SRCCOPY);
  SelectObject(from.get(), fromOriginal);
  SelectObject(to.get(), toOriginal);
  return scaled;
}

// The two buttons are hidden; they keep their places of the 96-DPI window.
void CMonitorDlg::PlaceButtons() {
  configureButton.Move(layout.Scale(132), layout.Scale(25), layout.Scale(40), layout.Scale(30));
  exitButton.Move(layout.Scale(132), layout.Scale(70), layout.Scale(40), layout.Scale(30));
}

void CMonitorDlg::BuildPopupMenu() {
  popupMenu.CreatePopup();
  for (const MenuRow& row : kMenuRows) {
    if (row.id == 0)
      popupMenu.AppendSeparator();
    else
      popupMenu.Append(row.id, row.text);
  }
}

void CMonitorDlg::CheckMenuGroup(UINT first, UINT last, UINT chosen) {
  for (UINT id = first; id <= last; ++id) popupMenu.CheckItem(id, false);
  popupMenu.CheckItem(chosen, true);
}

void CMonitorDlg::PlaceWindow() {
  int32_t& x = settings.startX;
  int32_t& y = settings.startY;
  x = OnScreen(x, layout.windowWidth, GetSystemMetrics(SM_XVIRTUALSCREEN),
               GetSystemMetrics(SM_CXVIRTUALSCREEN));
  y = OnScreen(y, layout.windowHeight, GetSystemMetrics(SM_YVIRTUALSCREEN),
               GetSystemMetrics(SM_CYVIRTUALSCREEN));
  SetWindowPos(hwnd(), settings.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, x, y, layout.windowWidth,
               layout.windowHeight, SWP_SHOWWINDOW);
  popupMenu.CheckItem(IDM_ALWAYS_ON_TOP, settings.alwaysOnTop != 0);
  if (settings.trayOnly) SetWindowPos(hwnd(), HWND_TOPMOST, x, y, 0, 0, 0);
}

// Until the user has chosen an interface in Configure, each start watches the first live one. The
// statistics objects read their preset indexes as they are made.
bool CMonitorDlg::DiscoverInterfaces() {
  if (const char* failure = platform.ipHelper.DiscoverInterfaces()) {
    ShowAppMessage(hwnd(), failure);
    return false;
  }
  if (!model.CreateInterfaceStats(platform.ipHelper.Count())) return false;
  model.ChooseFirstInterface();
  platform.CreateGraphPanel(layout);
  platform.StartTimers(settings.refreshPeriodMs);
  return true;
}

INT_PTR CMonitorDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return FALSE;
    case WM_QUERYDRAGICON:
      return INT_PTR(appIcon);
    case WM_TIMER:
      OnTimer(wParam);
      return FALSE;
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(lParam);
      return FALSE;
    case WM_MOVE:
      return TRUE;
    case WM_RBUTTONDOWN:
      OnRightButtonDown();
      return FALSE;
    case kTrayCallbackMessage:
      OnTrayNotify(lParam);
      return TRUE;
    case WM_LBUTTONDBLCLK:
      OnLeftButtonDoubleClick();
      return FALSE;
    case WM_POWERBROADCAST:
      OnPowerBroadcast(wParam);
      return TRUE;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return FALSE;
    case WM_ENDSESSION:
      if (wParam) StopForEnding();
      return FALSE;
    default:
      break;
  }
  if (message == taskbarCreatedMessage && message != 0) {
    platform.trayIcon.Readd();
    return TRUE;
  }
  handled = false;
  return FALSE;
}

void CMonitorDlg::OnPaint() {
  if (!IsIconic(hwnd())) {
    if (platform.WindowDc() && backgroundDC)
      BitBlt(platform.WindowDc(), 0, 0, layout.windowWidth, layout.windowHeight, backgroundDC.get(), 0, 0,
             SRCCOPY);
    platform.ForgetShownPanel();
    // The dialog manager's default handling validates the window.
    ValidateRect(hwnd(), nullptr);
    return;
  }
  CPaintDC paint(hwnd());
  SendMessageA(hwnd(), WM_ICONERASEBKGND, WPARAM(paint.get()), 0);
  RECT client;
  GetClientRect(hwnd(), &client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(paint.get(), x, y, appIcon);
}

void CMonitorDlg::OnLeftButtonDown(LPARAM lParam) {
  // A press anywhere starts moving the window, as on a caption.
  PostMessageA(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(LOWORD(lParam), HIWORD(lParam)));
}

void CMonitorDlg::OnLeftButtonDoubleClick() {
  HideToTray();
}

void CMonitorDlg::OnRightButtonDown() {
  RECT window;
  GetWindowRect(hwnd(), &window);
  popupMenu.TrackPopup(0, window.left + 15, window.top + 15, hwnd());
}

void CMonitorDlg::OnTimer(UINT_PTR id) {
  if (id == kStatisticsTimerId) {
    model.OnStatisticsTick();
    WatchAllowance();
  } else if (id == kGraphTimerId)
    model.OnGraphTick();
}

// Adapters come back from sleep under new indexes or with counters started again; the table is read
// again and every counter takes a new baseline, so the time asleep is not counted as traffic.
void CMonitorDlg::OnPowerBroadcast(WPARAM event) {
  if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) platform.ipHelper.Resume();
}

void CMonitorDlg::OnTrayNotify(LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONDBLCLK) {
    SetWindowPos(hwnd(), settings.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, settings.startX,
                 settings.startY, layout.windowWidth, layout.windowHeight, SWP_NOMOVE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    settings.trayOnly = 0;
  } else if (mouseMessage == WM_RBUTTONDOWN) {
    POINT cursor;
    GetCursorPos(&cursor);
    SetForegroundWindow(hwnd());
    popupMenu.TrackPopup(0, cursor.x, cursor.y, hwnd());
    // Lets the menu close when the user clicks elsewhere after it was opened from the tray.
    PostMessageA(hwnd(), WM_NULL, 0, 0);
  }
}

// Menu commands carry no control; a control's notification goes straight to the base.
BOOL CMonitorDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (control == nullptr) OnMenuCommand(id);
  return CDialog::OnCommand(id, code, control);
}

void CMonitorDlg::OnMenuCommand(UINT id) {
  if (id == IDM_ALWAYS_ON_TOP) {
    ToggleAlwaysOnTop();
  } else if (id == IDM_TRAY_ONLY) {
    HideToTray();
  } else if (id >= IDM_RECEIVE_FIRST && id <= IDM_RECEIVE_LAST) {
    CheckMenuGroup(IDM_RECEIVE_FIRST, IDM_RECEIVE_LAST, id);
    settings.receiveStatSelection = int32_t(id - IDM_RECEIVE_FIRST);
  } else if (id >= IDM_SEND_FIRST && id <= IDM_SEND_LAST) {
    CheckMenuGroup(IDM_SEND_FIRST, IDM_SEND_LAST, id);
    settings.sendStatSelection = int32_t(id - IDM_SEND_FIRST);
  } else if (id == IDM_SETUP) {
    RunConfigure(model, hwnd());
  } else if (id == IDM_USAGE) {
    if (RunUsageDialog(model, platform.logSink.Now(), hwnd())) allowanceWatch.Forget();
  } else if (id == IDM_ABOUT) {
    RunAboutDialog(hwnd());
  } else if (id == IDM_EXIT) {
    TearDown();
    exit(0);
  } else if (id == IDM_STAT_CONSOLE) {
    ShowAppMessage(hwnd(), "Sorry, this function hasn't been implemented yet !");
  }
}

// The log is read at the first second and once a day; the seconds between only add the counts.
void CMonitorDlg::WatchAllowance() {
  const CTrafficStats* stats = model.SelectedStats();
  if (stats == nullptr || settings.allowanceAmount <= 0) return;
  if (allowanceLogRow != settings.selectedInterface) {
    model.SelectedLogFileName(allowanceLogPath, sizeof allowanceLogPath);
    allowanceLogRow = settings.selectedInterface;
  }
  const LocalDateTime now = platform.logSink.Now();
  const CountedBytes counted{stats->totalSent + stats->totalReceived,
                             stats->logMarkSent + stats->logMarkReceived};
  const int32_t percent = allowanceWatch.OnStatisticsTick(settings, now, allowanceLogPath, counted);
  if (percent == 0) return;
  model.WriteAllowanceSettings();
  char text[200];
  FormatAllowanceNotice(percent, allowanceWatch.PeriodTotal(), settings,
                        PeriodStart(CalendarDate{now.year, now.month, now.day}, settings.allowanceStartDay),
                        text, sizeof text);
  platform.trayIcon.ShowNotice("Quintrel: monthly allowance", text);
}

void CMonitorDlg::ToggleAlwaysOnTop() {
  const bool makeTopmost = settings.alwaysOnTop != 1;
  SetWindowPos(hwnd(), makeTopmost ? HWND_TOPMOST : HWND_NOTOPMOST, settings.startX, settings.startY,
               layout.windowWidth, layout.windowHeight, SWP_NOMOVE);
  settings.alwaysOnTop = makeTopmost ? 1 : 0;
  popupMenu.CheckItem(IDM_ALWAYS_ON_TOP, makeTopmost);
}

void CMonitorDlg::ResizeTrayIcon(UINT dpi) {
  platform.trayIcon.Resize(SmallIconSizeForDpi(dpi));
  model.RedrawTrayIcon();
}

void CMonitorDlg::HideToTray() {
  ShowWindow(hwnd(), SW_HIDE);
  settings.trayOnly = 1;
}

void CMonitorDlg::SaveExitSettings() {
  RECT window;
  const bool known = GetWindowRect(hwnd(), &window) != FALSE;
  model.WriteExitSettings(
      WindowOrigin{known, known ? int32_t(window.left) : 0, known ? int32_t(window.top) : 0});
}

void CMonitorDlg::TearDown() {
  platform.StopTimers();
  platform.ipHelper.Release();
  if (backgroundDC && backgroundOriginalBitmap) SelectObject(backgroundDC.get(), backgroundOriginalBitmap);
  backgroundOriginalBitmap = nullptr;
  backgroundBitmap.Reset();
  model.FreeInterfaceStats();
  backgroundDC.Reset();
  platform.ReleaseSurfaceBitmaps();
  SaveExitSettings();
  platform.trayIcon.Delete();
  ended = true;
}

// Enter, Escape, a close request and the end of the session save what Exit saves, write the minute
// waiting in a "cable" box and take the icon out of the tray, so the position and every minute are
// kept and no dead icon is left behind.
void CMonitorDlg::StopForEnding() {
  if (ended) return;
  platform.StopTimers();
  model.FlushLog();
  SaveExitSettings();
  platform.trayIcon.Delete();
  ended = true;
}

void CMonitorDlg::OnOK() {
  StopForEnding();
  CDialog::OnOK();
}

void CMonitorDlg::OnCancel() {
  StopForEnding();
  CDialog::OnCancel();
}
