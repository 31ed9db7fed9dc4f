// The main window: a captionless 180 x 120 tool window that owns all run-time state.
#pragma once

#include <windows.h>

#include "app/allowance_watch.h"
#include "app/meter_platform_win.h"
#include "app/monitor_model.h"
#include "fw/button_win.h"
#include "fw/dialog_win.h"
#include "fw/menu_win.h"
#include "fw/owned_handle_win.h"
#include "render/meter_layout.h"

class CMonitorDlg : public CDialog {
 public:
  explicit CMonitorDlg(IProfile& profile, HWND parent = nullptr);
  ~CMonitorDlg() override;

  // The Exit command's shutdown: timers, library, statistics, drawing objects, exit group, tray icon.
  void TearDown();
  bool DiscoverInterfaces();

 protected:
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(UINT id, UINT code, HWND control) override;
  void DoDataExchange() override;
  void OnOK() override;
  void OnCancel() override;

 private:
  // The sizes of everything the window draws, its font and background, at dpi.
  void ApplyDpi(UINT dpi);
  // Moved to a monitor of another DPI, or the scaling changed: everything drawn again at the new
  // DPI, the window at the place the system suggests.
  void OnDpiChanged(UINT dpi, const RECT* suggested);
  void LoadDrawingResources();
  HBITMAP ScaledBitmap(HBITMAP original) const;
  void PlaceButtons();
  void BuildPopupMenu();
  void CheckMenuGroup(UINT first, UINT last, UINT chosen);
  void PlaceWindow();
  void OnPaint();
  void OnLeftButtonDown(LPARAM lParam);
  void OnLeftButtonDoubleClick();
  void OnRightButtonDown();
  void OnTimer(UINT_PTR id);
  void OnPowerBroadcast(WPARAM event);
  void OnTrayNotify(LPARAM mouseMessage);
  void OnMenuCommand(UINT id);
  void ToggleAlwaysOnTop();
  // After a statistics tick: a balloon when the period's total first passes 80 % or 100 %.
  void WatchAllowance();
  void HideToTray();
  // The tray icon at the shell's small-icon size for dpi, drawn again at once.
  void ResizeTrayIcon(UINT dpi);
  void SaveExitSettings();
  void StopForEnding();

  CMeterPlatform platform;
  MonitorModel model;
  MonitorSettings& settings;
  MeterLayout layout = LayoutForDpi(kBaseDpi, 0, 0);
  COwnedBitmap backgroundBitmap;
  COwnedMemoryDC backgroundDC;
  HGDIOBJ backgroundOriginalBitmap = nullptr;
  HICON appIcon = nullptr;
  CMenu popupMenu;
  CButton exitButton;
  CButton configureButton;
  UINT taskbarCreatedMessage = 0;
  bool ended = false;
  AllowanceWatch allowanceWatch;
  char allowanceLogPath[MAX_PATH] = {};
  int32_t allowanceLogRow = -1;
};
