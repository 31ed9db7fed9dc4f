// The main window: a captionless 180 x 120 tool window that owns all run-time state.
#pragma once

#include <windows.h>

#include "app/dialog_ports.h"
#include "app/meter_platform_win.h"
#include "fw/button_win.h"
#include "fw/dialog_win.h"
#include "fw/gdi_win.h"
#include "fw/menu_win.h"
#include "fw/owned_handle_win.h"
#include "meter/monitor_model.h"
#include "render/meter_layout.h"

// Posted by the IP helper when an interface comes or goes.
constexpr UINT kInterfacesChangedMessage = WM_APP + 3;

class CMonitorDlg : public CDialog, private ITaskbarReadoutOwner {
 public:
  explicit CMonitorDlg(IProfile& profile, HWND parent = nullptr);

  // The Exit command's shutdown: timers, library, statistics, drawing objects, exit group, tray icon.
  void TearDown();
  bool DiscoverInterfaces();

 protected:
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(UINT id, UINT code, HWND control) override;
  void OnTimer(UINT_PTR id) override;
  BOOL OnPaint() override;
  void DoDataExchange() override;
  void OnOK() override;
  void OnCancel() override;
  void OnDestroy() override;

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
  void OnLeftButtonDown(LPARAM lParam);
  void OnLeftButtonDoubleClick();
  void OnRightButtonDown();
  void OnPowerBroadcast(WPARAM event);
  void OnTrayNotify(LPARAM mouseMessage);
  // A click on the taskbar readout shows the window, or hides it to the tray; a right click opens the
  // popup menu where it was made.
  void OnReadoutClick() override;
  void OnReadoutMenu(POINT screenPoint) override;
  void RestoreFromTray();
  void OpenMenuAt(POINT screenPoint);
  void CheckTaskbarItems();
  void OnMenuCommand(UINT id);
  void ToggleAlwaysOnTop();
  void HideToTray();
  // The tray icon at the shell's small-icon size for the taskbar's DPI, drawn again at once.
  void ResizeTrayIcon();
  void SaveExitSettings();
  void StopForEnding();

  CMeterPlatform platform{*this};
  MonitorModel model;
  MonitorSettings& settings;
  ConfigurePort configurePort{model};
  UsagePort usagePort{model, platform.logSink};
  MeterLayout layout = LayoutForDpi(kBaseDpi, 0, 0);
  COwnedBitmap backgroundBitmap;
  COwnedMemoryDC backgroundDC;
  // Holds the background in its DC for the window's life.
  CSelectObject backgroundSelection;
  HICON appIcon = nullptr;
  CMenu popupMenu;
  CButton exitButton;
  CButton configureButton;
  UINT taskbarCreatedMessage = 0;
  bool ended = false;
};
