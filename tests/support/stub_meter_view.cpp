// The test's record of what the meter shows.
#include "support/stub_meter_view.h"

#include <cstdio>

void StubMeterView::ShowMessage(const char* text) {
  if (calls) calls->Record(StubCall::ShowMessage);
  messages.emplace_back(text);
  if (whileMessageOpen) whileMessageOpen(text);
}

IPanelCanvas& StubMeterView::GraphCanvas() {
  if (calls) calls->Record(StubCall::GraphCanvas);
  canvas.Forget();
  return canvas;
}

PixelSurface& StubMeterView::TrayImage() {
  if (calls) calls->Record(StubCall::TrayImage);
  return *trayImage;
}

void StubMeterView::ShowGraphPanel() {
  if (calls) calls->Record(StubCall::ShowGraphPanel);
  ++showGraphPanelCount;
}

bool StubMeterView::ReplaceTrayIcon(const char* tooltip) {
  if (calls) calls->Record(StubCall::ReplaceTrayIcon);
  ++replaceTrayIconCount;
  snprintf(lastTooltip, sizeof lastTooltip, "%s", tooltip);
  return shellTakesIcons;
}

void StubMeterView::RestartGraphTimer(int32_t periodMs) {
  if (calls) calls->Record(StubCall::RestartGraphTimer);
  restartPeriods.push_back(periodMs);
}
