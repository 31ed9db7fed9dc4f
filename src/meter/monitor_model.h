// The meter's state and behaviour that need no window system: the settings, one statistics object
// and one log per interface, which interface is watched, the two ticks, and what each view shows of
// the watched interface's figures: the graph panel, the tray icon and its tip, the log's minute lines
// and the allowance.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "log/interface_log.h"
#include "log/log_sink.h"
#include "log/log_writer.h"
#include "meter/allowance_watch.h"
#include "meter/meter_view.h"
#include "meter/shown_view.h"
#include "render/graph_painter.h"
#include "render/tray_picture.h"
#include "sampling/counter_source.h"
#include "sampling/interface_watch.h"
#include "settings/monitor_settings.h"
#include "settings/profile.h"
#include "settings/settings_store.h"
#include "stats/traffic_stats.h"

// The statistics each line of the panel can show: current, minute and hour means, total, and the
// three shares of the bandwidth.
constexpr int32_t kStatisticSelections = 7;

class MonitorModel {
 public:
  MonitorModel(ICounterSource& counters, ILogSink& logs, IMeterView& view, IProfile& profile);
  MonitorModel(const MonitorModel&) = delete;
  MonitorModel& operator=(const MonitorModel&) = delete;
  ~MonitorModel();

  // Start-up: defaults, then the profile; the geometry follows the graph style.
  void LoadAllSettings();
  // One statistics object and one log per interface row, each object with its preset index.
  // Returns false with "memory error!" shown when an object cannot be made.
  bool CreateInterfaceStats(uint32_t count);
  uint32_t InterfaceCount() const { return interfaceCount; }
  // Opens the selected interface's log the first time it is watched in a run: at start-up, and
  // when Configure selects another interface. A log that cannot be opened is reported once.
  void WatchSelectedInterface();
  // Watches another entry of Configure's list from now on: a row, kAllLinksRow where the platform
  // sums all links, or kMissingRow for the stored interface, waited for again. Its log opens the
  // first time; any other entry changes nothing.
  void SelectInterface(int32_t entry);
  // Start-up, after the statistics objects are made: the stored interface at the row its identity
  // holds now, or nothing while it is missing (it is waited for, then stood in for). A first start
  // (nothing stored) watches the row the platform's facts suggest, and keeps choosing while that row
  // stays idle, until Configure has been closed.
  void StartWatching();
  // The platform read the table again (an interface came or went, or the machine resumed): rows
  // added since get their statistics and logs, and the stored interface is looked for anew, its wait
  // for a missing interface started again.
  void InterfacesChanged();
  // The entry Configure shows selected: the watched row or kAllLinksRow, or kMissingRow while the
  // chosen interface is missing.
  int32_t ChosenEntry() const;
  // Configure's list into entries[0..capacity): the missing chosen interface, "All links" where the
  // platform sums them, then the rows without those that repeat another, unless showAll. The number
  // of entries.
  uint32_t ListInterfaces(bool showAll, int32_t* entries, uint32_t capacity);
  void ReadDeviceSpeedIndexes();
  int32_t GetDeviceSpeedIndex(int32_t n) const;
  // The preset chosen in Configure applies to the selected interface and is stored for it.
  void WriteDeviceSpeedIndex();
  void SetInterfaceAutoScale(int32_t flag);
  // A row outside the table watches the first row; "All links" and the wait for a missing interface
  // stay.
  void ValidateSelectedInterface();
  void WriteConfigureSettings();
  void WriteExitSettings(WindowOrigin origin);
  // The graph style changes the pixel range of one column.
  void SetGraphStyle(int32_t style);
  // Takes effect at once: the graph timer starts again with the new period.
  void SetRefreshPeriod(int32_t periodMs);
  // The statistic a line of the panel shows; a choice outside the seven changes nothing.
  void SelectReceiveStatistic(int32_t selection);
  void SelectSendStatistic(int32_t selection);
  // The readout on the taskbar, as stored: shown at start, and on or off from the popup menu; the
  // flags are stored at once.
  void ShowStoredTaskbarReadout();
  void SetTaskbarReadout(bool on, bool everyTaskbar);
  // The statistic a line shows, or -1 when the stored one is none of the seven.
  int32_t ReceiveStatistic() const;
  int32_t SendStatistic() const;
  // A row's description; "All links" for kAllLinksRow where the platform sums them; for kMissingRow
  // the missing interface's, when a row of this run held it; else "".
  const char* InterfaceDescription(int32_t row) const;
  // The name the system shows for the row's adapter ("Wi-Fi"); "" when unknown.
  const char* InterfaceAlias(int32_t row) const;
  // The file name of the selected interface's log, as it was opened; empty when there is none.
  void SelectedLogFileName(char* out, size_t size) const;
  // The allowance as the Usage dialog stores it: the amount within 0..999999, the start day within
  // 1..28. A different allowance may be announced again in this very period.
  void StoreAllowance(int32_t amount, bool inGigabytes, int32_t startDay);

  // The selected interface's statistics and their figures, or null when discovery found none.
  const CTrafficStats* SelectedStats() const;
  const TrafficFigures* SelectedFigures() const;
  const CTrafficStats* StatsOf(int32_t row) const;

  void OnStatisticsTick();  // timer 11
  void OnGraphTick();       // timer 10
  // Paints the panel when it would come out other than it is.
  void PaintGraphPanel();
  // The DPI the graph panel's surface is drawn at; the surface was made again at it.
  void SetDpi(int32_t dpi);
  // The window was painted over the panel: the next graph tick copies it whatever it holds.
  void ForgetShownPanel() { panelOnWindow = false; }
  // The tray icon was made again at another size: the picture is drawn and handed over at once.
  void RedrawTrayIcon();
  // Hands the minute that ends now to the log; a disconnected link first says "cable".
  void WriteLogLine();
  // Writes the line waiting in an open "cable" box: the program is ending.
  void FlushLog();
  // Writes the waiting line first, as its file goes with the statistics.
  void FreeInterfaceStats();

  MonitorSettings settings;

 private:
  CTrafficStats* StatsAt(int32_t row) const;
  CTrafficStats* Selected();
  InterfaceLog* SelectedLog();
  // Statistics and logs for rows [interfaceCount, count), each with its stored preset.
  void GrowInterfaceStats(uint32_t count);
  void ReadDeviceSpeedIndex(int32_t row, CTrafficStats& stats);
  bool MakeAllLinksStats();
  // The table's facts read now, and the chosen interface looked for in them; false when the table
  // cannot be read.
  bool LookForInterface(bool settling);
  void Watch(const WatchChoice& choice);
  bool ChoiceMissing() const;
  // While the chosen interface is missing: the table is read again every few seconds, and when the
  // wait for it is over.
  void FollowMissingInterface();
  // The row of this run's table that held the chosen interface; kNoRow when none did.
  int32_t MissingRow() const;
  void ChooseAgainWhileIdle(const TrafficFigures& watched);
  void ShowTrayIcon();
  void ShowReadout();
  // After a statistics tick: a balloon when the period's total first passes 80 % or 100 %.
  void WatchAllowance();
  void WriteAllowanceSettings();

  ICounterSource& counters;
  ILogSink& logs;
  IMeterView& view;
  IProfile& profile;

  uint32_t interfaceCount = 0;
  int32_t logTickCount = 0;
  std::vector<std::unique_ptr<CTrafficStats>> statsTable;
  std::vector<InterfaceLog> logTable;
  // "All links", made when it is first watched.
  std::unique_ptr<CTrafficStats> allLinksStats;
  InterfaceLog allLinksLog;

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
  // The interface the profile names, as last stored, and the one chosen now (they differ while
  // Configure is open); the watch follows the chosen one.
  StoredInterface stored{};
  StoredInterface chosen{};
  InterfaceWatch watch;
  int32_t ticksToNextLook = 0;

  int32_t panelDpi = kBaseDpi;
  ShownView<PanelSnapshot> panel;
  bool panelOnWindow = false;
  // What the tray shows: the picture's side and bars, and the tip.
  struct TrayPicture {
    int32_t side;
    TrayBars bars;
    char tip[kTrayTipSize];
  };
  ShownView<TrayPicture> tray;
  // What the taskbar readout shows: both rates and the tip.
  struct ReadoutPicture {
    uint64_t received, sent;
    char tip[kTrayTipSize];
  };
  ShownView<ReadoutPicture> readout;

  AllowanceWatch allowanceWatch;
  static constexpr size_t kLogPathSize = 512;
  char allowanceLogPath[kLogPathSize] = {};
  int32_t allowanceLogRow = -1;
};
