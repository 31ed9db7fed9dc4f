// The meter's ports on Win32: message boxes, the graph panel copied to the window, the tray icon
// and the timers of the main window.
#include "app/meter_platform_win.h"

#include "fw/message_box_win.h"

void CMeterPlatform::Attach(HWND mainWindow) {
  window = mainWindow;
  windowDC.Reset(mainWindow);
  trayIcon.SetWindow(mainWindow);
}

void CMeterPlatform::ShowMessage(const char* text) {
  ShowAppMessage(window, text);
}

bool CMeterPlatform::ShowGraphPanel() {
  if (!windowDC || graphSurface.bits == nullptr) return false;
  GdiFlush();
  return graphSurface.BlitTo(windowDC.get(), panelX, panelY) != FALSE;
}

void CMeterPlatform::RestartGraphTimer(int32_t periodMs) {
  if (!timersRunning) return;
  KillTimer(window, kGraphTimerId);
  SetTimer(window, kGraphTimerId, UINT(periodMs), nullptr);
}

void CMeterPlatform::ReleaseGraphPanel() {
  graphCanvas.reset();
  graphSurface.Release();
}

void CMeterPlatform::CreateGraphPanel(const MeterLayout& layout) {
  ReleaseGraphPanel();
  graphSurface.Create(layout.panelWidth, layout.panelHeight, 24, nullptr);
  SetBkMode(graphSurface.Dc(), TRANSPARENT);
  graphTools.MakePens(layout.lineWidth);
  panelX = layout.panelX;
  panelY = layout.panelY;
  graphCanvas.emplace(graphSurface, graphTools);
}

void CMeterPlatform::StartTimers(int32_t graphPeriodMs) {
  SetTimer(window, kGraphTimerId, UINT(graphPeriodMs), nullptr);
  SetTimer(window, kStatisticsTimerId, 1000, nullptr);
  timersRunning = true;
}

void CMeterPlatform::StopTimers() {
  KillTimer(window, kGraphTimerId);
  KillTimer(window, kStatisticsTimerId);
  timersRunning = false;
}

void CMeterPlatform::ReleaseSurfaceBitmaps() {
  graphCanvas.reset();
  graphSurface.Release();
  trayIcon.ReleaseBitmaps();
}
