// The main window's portable state: settings, the per-interface statistics, their preset indexes
// and the two timer ticks.
#include "app/monitor_model.h"

#include <new>

#include "render/graph_painter.h"
#include "render/tray_picture.h"
#include "settings/settings_store.h"

namespace {
constexpr int32_t kLogIntervalTicks = 60;
}

MonitorModel::MonitorModel(IMonitorPlatform& p, IProfile& prof) : platform(p), profile(prof) {}
MonitorModel::~MonitorModel() = default;

void MonitorModel::LoadAllSettings() {
  LoadSettings(*this, profile);
}

bool MonitorModel::CreateInterfaceStats(uint32_t count) {
  FreeInterfaceStats();
  interfaceCount = count;
  try {
    // Reserved up front so that a failure leaves every object made so far in its slot.
    statsTable.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
      statsTable.push_back(std::make_unique<CTrafficStats>(this, int32_t(i)));
      statsTable.back()->OpenLog();
    }
  } catch (const std::bad_alloc&) {
    platform.ShowMessage("memory error!");
    return false;
  }
  ReadDeviceSpeedIndexes();
  return true;
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
  const int32_t index = ValidPresetIndex(presetIndex);
  if (CTrafficStats* stats = SelectedStats()) {
    stats->deviceSpeedIndex = index;
    stats->graphRestart = 1;
  }
  char key[32];
  FormatDeviceSpeedIndexKey(selectedInterface, key);
  profile.WriteInt(key, index);
}

void MonitorModel::SetInterfaceAutoScale(int32_t flag) {
  if (CTrafficStats* stats = SelectedStats()) stats->autoScale = flag != 0 ? 1 : 0;
}

void MonitorModel::ValidateSelectedInterface() {
  if (selectedInterface < 0 || uint32_t(selectedInterface) >= interfaceCount) selectedInterface = 0;
}

void MonitorModel::WriteConfigureSettings() {
  WriteConfigureGroup(*this, profile);
}

void MonitorModel::WriteExitSettings(WindowOrigin origin) {
  WriteExitGroup(*this, origin, profile);
}

void MonitorModel::SetGraphStyle(int32_t style) {
  graphStyle = style;
  columnRange = ColumnRangeForStyle(style, graphHeight);
}

CTrafficStats* MonitorModel::SelectedStats() {
  if (selectedInterface < 0 || size_t(selectedInterface) >= statsTable.size()) return nullptr;
  return statsTable[size_t(selectedInterface)].get();
}

void MonitorModel::OnStatisticsTick() {
  CTrafficStats* stats = SelectedStats();
  if (stats == nullptr) return;
  stats->UpdateStatistics();
  DrawTrayPicture();
  PaintGraphPanel();
  char tip[kTrayTipSize];
  FormatTrayTip(stats->currentReceived, stats->currentSent, tip);
  platform.ReplaceTrayIcon(tip);
  if (++logTickCount >= kLogIntervalTicks) {
    logTickCount = 0;
    stats->WriteLogLine();
  }
}

void MonitorModel::OnGraphTick() {
  if (CTrafficStats* stats = SelectedStats()) stats->UpdateGraph();
}

void MonitorModel::PaintGraphPanel() {
  if (CTrafficStats* stats = SelectedStats()) ::PaintGraphPanel(*this, *stats, platform.GraphCanvas());
}

void MonitorModel::DrawTrayPicture() {
  if (CTrafficStats* stats = SelectedStats()) ::DrawTrayPicture(*stats, platform.TrayImage());
}

void MonitorModel::FreeInterfaceStats() {
  statsTable.clear();
}
