// What the meter would show, recorded: messages, the graph panel's drawing calls, the tray
// picture, tooltip and balloons, and the graph timer's restarts.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "meter/meter_view.h"
#include "render/pixel_surface.h"
#include "support/recording_canvas.h"

class StubMeterView : public IMeterView {
 public:
  void ShowMessage(const char* text) override;
  IPanelCanvas* GraphCanvas() override { return hasCanvas ? &canvas : nullptr; }
  PixelSurface& TrayImage() override { return *trayImage; }
  bool ShowGraphPanel() override;
  bool ReplaceTrayIcon(const char* tooltip) override;
  bool ShowTrayNotice(const char* title, const char* text) override;
  void ShowTaskbarReadout(bool on, bool everyTaskbar) override {
    readoutOn = on;
    readoutOnEveryTaskbar = everyTaskbar;
  }
  void ShowReadoutRates(uint64_t received, uint64_t sent, const char* tip) override;
  void RestartGraphTimer(int32_t periodMs) override { restartPeriods.push_back(periodMs); }

  std::vector<std::string> messages;
  // Runs while a message box would be open, as the ticks go on inside one.
  std::function<void(const char* text)> whileMessageOpen;
  RecordingPanelCanvas canvas;
  // False as when the graph panel could not be made.
  bool hasCanvas = true;
  // A new picture of this side, as the tray icon makes when the DPI changes.
  void ResizeTrayImage(int32_t side) { trayImage = std::make_unique<MemorySurface>(side, side); }
  std::unique_ptr<MemorySurface> trayImage = std::make_unique<MemorySurface>(16, 16);
  int showGraphPanelCount = 0;
  int replaceTrayIconCount = 0;
  bool shellTakesIcons = true;
  char lastTooltip[64] = {};
  // The balloons the shell took, and whether it takes the next ones.
  std::vector<std::string> notices;
  bool shellTakesNotices = true;
  std::vector<int32_t> restartPeriods;
  // The taskbar readout: whether it is on, how often it was handed rates, and the last ones as
  // "received/sent tip" (kept without allocating, as the ticks must not).
  bool readoutOn = false;
  bool readoutOnEveryTaskbar = false;
  int readoutRatesCount = 0;
  char lastReadoutRates[128] = {};
};
