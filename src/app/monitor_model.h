// The main window's state and behaviour that need no window system: settings, the per-interface
// statistics, the two ticks, the panel and tray pictures, the per-interface preset index.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "sampling/monitor_platform.h"
#include "settings/monitor_settings.h"
#include "settings/profile.h"
#include "settings/settings_store.h"
#include "stats/traffic_stats.h"

class MonitorModel : public MonitorSettings {
 public:
  MonitorModel(IMonitorPlatform& platform, IProfile& profile);
  virtual ~MonitorModel();

  // Start-up: defaults, then the profile; the geometry follows the graph style.
  void LoadAllSettings();
  // One statistics object per interface row, each with its log and its preset index.
  // Returns false with "memory error!" shown when an object cannot be made.
  bool CreateInterfaceStats(uint32_t count);
  void ReadDeviceSpeedIndexes();
  int32_t GetDeviceSpeedIndex(int32_t n) const;
  void WriteDeviceSpeedIndex();
  void SetInterfaceAutoScale(int32_t flag);
  void ValidateSelectedInterface();
  void WriteConfigureSettings();
  void WriteExitSettings(WindowOrigin origin);
  // The graph style changes the pixel range of one column.
  void SetGraphStyle(int32_t style);

  // The selected interface's statistics, or null when discovery found none.
  CTrafficStats* SelectedStats();

  void OnStatisticsTick();  // timer 11
  void OnGraphTick();       // timer 10
  void PaintGraphPanel();
  void DrawTrayPicture();
  void FreeInterfaceStats();
  // The window restarts its graph timer with the current refreshPeriodMs.
  virtual void RestartGraphTimer() {}

  IMonitorPlatform& platform;
  IProfile& profile;
  uint32_t interfaceCount = 0;
  int32_t logTickCount = 0;
  std::vector<std::unique_ptr<CTrafficStats>> statsTable;
};
