// The main window's state and behaviour that need no window system: settings, the per-interface
// statistics, the two ticks, the panel and tray pictures, the per-interface preset index.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/meter_view.h"
#include "log/log_sink.h"
#include "log/traffic_log.h"
#include "render/graph_painter.h"
#include "render/tray_picture.h"
#include "sampling/counter_source.h"
#include "settings/monitor_settings.h"
#include "settings/profile.h"
#include "settings/settings_store.h"
#include "stats/traffic_stats.h"

class MonitorModel {
 public:
  MonitorModel(ICounterSource& counters, ILogSink& logs, IMeterView& view, IProfile& profile);
  MonitorModel(const MonitorModel&) = delete;
  MonitorModel& operator=(const MonitorModel&) = delete;

  // Start-up: defaults, then the profile; the geometry follows the graph style.
  void LoadAllSettings();
  // One statistics object per interface row, each with its preset index.
  // Returns false with "memory error!" shown when an object cannot be made.
  bool CreateInterfaceStats(uint32_t count);
  // Opens the selected interface's log the first time it is watched in a run: at start-up, and
  // when Configure selects another interface. A log that cannot be opened is reported once.
  void WatchSelectedInterface();
  void ReadDeviceSpeedIndexes();
  int32_t GetDeviceSpeedIndex(int32_t n) const;
  void WriteDeviceSpeedIndex();
  void SetInterfaceAutoScale(int32_t flag);
  void ValidateSelectedInterface();
  void WriteConfigureSettings();
  void WriteExitSettings(WindowOrigin origin);
  // The graph style changes the pixel range of one column.
  void SetGraphStyle(int32_t style);
  // Takes effect at once: the graph timer starts again with the new period.
  void SetRefreshPeriod(int32_t periodMs);
  const char* InterfaceDescription(int32_t row) const;
  // The file name of the selected interface's log, as it was opened; empty when there is none.
  void SelectedLogFileName(char* out, size_t size);
  void WriteAllowanceSettings();

  // The selected interface's statistics, or null when discovery found none.
  CTrafficStats* SelectedStats();

  void OnStatisticsTick();  // timer 11
  void OnGraphTick();       // timer 10
  void PaintGraphPanel();
  void DrawTrayPicture();
  // Appends the minute's line to the interface's log; a disconnected link first says "cable".
  void WriteLogLine(CTrafficStats& stats);
  void FreeInterfaceStats();

  MonitorSettings settings;
  uint32_t interfaceCount = 0;
  int32_t logTickCount = 0;
  std::vector<std::unique_ptr<CTrafficStats>> statsTable;

 private:
  void ShowCableNotice(CTrafficStats& stats, const LogLine& line);
  void WritePendingLine();
  // Hands the tray picture and tip to the shell unless they are what it already shows.
  void ShowTrayIcon(const char* tip);

  ICounterSource& counters;
  ILogSink& logs;
  IMeterView& view;
  IProfile& profile;

  // The line whose "cable" box is open: it waits for the box, unless a later line comes first.
  bool cableNoticeOpen = false;
  CTrafficStats* pendingStats = nullptr;
  LogLine pendingLine = {};

  GraphPanelPainter panelPainter;
  // What the shell shows in the tray, so that an unchanged second costs nothing.
  bool trayShown = false;
  uint8_t shownTrayPicture[16 * 16 * 3] = {};
  char shownTrayTip[kTrayTipSize] = {};
};
