// The meter's ports on Win32: message boxes, the graph panel copied to the window, the tray icon
// and the timers of the main window.
#include "app/meter_platform_win.h"

#include "fw/message_box_win.h"

void CMeterPlatform::Attach(HWND mainWindow) {
  window = mainWindow;
  windowDC = GetDC(mainWindow);
  trayIcon.SetWindow(mainWindow);
}

void CMeterPlatform::ShowMessage(const char* text) {
  ShowAppMessage(window, text);
}

void CMeterPlatform::ShowGraphPanel() {
  if (windowDC) graphSurface.BlitTo(windowDC, kPanelX, kPanelY);
}

void CMeterPlatform::RestartGraphTimer(int32_t periodMs) {
  if (!timersRunning) return;
  KillTimer(window, kGraphTimerId);
  SetTimer(window, kGraphTimerId, UINT(periodMs), nullptr);
}

void CMeterPlatform::CreateGraphPanel(int32_t width, int32_t height) {
  graphSurface.Create(width, height, 24, nullptr);
  SetBkMode(graphSurface.Dc(), TRANSPARENT);
  graphTools.MakePens();
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
