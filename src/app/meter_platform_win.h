// The meter's Win32 side behind the model's ports: the IP helper, the logs on disk, the tray icon,
// the taskbar readout, the graph surface with its canvas, the window's DC and the two timers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "app/tray_icon_win.h"
#include "fw/gdi_win.h"
#include "log/log_file_win.h"
#include "meter/meter_view.h"
#include "render/dib_surface_win.h"
#include "render/gdi_canvas_win.h"
#include "render/meter_layout.h"
#include "sampling/ip_helper_win.h"
#include "taskbar/taskbar_readout_win.h"

constexpr UINT_PTR kGraphTimerId = 10;
constexpr UINT_PTR kStatisticsTimerId = 11;

class CMeterPlatform : public IMeterView {
 public:
  // The readout's clicks go to its owner, the main window.
  explicit CMeterPlatform(ITaskbarReadoutOwner& readoutOwner) : taskbarReadout(readoutOwner) {}
  CMeterPlatform(const CMeterPlatform&) = delete;
  CMeterPlatform& operator=(const CMeterPlatform&) = delete;

  // The window that owns the messages, the timers and the tray icon's callbacks; its DC is taken
  // once and kept until the platform goes.
  void Attach(HWND mainWindow);
  // The window is going: its DC is given back.
  void Detach() { windowDC.Release(); }
  HDC WindowDc() const { return windowDC.get(); }

  void ShowMessage(const char* text) override;
  IPanelCanvas* GraphCanvas() override { return graphCanvas ? &*graphCanvas : nullptr; }
  PixelSurface& TrayImage() override { return trayIcon.Image(); }
  bool ShowGraphPanel() override;
  bool ReplaceTrayIcon(const char* tooltip) override { return trayIcon.Replace(tooltip) != FALSE; }
  bool ShowTrayNotice(const char* title, const char* text) override {
    return trayIcon.ShowNotice(title, text) != FALSE;
  }
  void ShowTaskbarReadout(bool on, bool everyTaskbar) override { taskbarReadout.Enable(on, everyTaskbar); }
  void ShowReadoutRates(uint64_t received, uint64_t sent, const char* tip) override {
    taskbarReadout.SetTip(tip);
    taskbarReadout.SetRates(received, sent);
  }
  void RestartGraphTimer(int32_t periodMs) override;

  // The graph surface at the layout's panel size, with a transparent text background and the two
  // pens at its line width; the panel is shown at the layout's place in the window.
  void CreateGraphPanel(const MeterLayout& layout);
  bool HasGraphPanel() const { return graphCanvas.has_value(); }
  // The canvas first, which gives the surface's DC its own pen and font back, then the surface.
  void ReleaseGraphPanel();
  void StartTimers(int32_t graphPeriodMs);
  void StopTimers();
  // The bitmaps of the graph surface and of the tray's two surfaces, in that order.
  void ReleaseSurfaceBitmaps();

  CIpHelper ipHelper;
  CLogSinkWin logSink;
  CTrayIcon trayIcon;
  CTaskbarReadout taskbarReadout;
  GraphDrawingTools graphTools;

 private:
  HWND window = nullptr;
  CWindowDC windowDC;
  CDibSurface graphSurface;
  int panelX = 0, panelY = 0;
  std::optional<GdiPanelCanvas> graphCanvas;
  bool timersRunning = false;
};
