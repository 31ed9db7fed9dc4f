// A statistics object with a model around it that talks to no platform, for the render tests.
#pragma once

#include <cstdio>
#include <memory>

#include "app/monitor_model.h"
#include "stats/traffic_stats.h"
#include "support/recording_canvas.h"

class SilentPlatform : public IMonitorPlatform {
 public:
  CounterPair ReadCounters(int32_t) override { return {0, 0}; }
  const char* InterfaceDescription(int32_t) override { return ""; }
  uint32_t InterfaceOperStatus(int32_t) override { return 1; }
  std::unique_ptr<ILogFile> OpenLogFile(const char*) override { return nullptr; }
  size_t MaxLogFileNameLength() override { return 259; }
  LocalDateTime Now() override { return {2003, 5, 14, 3, 10, 20, 30}; }
  void ShowMessage(const char*) override {}
  IPanelCanvas& GraphCanvas() override { return canvas; }
  PixelSurface& TrayImage() override { return tray; }
  void ShowGraphPanel() override {}
  void ReplaceTrayIcon(const char*) override {}

  RecordingPanelCanvas canvas;
  MemorySurface tray{16, 16};
};

class SilentProfile : public IProfile {
 public:
  int32_t ReadInt(const char*, int32_t defaultValue) override { return defaultValue; }
  void WriteInt(const char*, int32_t) override {}
  void ReadSystemString(const char*, const char* defaultValue, char* out, size_t size) override {
    snprintf(out, size, "%s", defaultValue);
  }
};

struct StatsOwner {
  SilentPlatform platform;
  SilentProfile profile;
  MonitorModel model{platform, profile};
  std::unique_ptr<CTrafficStats> stats = std::make_unique<CTrafficStats>(&model, 0);
};
