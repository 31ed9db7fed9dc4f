// What the meter would show, recorded: messages, the graph panel's drawing calls, the tray
// picture and tooltip, and the graph timer's restarts.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/meter_view.h"
#include "render/pixel_surface.h"
#include "support/recording_canvas.h"
#include "support/stub_calls.h"

class StubMeterView : public IMeterView {
 public:
  explicit StubMeterView(StubCallLog* calls = nullptr) : calls(calls) {}

  void ShowMessage(const char* text) override;
  // Each paint starts here, so the canvas holds the calls of the last paint only.
  IPanelCanvas& GraphCanvas() override;
  PixelSurface& TrayImage() override;
  void ShowGraphPanel() override;
  bool ReplaceTrayIcon(const char* tooltip) override;
  void RestartGraphTimer(int32_t periodMs) override;

  std::vector<std::string> messages;
  // Runs while a message box would be open, as the ticks go on inside one.
  std::function<void(const char* text)> whileMessageOpen;
  RecordingPanelCanvas canvas;
  // A new picture of this side, as the tray icon makes when the DPI changes.
  void ResizeTrayImage(int32_t side) { trayImage = std::make_unique<MemorySurface>(side, side); }
  std::unique_ptr<MemorySurface> trayImage = std::make_unique<MemorySurface>(16, 16);
  int showGraphPanelCount = 0;
  int replaceTrayIconCount = 0;
  bool shellTakesIcons = true;
  char lastTooltip[64] = {};
  std::vector<int32_t> restartPeriods;

 private:
  StubCallLog* calls;
};
