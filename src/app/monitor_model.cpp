// The main window's portable state: settings, the per-interface statistics, their preset indexes
// and the two timer ticks.
#include "app/monitor_model.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "render/graph_painter.h"
#include "render/pixel_surface.h"
#include "render/tray_picture.h"

namespace {
constexpr int32_t kLogIntervalTicks = 60;
// While a first start watches an idle row, the table is read again this often for a live one.
constexpr int32_t kChoiceIntervalTicks = 5;
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
    for (uint32_t i = 0; i < count; ++i)
      statsTable.push_back(std::make_unique<CTrafficStats>(settings, counters, int32_t(i)));
  } catch (const std::bad_alloc&) {
    view.ShowMessage("memory error!");
    return false;
  }
  ReadDeviceSpeedIndexes();
  return true;
}

void MonitorModel::WatchSelectedInterface() {
  CTrafficStats* stats = SelectedStats();
  if (stats == nullptr || stats->logOpened) return;
  stats->logOpened = true;
  if (!stats->OpenLog(logs)) view.ShowMessage("Can not open file, check permissions");
}

void MonitorModel::ChooseFirstInterface() {
  choosingInterface = !settings.interfaceStored;
  if (!choosingInterface) return;
  const uint32_t rows = counters.ReadInterfaceFacts(choiceFacts, std::min(interfaceCount, kChoiceRows));
  settings.selectedInterface = ::ChooseFirstInterface(choiceFacts, rows);
  ticksToNextChoice = kChoiceIntervalTicks;
}

void MonitorModel::ChooseAgainWhileIdle(const CTrafficStats& watched) {
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
    statsTable[i]->deviceSpeedIndex = ValidPresetIndex(profile.ReadInt(key, 0));
  }
}

int32_t MonitorModel::GetDeviceSpeedIndex(int32_t n) const {
  if (n < 0 || size_t(n) >= statsTable.size() || !statsTable[size_t(n)]) return 0;
  return ValidPresetIndex(statsTable[size_t(n)]->deviceSpeedIndex);
}

void MonitorModel::WriteDeviceSpeedIndex() {
  const int32_t index = ValidPresetIndex(settings.presetIndex);
  if (CTrafficStats* stats = SelectedStats()) {
    stats->deviceSpeedIndex = index;
    stats->graphRestart = 1;
  }
  char key[32];
  FormatDeviceSpeedIndexKey(settings.selectedInterface, key);
  profile.WriteInt(key, index);
}

void MonitorModel::SetInterfaceAutoScale(int32_t flag) {
  if (CTrafficStats* stats = SelectedStats()) stats->autoScale = flag != 0 ? 1 : 0;
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

const char* MonitorModel::InterfaceDescription(int32_t row) const {
  if (row < 0 || uint32_t(row) >= interfaceCount) return "";
  const char* description = counters.InterfaceDescription(row);
  return description != nullptr ? description : "";
}

CTrafficStats* MonitorModel::SelectedStats() {
  const int32_t selected = settings.selectedInterface;
  if (selected < 0 || size_t(selected) >= statsTable.size()) return nullptr;
  return statsTable[size_t(selected)].get();
}

void MonitorModel::OnStatisticsTick() {
  CTrafficStats* stats = SelectedStats();
  if (stats == nullptr) return;
  stats->UpdateStatistics();
  if (choosingInterface) {
    ChooseAgainWhileIdle(*stats);
    stats = SelectedStats();
  }
  DrawTrayPicture();
  PaintGraphPanel();
  ShowTrayIconOf(*stats);
  if (++logTickCount >= kLogIntervalTicks) {
    logTickCount = 0;
    WriteLogLine(*stats);
  }
}

void MonitorModel::OnGraphTick() {
  CTrafficStats* stats = SelectedStats();
  if (stats == nullptr || !stats->UpdateGraph()) return;
  PaintGraphPanel();
  view.ShowGraphPanel();
}

void MonitorModel::PaintGraphPanel() {
  if (CTrafficStats* stats = SelectedStats()) panelPainter.Paint(settings, *stats, view.GraphCanvas());
}

void MonitorModel::DrawTrayPicture() {
  if (CTrafficStats* stats = SelectedStats()) ::DrawTrayPicture(*stats, view.TrayImage());
}

void MonitorModel::RedrawTrayIcon() {
  trayShown = false;
  CTrafficStats* stats = SelectedStats();
  if (stats == nullptr) return;
  DrawTrayPicture();
  ShowTrayIconOf(*stats);
}

void MonitorModel::ShowTrayIconOf(const CTrafficStats& stats) {
  char tip[kTrayTipSize];
  FormatTrayTip(stats.currentReceived, stats.currentSent, tip);
  ShowTrayIcon(tip);
}

// A picture of another side is another picture, even where its first bytes match the last one's.
void MonitorModel::ShowTrayIcon(const char* tip) {
  const PixelSurface& picture = view.TrayImage();
  const size_t size = picture.ByteCount();
  const bool kept = picture.bits != nullptr && size <= sizeof shownTrayPicture;
  const bool same = trayShown && kept && picture.width == shownTrayWidth &&
                    picture.height == shownTrayHeight && memcmp(picture.bits, shownTrayPicture, size) == 0 &&
                    strcmp(tip, shownTrayTip) == 0;
  if (same) return;
  trayShown = view.ReplaceTrayIcon(tip) && kept;
  shownTrayWidth = picture.width;
  shownTrayHeight = picture.height;
  if (kept) memcpy(shownTrayPicture, picture.bits, size);
  snprintf(shownTrayTip, sizeof shownTrayTip, "%s", tip);
}

void MonitorModel::WriteLogLine(CTrafficStats& stats) {
  logWriter.Write(stats.logFile.get(), stats.TakeMinuteRecord(logs.Now()));
}

void MonitorModel::FlushLog() {
  logWriter.Flush();
}

void MonitorModel::FreeInterfaceStats() {
  logWriter.Flush();
  statsTable.clear();
}

void MonitorModel::SelectedLogFileName(char* out, size_t size) {
  if (out == nullptr || size == 0) return;
  out[0] = '\0';
  if (SelectedStats() == nullptr) return;
  MakeLogFileName(InterfaceDescription(settings.selectedInterface), logs.MaxLogFileNameLength(), out, size);
}

void MonitorModel::WriteAllowanceSettings() {
  WriteAllowanceGroup(settings, profile);
}
