// The statistics engine of one interface (being written).
#include "stats/traffic_stats.h"

#include "app/monitor_model.h"

CTrafficStats::CTrafficStats(MonitorModel* ownerModel, int32_t index) : interfaceIndex(index), owner(ownerModel) {
  autoScale = uint32_t(owner->autoScale);
}
double CTrafficStats::Mean(const uint32_t*, int32_t) { return 0; }
void CTrafficStats::ShiftHistory(uint32_t*, int32_t) {}
void CTrafficStats::UpdateStatistics() {}
void CTrafficStats::UpdateGraph() {}
void CTrafficStats::UpdateScaleTops() {}
void CTrafficStats::RescaleColumns(uint32_t, uint32_t) {}
void CTrafficStats::BuildAxisLabels(int32_t) {}
uint32_t CTrafficStats::FormatAxisLabels(uint32_t, char (*)[kLabelLength], int32_t) { return 1; }
void CTrafficStats::OpenLog() {}
void CTrafficStats::WriteLogLine() {}
const SpeedPreset& CTrafficStats::Preset() const { return owner->presets[ValidPresetIndex(deviceSpeedIndex)]; }
uint32_t CTrafficStats::TrayUnit() const { return 1; }
