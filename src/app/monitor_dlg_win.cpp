// The main window: start-up, painting, mouse, popup menu, commands, ticks and shutdown.
#include "app/monitor_dlg_win.h"

#include <cstdlib>
#include <utility>

#include "dialogs/about_dlg_win.h"
#include "dialogs/configure_dlg_win.h"
#include "dialogs/usage_dlg_win.h"
#include "fw/app_win.h"
#include "fw/dpi_win.h"
#include "fw/gdi_win.h"
#include "fw/message_box_win.h"
#include "meter/window_place.h"
#include "resource.h"

namespace {

struct MenuRow {
  UINT id;  // 0: separator
  const char* text;
};

const MenuRow kMenuRows[] = {
    {IDM_ALWAYS_ON_TOP, "Always On Top"},
    {IDM_TRAY_ONLY, "Only tray icon"},
    {IDM_TASKBAR_READOUT, "Taskbar readout"},
    {IDM_EVERY_TASKBAR, "On every taskbar"},
    {0, nullptr},
    {IDM_CURRENT_RECEIVE, "Current Receive"},
    {IDM_MINUTE_AVERAGE_RECEIVE, "Last min. avg"},
    {IDM_HOUR_AVERAGE_RECEIVE, "Last hour avg"},
    {IDM_TOTAL_RECEIVED, "Total Received"},
    {IDM_BANDWIDTH_RECEIVE, "% Bandwidth"},
    {IDM_MINUTE_BANDWIDTH_RECEIVE, "% 1 min. Bandwidth"},
    {IDM_HOUR_BANDWIDTH_RECEIVE, "% 1 hour Bandwidth"},
    {0, nullptr},
    {IDM_CURRENT_SEND, "Current Send"},
    {IDM_MINUTE_AVERAGE_SEND, "Last min. avg"},
    {IDM_HOUR_AVERAGE_SEND, "Last hour avg"},
    {IDM_TOTAL_SENT, "Total Sent"},
    {IDM_BANDWIDTH_SEND, "% Bandwidth"},
    {IDM_MINUTE_BANDWIDTH_SEND, "% 1 min. Bandwidth"},
    {IDM_HOUR_BANDWIDTH_SEND, "% 1 hour Bandwidth"},
    {0, nullptr},
    {IDM_SETUP, "SETUP"},
    {IDM_USAGE, "Usage..."},
    {0, nullptr},
    {IDM_STAT_CONSOLE, "StatConsole"},
    {0, nullptr},
    {IDM_ABOUT, "About"},
    {IDM_EXIT, "Exit"},
};

}  // namespace

CMonitorDlg::CMonitorDlg(IProfile& settingsProfile, HWND parent)
    : CDialog(IDD_MONITOR_DIALOG, parent),
      model(platform.ipHelper, platform.logSink, platform, settingsProfile),
      settings(model.settings) {
  appIcon = LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDI_APP_MISSING));
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
  if (!platform.trayIcon.CreateFirstIcon(SmallIconSizeForDpi(TaskbarDpi()))) ShowAppMessage(hwnd(), "er3");
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG,
               LPARAM(LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDI_WINDOW_BIG))));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL,
               LPARAM(LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDI_APP_SMALL_MISSING))));

  platform.Attach(hwnd());

  platform.trayIcon.Add();
  taskbarCreatedMessage = CTrayIcon::TaskbarCreatedMessage();

  BuildPopupMenu();
  if (const int32_t receive = model.ReceiveStatistic(); receive >= 0)
    CheckMenuGroup(IDM_RECEIVE_FIRST, IDM_RECEIVE_LAST, IDM_RECEIVE_FIRST + receive);
  if (const int32_t send = model.SendStatistic(); send >= 0)
    CheckMenuGroup(IDM_SEND_FIRST, IDM_SEND_LAST, IDM_SEND_FIRST + send);
  PlaceWindow();

  DiscoverInterfaces();
  model.ValidateSelectedInterface();
  model.WatchSelectedInterface();
  CheckTaskbarItems();
  model.ShowStoredTaskbarReadout();
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
  ResizeTrayIcon();
  if (suggested != nullptr)
    SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, layout.windowWidth, layout.windowHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  model.PaintGraphPanel();
  InvalidateRect(hwnd(), nullptr, FALSE);
}

// The background is drawn for 96 DPI; at any other it is stretched with halftoning, which keeps
// its soft texture soft rather than blocky.
void CMonitorDlg::LoadDrawingResources() {
  backgroundSelection.Restore();
  backgroundBitmap.Reset(static_cast<HBITMAP>(
      LoadImageA(AppInstance(), MAKEINTRESOURCEA(IDB_BACKGROUND), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (layout.dpi != kBaseDpi && backgroundBitmap)
    backgroundBitmap.Reset(ScaledBitmap(backgroundBitmap.get()));
  backgroundDC.Reset(CreateCompatibleDC(nullptr));
  backgroundSelection.Select(backgroundDC.get(), backgroundBitmap.get());
}

HBITMAP CMonitorDlg::ScaledBitmap(HBITMAP original) const {
  BITMAP size = {};
  if (GetObjectA(original, sizeof size, &size) == 0) return nullptr;
  HBITMAP scaled = CreateCompatibleBitmap(CWindowDC(nullptr).get(), layout.windowWidth, layout.windowHeight);
  COwnedMemoryDC from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
  if (!scaled || !from || !to) return scaled;
  const CSelectObject fromSelection(from.get(), original), toSelection(to.get(), scaled);
  SetStretchBltMode(to.get(), HALFTONE);
  SetBrushOrgEx(to.get(), 0, 0, nullptr);
  StretchBlt(to.get(), 0, 0, layout.windowWidth, layout.windowHeight, from.get(), 0, 0, size.bmWidth,
             size.bmHeight, SRCCOPY);
  return scaled;
}

// The two buttons are hidden; they keep their places of the 96-DPI window.
void CMonitorDlg::PlaceButtons() {
  for (const auto& [button, place] :
       {std::pair{&configureButton, layout.configureButton}, std::pair{&exitButton, layout.exitButton}})
    button->Move(place.x, place.y, place.width, place.height);
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
  const ScreenArea screens{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                           GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  const WindowPoint stored = StoredPlaceInPixels(WindowPoint{settings.startX, settings.startY},
                                                 settings.placeInPixels != 0, int32_t(SystemDpi()));
  const WindowPoint place = PlaceOnScreen(stored, layout.windowWidth, layout.windowHeight, screens);
  const int32_t x = settings.startX = place.x;
  const int32_t y = settings.startY = place.y;
  SetWindowPos(hwnd(), settings.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, x, y, layout.windowWidth,
               layout.windowHeight, SWP_SHOWWINDOW);
  popupMenu.CheckItem(IDM_ALWAYS_ON_TOP, settings.alwaysOnTop != 0);
  if (settings.trayOnly) SetWindowPos(hwnd(), HWND_TOPMOST, x, y, 0, 0, 0);
}

// The stored interface by its identity, or until the user has chosen one in Configure, the first
// live one. The statistics objects read their preset indexes as they are made.
bool CMonitorDlg::DiscoverInterfaces() {
  if (const char* failure = platform.ipHelper.DiscoverInterfaces()) {
    ShowAppMessage(hwnd(), failure);
    return false;
  }
  if (!model.CreateInterfaceStats(platform.ipHelper.Count())) return false;
  platform.ipHelper.FollowInterfaceChanges(hwnd(), kInterfacesChangedMessage);
  model.StartWatching();
  platform.CreateGraphPanel(layout);
  platform.StartTimers(settings.refreshPeriodMs);
  return true;
}

INT_PTR CMonitorDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (message) {
    case WM_QUERYDRAGICON:
      return INT_PTR(appIcon);
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
    case kInterfacesChangedMessage:
      if (!ended) model.InterfacesChanged();
      return TRUE;
    case WM_DPICHANGED:
      // Handled: the dialog manager's own scaling would lay the window out again after ours.
      OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) StopForEnding();
      return FALSE;
    case WM_DISPLAYCHANGE:
      if (!ended) ResizeTrayIcon();
      return FALSE;
    default:
      break;
  }
  if (message == taskbarCreatedMessage && message != 0) {
    platform.trayIcon.Readd();
    if (!ended) ResizeTrayIcon();
    return TRUE;
  }
  handled = false;
  return FALSE;
}

BOOL CMonitorDlg::OnPaint() {
  if (!IsIconic(hwnd())) {
    if (platform.WindowDc() && backgroundDC)
      BitBlt(platform.WindowDc(), 0, 0, layout.windowWidth, layout.windowHeight, backgroundDC.get(), 0, 0,
             SRCCOPY);
    model.ForgetShownPanel();
    // The dialog manager's default handling validates the window.
    ValidateRect(hwnd(), nullptr);
    return FALSE;
  }
  CPaintDC paint(hwnd());
  SendMessageA(hwnd(), WM_ICONERASEBKGND, WPARAM(paint.get()), 0);
  RECT client;
  GetClientRect(hwnd(), &client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(paint.get(), x, y, appIcon);
  return FALSE;
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
  popupMenu.TrackPopup(0, window.left + layout.menuOffset, window.top + layout.menuOffset, hwnd());
}

void CMonitorDlg::OnTimer(UINT_PTR id) {
  if (id == kStatisticsTimerId)
    model.OnStatisticsTick();
  else if (id == kGraphTimerId)
    model.OnGraphTick();
}

// Adapters come back from sleep under new indexes or with counters started again; the table is read
// again and every counter takes a new baseline, so the time asleep is not counted as traffic. A
// missing adapter is waited for again.
void CMonitorDlg::OnPowerBroadcast(WPARAM event) {
  if (event != PBT_APMRESUMEAUTOMATIC && event != PBT_APMRESUMESUSPEND) return;
  platform.ipHelper.Resume();
  if (!ended) model.InterfacesChanged();
}

void CMonitorDlg::OnTrayNotify(LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONDBLCLK) {
    RestoreFromTray();
  } else if (mouseMessage == WM_RBUTTONDOWN) {
    POINT cursor;
    GetCursorPos(&cursor);
    OpenMenuAt(cursor);
  }
}

void CMonitorDlg::RestoreFromTray() {
  SetWindowPos(hwnd(), settings.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, settings.startX, settings.startY,
               layout.windowWidth, layout.windowHeight, SWP_NOMOVE);
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  settings.trayOnly = 0;
}

void CMonitorDlg::OpenMenuAt(POINT screenPoint) {
  SetForegroundWindow(hwnd());
  popupMenu.TrackPopup(0, screenPoint.x, screenPoint.y, hwnd());
  // Lets the menu close when the user clicks elsewhere after it was opened outside the window.
  PostMessageA(hwnd(), WM_NULL, 0, 0);
}

void CMonitorDlg::OnReadoutClick() {
  if (IsWindowVisible(hwnd()))
    HideToTray();
  else
    RestoreFromTray();
}

void CMonitorDlg::OnReadoutMenu(POINT screenPoint) {
  OpenMenuAt(screenPoint);
}

void CMonitorDlg::CheckTaskbarItems() {
  popupMenu.CheckItem(IDM_TASKBAR_READOUT, settings.taskbarReadout != 0);
  popupMenu.CheckItem(IDM_EVERY_TASKBAR, settings.everyTaskbar != 0);
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
  } else if (id == IDM_TASKBAR_READOUT || id == IDM_EVERY_TASKBAR) {
    const bool on = settings.taskbarReadout != 0, every = settings.everyTaskbar != 0;
    model.SetTaskbarReadout(id == IDM_TASKBAR_READOUT ? !on : on, id == IDM_EVERY_TASKBAR ? !every : every);
    CheckTaskbarItems();
  } else if (id >= IDM_RECEIVE_FIRST && id <= IDM_RECEIVE_LAST) {
    CheckMenuGroup(IDM_RECEIVE_FIRST, IDM_RECEIVE_LAST, id);
    model.SelectReceiveStatistic(int32_t(id - IDM_RECEIVE_FIRST));
  } else if (id >= IDM_SEND_FIRST && id <= IDM_SEND_LAST) {
    CheckMenuGroup(IDM_SEND_FIRST, IDM_SEND_LAST, id);
    model.SelectSendStatistic(int32_t(id - IDM_SEND_FIRST));
  } else if (id == IDM_SETUP) {
    RunConfigure(configurePort, hwnd());
  } else if (id == IDM_USAGE) {
    RunUsageDialog(usagePort, hwnd());
  } else if (id == IDM_ABOUT) {
    RunAboutDialog(hwnd());
  } else if (id == IDM_EXIT) {
    TearDown();
    exit(0);
  } else if (id == IDM_STAT_CONSOLE) {
    ShowAppMessage(hwnd(), "Sorry, this function hasn't been implemented yet !");
  }
}

void CMonitorDlg::ToggleAlwaysOnTop() {
  const bool makeTopmost = settings.alwaysOnTop != 1;
  SetWindowPos(hwnd(), makeTopmost ? HWND_TOPMOST : HWND_NOTOPMOST, settings.startX, settings.startY,
               layout.windowWidth, layout.windowHeight, SWP_NOMOVE);
  settings.alwaysOnTop = makeTopmost ? 1 : 0;
  popupMenu.CheckItem(IDM_ALWAYS_ON_TOP, makeTopmost);
}

// The notification area is on the taskbar's monitor, whatever monitor the window is on.
void CMonitorDlg::ResizeTrayIcon() {
  platform.trayIcon.Resize(SmallIconSizeForDpi(TaskbarDpi()));
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
  platform.taskbarReadout.Enable(false, false);
  platform.ipHelper.Release();
  backgroundSelection.Restore();
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
  platform.taskbarReadout.Enable(false, false);
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

void CMonitorDlg::OnDestroy() {
  platform.Detach();
}
