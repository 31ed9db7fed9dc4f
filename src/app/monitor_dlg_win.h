// The main window: a captionless 180 x 120 tool window that owns all run-time state.
#pragma once

#include <windows.h>

#include <optional>

#include "app/monitor_model.h"
#include "app/tray_icon_win.h"
#include "fw/button_win.h"
#include "fw/dialog_win.h"
#include "fw/gdi_win.h"
#include "fw/menu_win.h"
#include "render/dib_surface_win.h"
#include "render/gdi_canvas_win.h"
#include "sampling/ip_helper_win.h"

constexpr UINT_PTR kGraphTimerId = 10;
constexpr UINT_PTR kStatisticsTimerId = 11;
constexpr int kWindowWidth = 180;
constexpr int kWindowHeight = 120;
constexpr int kPanelX = 9;
constexpr int kPanelY = 10;
constexpr const char* kAppTitle = "Quintrel";

class CMonitorDlg : public CDialog, public IMonitorPlatform, public MonitorModel {
 public:
  explicit CMonitorDlg(IProfile& profile, HWND parent = nullptr);
  ~CMonitorDlg() override;

  // The Exit command's shutdown: timers, library, statistics, drawing objects, exit group, tray icon.
  void TearDown();
  bool DiscoverInterfaces();

  // IMonitorPlatform
  CounterPair ReadCounters(int32_t row) override { return ipHelper.ReadCounters(row); }
  const char* InterfaceDescription(int32_t row) override { return ipHelper.Description(row); }
  uint32_t InterfaceOperStatus(int32_t row) override { return ipHelper.OperStatus(row); }
  std::unique_ptr<ILogFile> OpenLogFile(const char* fileName) override;
  size_t MaxLogFileNameLength() override;
  LocalDateTime Now() override;
  void ShowMessage(const char* text) override;
  IPanelCanvas& GraphCanvas() override { return *graphCanvas; }
  PixelSurface& TrayImage() override { return trayIcon.Image(); }
  void ShowGraphPanel() override;
  void ReplaceTrayIcon(const char* tooltip) override { trayIcon.Replace(tooltip); }

  void RestartGraphTimer() override;

 protected:
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void DoDataExchange() override;
  void OnOK() override;
  void OnCancel() override;

 private:
  void LoadDrawingResources();
  void BuildPopupMenu();
  void CheckMenuGroup(UINT first, UINT last, UINT chosen);
  void PlaceWindow();
  void OnPaint();
  void OnLeftButtonDown(LPARAM lParam);
  void OnLeftButtonDoubleClick();
  void OnRightButtonDown();
  void OnTimer(UINT_PTR id);
  void OnTrayNotify(LPARAM mouseMessage);
  void ToggleAlwaysOnTop();
  void HideToTray();
  void SaveExitSettings();
  void StopForEnding();

  COwnedBitmap backgroundBitmap;
  COwnedMemoryDC backgroundDC;
  HGDIOBJ backgroundOriginalBitmap = nullptr;
  GraphDrawingTools graphTools;
  std::optional<GdiPanelCanvas> graphCanvas;
  HDC windowDC = nullptr;
  HICON appIcon = nullptr;
  CMenu popupMenu;
  CButton exitButton;
  CButton configureButton;
  CTrayIcon trayIcon;
  CIpHelper ipHelper;
  UINT taskbarCreatedMessage = 0;
  bool timersRunning = false;
  bool ended = false;
};
