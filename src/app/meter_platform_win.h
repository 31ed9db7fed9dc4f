// The meter's Win32 side behind the model's ports: the IP helper, the logs on disk, the tray icon,
// the graph surface with its canvas, the window's DC and the two timers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "app/meter_view.h"
#include "app/tray_icon_win.h"
#include "log/log_file_win.h"
#include "render/dib_surface_win.h"
#include "render/gdi_canvas_win.h"
#include "render/meter_layout.h"
#include "sampling/ip_helper_win.h"

constexpr UINT_PTR kGraphTimerId = 10;
constexpr UINT_PTR kStatisticsTimerId = 11;

class CMeterPlatform : public IMeterView {
 public:
  CMeterPlatform() = default;
  CMeterPlatform(const CMeterPlatform&) = delete;
  CMeterPlatform& operator=(const CMeterPlatform&) = delete;

  // The window that owns the messages, the timers and the tray icon's callbacks; its DC is taken
  // once and kept.
  void Attach(HWND mainWindow);
  HDC WindowDc() const { return windowDC; }

  void ShowMessage(const char* text) override;
  IPanelCanvas& GraphCanvas() override { return *graphCanvas; }
  PixelSurface& TrayImage() override { return trayIcon.Image(); }
  void ShowGraphPanel() override;
  // The window was painted over the panel: the next ShowGraphPanel copies it whatever it holds.
  void ForgetShownPanel() { panelShown = false; }
  bool ReplaceTrayIcon(const char* tooltip) override { return trayIcon.Replace(tooltip) != FALSE; }
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
  GraphDrawingTools graphTools;

 private:
  HWND window = nullptr;
  HDC windowDC = nullptr;
  CDibSurface graphSurface;
  int panelX = 0, panelY = 0;
  std::optional<GdiPanelCanvas> graphCanvas;
  bool timersRunning = false;
  // The pixels last copied to the window.
  std::vector<uint8_t> shownPanel;
  bool panelShown = false;
};
