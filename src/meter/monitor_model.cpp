// The meter's portable state: settings, the per-interface statistics and logs, their preset
// indexes, the two timer ticks, and what the views show of them.
#include "meter/monitor_model.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "log/usage_allowance.h"
#include "render/pixel_surface.h"
#include "sampling/interface_rows.h"

namespace {
constexpr int32_t kLogIntervalTicks = 60;
// While a first start watches an idle row, the table is read again this often for a live one.
constexpr int32_t kChoiceIntervalTicks = 5;
// While the chosen interface is missing, the table is read again this often: not every platform
// tells when an interface comes.
constexpr int32_t kLookIntervalTicks = 5;
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

// Rows only grow, and each keeps its number: the objects made so far stay where they are.
void MonitorModel::GrowInterfaceStats(uint32_t count) {
  if (count <= interfaceCount || statsTable.size() != interfaceCount) return;
  try {
    statsTable.reserve(count);
    logTable.resize(std::max<size_t>(logTable.size(), count));
    for (uint32_t i = interfaceCount; i < count; ++i) {
      statsTable.push_back(std::make_unique<CTrafficStats>(settings, counters, int32_t(i)));
      ReadDeviceSpeedIndex(int32_t(i), *statsTable.back());
      interfaceCount = i + 1;
    }
  } catch (const std::bad_alloc&) {
    view.ShowMessage("memory error!");
  }
}

bool MonitorModel::MakeAllLinksStats() {
  if (allLinksStats) return true;
  try {
    allLinksStats = std::make_unique<CTrafficStats>(settings, counters, kAllLinksRow);
  } catch (const std::bad_alloc&) {
    view.ShowMessage("memory error!");
    return false;
  }
  ReadDeviceSpeedIndex(kAllLinksRow, *allLinksStats);
  return true;
}

CTrafficStats* MonitorModel::StatsAt(int32_t row) const {
  if (row == kAllLinksRow) return allLinksStats.get();
  if (row < 0 || size_t(row) >= statsTable.size()) return nullptr;
  return statsTable[size_t(row)].get();
}

CTrafficStats* MonitorModel::Selected() {
  return StatsAt(settings.selectedInterface);
}

InterfaceLog* MonitorModel::SelectedLog() {
  const int32_t selected = settings.selectedInterface;
  if (selected == kAllLinksRow) return allLinksStats ? &allLinksLog : nullptr;
  if (selected < 0 || size_t(selected) >= logTable.size()) return nullptr;
  return &logTable[size_t(selected)];
}

const CTrafficStats* MonitorModel::SelectedStats() const {
  return StatsOf(settings.selectedInterface);
}

const CTrafficStats* MonitorModel::StatsOf(int32_t row) const {
  return StatsAt(row);
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

// The user's choice is watched at once, wherever its identity says it is; kMissingRow goes back to
// the one stored.
void MonitorModel::SelectInterface(int32_t entry) {
  if (entry == kMissingRow) {
    if (!stored.stored) return;
    chosen = stored;
  } else {
    const bool row = entry >= 0 && uint32_t(entry) < interfaceCount;
    if (!row && !(entry == kAllLinksRow && counters.SumsAllLinks())) return;
    chosen = StoredInterface{true, counters.InterfaceIdentity(entry), entry};
  }
  // A table that cannot be read now still takes the click.
  if (!LookForInterface(true) && entry != kMissingRow) Watch(WatchChoice{WatchState::kStored, entry});
}

void MonitorModel::StartWatching() {
  stored = chosen =
      StoredInterface{settings.interfaceStored, settings.interfaceId, settings.selectedInterface};
  choosingInterface = !settings.interfaceStored;
  ticksToNextChoice = kChoiceIntervalTicks;
  LookForInterface(true);
}

void MonitorModel::InterfacesChanged() {
  GrowInterfaceStats(counters.ReadTableAgain());
  // A first start goes on with its own choice until Configure is closed.
  if (chosen.stored) LookForInterface(true);
}

bool MonitorModel::LookForInterface(bool settling) {
  const uint32_t rows = counters.ReadInterfaceFacts(choiceFacts, std::min(interfaceCount, kChoiceRows));
  // A table that cannot be read now changes nothing.
  if (rows == 0) return false;
  Watch(watch.TableRead(choiceFacts, rows, chosen, counters.SumsAllLinks(), settling, counters.NowMs()));
  return true;
}

// While a missing interface is waited for, the row it held in this run stays watched: its readings
// count nothing, as the link shows none.
void MonitorModel::Watch(const WatchChoice& choice) {
  choosingInterface = choice.state == WatchState::kFirstStart && !settings.interfaceStored;
  ticksToNextLook = kLookIntervalTicks;
  const int32_t row = choice.state == WatchState::kWaiting ? MissingRow() : choice.row;
  if (row == kAllLinksRow && !MakeAllLinksStats()) return;
  settings.selectedInterface = row;
  WatchSelectedInterface();
}

bool MonitorModel::ChoiceMissing() const {
  const WatchState state = watch.Current().state;
  return state == WatchState::kWaiting || state == WatchState::kStandIn;
}

void MonitorModel::FollowMissingInterface() {
  if (!ChoiceMissing()) return;
  if (!watch.WaitOver(counters.NowMs()) && --ticksToNextLook > 0) return;
  GrowInterfaceStats(counters.ReadTableAgain());
  LookForInterface(false);
  ticksToNextLook = kLookIntervalTicks;
}

int32_t MonitorModel::ChosenEntry() const {
  return ChoiceMissing() ? kMissingRow : settings.selectedInterface;
}

int32_t MonitorModel::MissingRow() const {
  if (!ChoiceMissing() || chosen.identity == 0) return kNoRow;
  for (uint32_t row = 0; row < interfaceCount; ++row)
    if (counters.InterfaceIdentity(int32_t(row)) == chosen.identity) return int32_t(row);
  return kNoRow;
}

// Rows past the room for facts are listed as they are.
uint32_t MonitorModel::ListInterfaces(bool showAll, int32_t* entries, uint32_t capacity) {
  const uint32_t rows = counters.ReadInterfaceFacts(choiceFacts, std::min(interfaceCount, kChoiceRows));
  const InterfaceListOptions options{showAll, counters.SumsAllLinks(), ChoiceMissing(), ChosenEntry()};
  uint32_t listed = ::ListInterfaces(choiceFacts, rows, options, entries, capacity);
  for (uint32_t row = rows; row < interfaceCount && listed < capacity && entries != nullptr; ++row)
    entries[listed++] = int32_t(row);
  return listed;
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
  for (uint32_t i = 0; i < interfaceCount && i < statsTable.size(); ++i)
    if (statsTable[i]) ReadDeviceSpeedIndex(int32_t(i), *statsTable[i]);
}

void MonitorModel::ReadDeviceSpeedIndex(int32_t row, CTrafficStats& stats) {
  char key[32];
  FormatDeviceSpeedIndexKey(row, key);
  stats.UsePreset(ValidPresetIndex(profile.ReadInt(key, 0)));
}

int32_t MonitorModel::GetDeviceSpeedIndex(int32_t n) const {
  const CTrafficStats* stats = StatsOf(n);
  return stats != nullptr ? ValidPresetIndex(stats->DeviceSpeedIndex()) : 0;
}

void MonitorModel::WriteDeviceSpeedIndex() {
  if (settings.selectedInterface == kNoRow) return;
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
  if (SelectedStats() != nullptr || watch.Current().state == WatchState::kWaiting) return;
  if (settings.selectedInterface < 0 || uint32_t(settings.selectedInterface) >= interfaceCount)
    settings.selectedInterface = 0;
}

// The choice goes to the profile by its row ("eth", all an older version reads) and by its identity;
// a chosen interface that is missing stays as it was stored.
void MonitorModel::WriteConfigureSettings() {
  if (!ChoiceMissing())
    chosen = StoredInterface{true, counters.InterfaceIdentity(settings.selectedInterface),
                             settings.selectedInterface};
  chosen.stored = true;
  stored = chosen;
  settings.interfaceId = chosen.identity;
  MonitorSettings written = settings;
  written.selectedInterface = chosen.row;
  WriteConfigureGroup(written, profile);
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
  if (row == kMissingRow) row = MissingRow();
  const bool known =
      (row >= 0 && uint32_t(row) < interfaceCount) || (row == kAllLinksRow && counters.SumsAllLinks());
  const char* description = known ? counters.InterfaceDescription(row) : nullptr;
  return description != nullptr ? description : "";
}

const char* MonitorModel::InterfaceAlias(int32_t row) const {
  if (row == kMissingRow) row = MissingRow();
  const char* alias = row >= 0 && uint32_t(row) < interfaceCount ? counters.InterfaceAlias(row) : nullptr;
  return alias != nullptr ? alias : "";
}

void MonitorModel::OnStatisticsTick() {
  FollowMissingInterface();
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
  allLinksStats.reset();
  allLinksLog = InterfaceLog();
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
