// The meter's portable state: settings, the per-interface statistics and logs, their preset
// indexes, the two timer ticks, and what the views show of them.
#include "meter/monitor_model.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "log/usage_allowance.h"
#include "render/pixel_surface.h"

namespace {
constexpr int32_t kLogIntervalTicks = 60;
// While a first start watches an idle row, the table is read again this often for a live one.
constexpr int32_t kChoiceIntervalTicks = 5;
constexpr const char* kAllowanceNoticeTitle = "Quintrel: monthly allowance";

bool IsStatistic(int32_t selection) {
  return selection >= 0 && selection < kStatisticSelections;
}
}  // namespace

MonitorModel::MonitorModel(ICounterSource& counterSource, ILogSink& logSink, IMeterView& meterView,
                           IProfile& settingsProfile)
    : counters(counterSource), logs(logSink), view(meterView), profile(settingsProfile) {}

MonitorModel::~MonitorModel() {
  FreeInterfaceStats();
}

void MonitorModel::LoadAllSettings() {
  LoadSettings(settings, profile);
}

bool MonitorModel::CreateInterfaceStats(uint32_t count) {
  FreeInterfaceStats();
  interfaceCount = count;
  try {
    // Reserved up front so that a failure leaves every object made so far in its slot.
    statsTable.reserve(count);
    logTable.resize(count);
    for (uint32_t i = 0; i < count; ++i)
      statsTable.push_back(std::make_unique<CTrafficStats>(settings, counters, int32_t(i)));
  } catch (const std::bad_alloc&) {
    view.ShowMessage("memory error!");
    return false;
  }
  ReadDeviceSpeedIndexes();
  return true;
}

CTrafficStats* MonitorModel::Selected() {
  const int32_t selected = settings.selectedInterface;
  if (selected < 0 || size_t(selected) >= statsTable.size()) return nullptr;
  return statsTable[size_t(selected)].get();
}

InterfaceLog* MonitorModel::SelectedLog() {
  const int32_t selected = settings.selectedInterface;
  if (selected < 0 || size_t(selected) >= logTable.size()) return nullptr;
  return &logTable[size_t(selected)];
}

const CTrafficStats* MonitorModel::SelectedStats() const {
  return StatsOf(settings.selectedInterface);
}

const CTrafficStats* MonitorModel::StatsOf(int32_t row) const {
  if (row < 0 || size_t(row) >= statsTable.size()) return nullptr;
  return statsTable[size_t(row)].get();
}

const TrafficFigures* MonitorModel::SelectedFigures() const {
  const CTrafficStats* stats = SelectedStats();
  return stats != nullptr ? &stats->Figures() : nullptr;
}

void MonitorModel::WatchSelectedInterface() {
  InterfaceLog* log = SelectedLog();
  if (Selected() == nullptr || log == nullptr || log->Opened()) return;
  if (!log->OpenLog(logs, InterfaceDescription(settings.selectedInterface)))
    view.ShowMessage("Can not open file, check permissions");
}

void MonitorModel::SelectInterface(int32_t row) {
  if (row < 0 || uint32_t(row) >= interfaceCount) return;
  settings.selectedInterface = row;
  WatchSelectedInterface();
}

void MonitorModel::ChooseFirstInterface() {
  choosingInterface = !settings.interfaceStored;
  if (!choosingInterface) return;
  const uint32_t rows = counters.ReadInterfaceFacts(choiceFacts, std::min(interfaceCount, kChoiceRows));
  settings.selectedInterface = ::ChooseFirstInterface(choiceFacts, rows);
  ticksToNextChoice = kChoiceIntervalTicks;
}

void MonitorModel::ChooseAgainWhileIdle(const TrafficFigures& watched) {
  if (settings.interfaceStored || watched.totalSent != 0 || watched.totalReceived != 0) {
    choosingInterface = false;
    return;
  }
  if (--ticksToNextChoice > 0) return;
  ticksToNextChoice = kChoiceIntervalTicks;
  const uint32_t rows = counters.ReadInterfaceFacts(choiceFacts, std::min(interfaceCount, kChoiceRows));
  const int32_t watchedRow = settings.selectedInterface;
  if (watchedRow >= 0 && uint32_t(watchedRow) < rows && CarriesTraffic(choiceFacts[watchedRow])) {
    choosingInterface = false;  // a live link: the choice is made
    return;
  }
  const int32_t chosen = ::ChooseFirstInterface(choiceFacts, rows);
  if (chosen == watchedRow || uint32_t(chosen) >= rows || !CarriesTraffic(choiceFacts[chosen])) return;
  settings.selectedInterface = chosen;
  WatchSelectedInterface();
}

void MonitorModel::ReadDeviceSpeedIndexes() {
  char key[32];
  for (uint32_t i = 0; i < interfaceCount && i < statsTable.size(); ++i) {
    if (!statsTable[i]) continue;
    FormatDeviceSpeedIndexKey(int32_t(i), key);
    statsTable[i]->UsePreset(ValidPresetIndex(profile.ReadInt(key, 0)));
  }
}

int32_t MonitorModel::GetDeviceSpeedIndex(int32_t n) const {
  const CTrafficStats* stats = StatsOf(n);
  return stats != nullptr ? ValidPresetIndex(stats->DeviceSpeedIndex()) : 0;
}

void MonitorModel::WriteDeviceSpeedIndex() {
  const int32_t index = ValidPresetIndex(settings.presetIndex);
  if (CTrafficStats* stats = Selected()) stats->UsePreset(index);
  char key[32];
  FormatDeviceSpeedIndexKey(settings.selectedInterface, key);
  profile.WriteInt(key, index);
}

void MonitorModel::SetInterfaceAutoScale(int32_t flag) {
  if (CTrafficStats* stats = Selected()) stats->SetAutoScale(flag != 0);
}

void MonitorModel::ValidateSelectedInterface() {
  if (settings.selectedInterface < 0 || uint32_t(settings.selectedInterface) >= interfaceCount)
    settings.selectedInterface = 0;
}

void MonitorModel::WriteConfigureSettings() {
  WriteConfigureGroup(settings, profile);
  settings.interfaceStored = true;
}

void MonitorModel::WriteExitSettings(WindowOrigin origin) {
  WriteExitGroup(settings, origin, profile);
}

void MonitorModel::SetGraphStyle(int32_t style) {
  settings.graphStyle = style;
  settings.columnRange = ColumnRangeForStyle(style, settings.graphHeight);
}

void MonitorModel::SetRefreshPeriod(int32_t periodMs) {
  settings.refreshPeriodMs = periodMs;
  view.RestartGraphTimer(periodMs);
}

void MonitorModel::SelectReceiveStatistic(int32_t selection) {
  if (IsStatistic(selection)) settings.receiveStatSelection = selection;
}

void MonitorModel::SelectSendStatistic(int32_t selection) {
  if (IsStatistic(selection)) settings.sendStatSelection = selection;
}

int32_t MonitorModel::ReceiveStatistic() const {
  return IsStatistic(settings.receiveStatSelection) ? settings.receiveStatSelection : -1;
}

int32_t MonitorModel::SendStatistic() const {
  return IsStatistic(settings.sendStatSelection) ? settings.sendStatSelection : -1;
}

const char* MonitorModel::InterfaceDescription(int32_t row) const {
  if (row < 0 || uint32_t(row) >= interfaceCount) return "";
  const char* description = counters.InterfaceDescription(row);
  return description != nullptr ? description : "";
}

void MonitorModel::OnStatisticsTick() {
  CTrafficStats* stats = Selected();
  if (stats == nullptr) return;
  stats->UpdateStatistics();
  if (choosingInterface) {
    ChooseAgainWhileIdle(stats->Figures());
    stats = Selected();
  }
  PaintGraphPanel();
  ShowTrayIcon();
  ShowReadout();
  if (++logTickCount >= kLogIntervalTicks) {
    logTickCount = 0;
    WriteLogLine();
  }
  WatchAllowance();
}

void MonitorModel::OnGraphTick() {
  CTrafficStats* stats = Selected();
  if (stats == nullptr || !stats->UpdateGraph()) return;
  PaintGraphPanel();
  if (!panelOnWindow) panelOnWindow = view.ShowGraphPanel();
}

void MonitorModel::PaintGraphPanel() {
  const TrafficFigures* figures = SelectedFigures();
  IPanelCanvas* canvas = view.GraphCanvas();
  if (figures == nullptr || canvas == nullptr) return;
  PanelSnapshot next;
  TakePanelSnapshot(settings, *figures, panelDpi, next);
  if (!panel.Changed(next)) return;
  ::PaintGraphPanel(next, *canvas);
  panelOnWindow = false;
}

void MonitorModel::SetDpi(int32_t dpi) {
  panelDpi = dpi;
  panel.Forget();
  panelOnWindow = false;
}

void MonitorModel::RedrawTrayIcon() {
  tray.Forget();
  ShowTrayIcon();
}

// A picture of another side is another picture, even where its bars match the last one's.
void MonitorModel::ShowTrayIcon() {
  const TrafficFigures* figures = SelectedFigures();
  if (figures == nullptr) return;
  PixelSurface& image = view.TrayImage();
  TrayPicture next;
  memset(&next, 0, sizeof next);
  next.side = image.width;
  next.bars = TrayBarsOf(*figures);
  FormatTrayTip(figures->currentReceived, figures->currentSent, next.tip);
  if (!tray.Changed(next)) return;
  DrawTrayPicture(next.bars, image);
  if (!view.ReplaceTrayIcon(next.tip)) tray.Forget();
}

void MonitorModel::ShowStoredTaskbarReadout() {
  view.ShowTaskbarReadout(settings.taskbarReadout != 0, settings.everyTaskbar != 0);
  readout.Forget();
  ShowReadout();
}

void MonitorModel::SetTaskbarReadout(bool on, bool everyTaskbar) {
  settings.taskbarReadout = on ? 1 : 0;
  settings.everyTaskbar = everyTaskbar ? 1 : 0;
  WriteTaskbarGroup(settings, profile);
  ShowStoredTaskbarReadout();
}

// The readout has its own tip, the tray's; it shows the last second's rates on every taskbar.
void MonitorModel::ShowReadout() {
  const TrafficFigures* figures = SelectedFigures();
  if (figures == nullptr || settings.taskbarReadout == 0) return;
  ReadoutPicture next;
  memset(&next, 0, sizeof next);
  next.received = figures->currentReceived;
  next.sent = figures->currentSent;
  FormatTrayTip(figures->currentReceived, figures->currentSent, next.tip);
  if (readout.Changed(next)) view.ShowReadoutRates(next.received, next.sent, next.tip);
}

void MonitorModel::WriteLogLine() {
  const TrafficFigures* figures = SelectedFigures();
  InterfaceLog* log = SelectedLog();
  if (figures == nullptr || log == nullptr) return;
  logWriter.Write(log->File(), log->TakeMinuteRecord(logs.Now(), figures->totalSent, figures->totalReceived,
                                                     figures->linkDown));
}

void MonitorModel::FlushLog() {
  logWriter.Flush();
}

void MonitorModel::FreeInterfaceStats() {
  logWriter.Flush();
  statsTable.clear();
  logTable.clear();
}

void MonitorModel::SelectedLogFileName(char* out, size_t size) const {
  if (out == nullptr || size == 0) return;
  out[0] = '\0';
  if (SelectedStats() == nullptr) return;
  MakeLogFileName(InterfaceDescription(settings.selectedInterface), logs.MaxLogFileNameLength(), out, size);
}

// The log is read at the first second and once a day; the seconds between only add the counts.
void MonitorModel::WatchAllowance() {
  const TrafficFigures* figures = SelectedFigures();
  const InterfaceLog* log = SelectedLog();
  if (figures == nullptr || log == nullptr || settings.allowanceAmount <= 0) return;
  if (allowanceLogRow != settings.selectedInterface) {
    SelectedLogFileName(allowanceLogPath, sizeof allowanceLogPath);
    allowanceLogRow = settings.selectedInterface;
  }
  const LocalDateTime now = logs.Now();
  const CountedBytes counted{figures->totalSent + figures->totalReceived, log->MarkedBytes()};
  const AllowanceNotice notice = allowanceWatch.OnStatisticsTick(settings, now, allowanceLogPath, counted);
  if (notice.percent == 0) return;
  char text[200];
  FormatAllowanceNotice(notice.percent, allowanceWatch.PeriodTotal(), settings,
                        PeriodStart(CalendarDate{now.year, now.month, now.day}, settings.allowanceStartDay),
                        text, sizeof text);
  // A shell still starting at sign-in refuses the balloon: the next second tries again.
  if (!view.ShowTrayNotice(kAllowanceNoticeTitle, text)) return;
  settings.allowanceNoticePeriod = notice.remembered.period;
  settings.allowanceNoticePercent = notice.remembered.percent;
  WriteAllowanceSettings();
}

// A different allowance is a new watch: what was announced of the old one says nothing of it.
void MonitorModel::StoreAllowance(int32_t amount, bool inGigabytes, int32_t startDay) {
  amount = std::clamp(amount, 0, kMaxAllowanceAmount);
  startDay = std::clamp(startDay, 1, kLastAllowanceStartDay);
  const int32_t unit = inGigabytes ? 1 : 0;
  const bool changed = amount != settings.allowanceAmount || unit != settings.allowanceInGigabytes ||
                       startDay != settings.allowanceStartDay;
  if (!changed) return;
  settings.allowanceAmount = amount;
  settings.allowanceInGigabytes = unit;
  settings.allowanceStartDay = startDay;
  settings.allowanceNoticePeriod = 0;
  settings.allowanceNoticePercent = 0;
  WriteAllowanceSettings();
  allowanceWatch.Forget();
}

void MonitorModel::WriteAllowanceSettings() {
  WriteAllowanceGroup(settings, profile);
}
