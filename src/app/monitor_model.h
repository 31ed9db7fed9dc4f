// The main window's state and behaviour that need no window system: settings, the per-interface
// statistics, the two ticks, the panel and tray pictures, the per-interface preset index.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/meter_view.h"
#include "log/log_sink.h"
#include "log/log_writer.h"
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
  ~MonitorModel();

  // Start-up: defaults, then the profile; the geometry follows the graph style.
  void LoadAllSettings();
  // One statistics object per interface row, each with its preset index.
  // Returns false with "memory error!" shown when an object cannot be made.
  bool CreateInterfaceStats(uint32_t count);
  // Opens the selected interface's log the first time it is watched in a run: at start-up, and
  // when Configure selects another interface. A log that cannot be opened is reported once.
  void WatchSelectedInterface();
  // A first start (no interface stored) watches the row the platform's facts suggest, and keeps
  // choosing while that row stays idle, until Configure has been closed.
  void ChooseFirstInterface();
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
  // The DPI the graph panel's surface is drawn at.
  void SetDpi(int32_t dpi) { panelPainter.SetDpi(dpi); }
  void DrawTrayPicture();
  // Draws the tray picture and hands it to the shell whatever it showed before: the icon was made
  // again at another size.
  void RedrawTrayIcon();
  // Hands the minute that ends now to the log; a disconnected link first says "cable".
  void WriteLogLine(CTrafficStats& stats);
  // Writes the line waiting in an open "cable" box: the program is ending.
  void FlushLog();
  // Writes the waiting line first, as its file goes with the statistics.
  void FreeInterfaceStats();

  MonitorSettings settings;
  uint32_t interfaceCount = 0;
  int32_t logTickCount = 0;
  std::vector<std::unique_ptr<CTrafficStats>> statsTable;

 private:
  void ChooseAgainWhileIdle(const CTrafficStats& watched);
  // Hands the tray picture and tip to the shell unless they are what it already shows.
  void ShowTrayIcon(const char* tip);
  void ShowTrayIconOf(const CTrafficStats& stats);

  ICounterSource& counters;
  ILogSink& logs;
  IMeterView& view;
  IProfile& profile;

  // The log's notices are the view's message boxes.
  class ViewNotice final : public ILogNotice {
   public:
    explicit ViewNotice(IMeterView& view) : view(view) {}
    void ShowNotice(const char* text) override { view.ShowMessage(text); }

   private:
    IMeterView& view;
  };
  ViewNotice logNotice{view};
  TrafficLogWriter logWriter{logNotice};

  // Room for the facts of the rows a first start chooses among; later rows are not considered.
  static constexpr uint32_t kChoiceRows = 128;
  InterfaceFacts choiceFacts[kChoiceRows] = {};
  bool choosingInterface = false;
  int32_t ticksToNextChoice = 0;

  GraphPanelPainter panelPainter;
  // What the shell shows in the tray, so that an unchanged second costs nothing.
  bool trayShown = false;
  int32_t shownTrayWidth = 0, shownTrayHeight = 0;
  uint8_t shownTrayPicture[kLargestTraySize * kLargestTraySize * 3] = {};
  char shownTrayTip[kTrayTipSize] = {};
};
