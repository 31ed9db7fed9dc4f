// The main window's portable state and ticks (being written).
#include "app/monitor_model.h"

#include "settings/settings_store.h"

MonitorModel::MonitorModel(IMonitorPlatform& p, IProfile& prof) : platform(p), profile(prof) {}
MonitorModel::~MonitorModel() = default;
void MonitorModel::LoadAllSettings() { LoadSettings(*this, profile); }
bool MonitorModel::CreateInterfaceStats(uint32_t) { return true; }
void MonitorModel::ReadDeviceSpeedIndexes() {}
int32_t MonitorModel::GetDeviceSpeedIndex(int32_t) const { return 0; }
void MonitorModel::WriteDeviceSpeedIndex() {}
void MonitorModel::SetInterfaceAutoScale(int32_t) {}
void MonitorModel::ValidateSelectedInterface() {}
void MonitorModel::WriteConfigureSettings() {}
void MonitorModel::WriteExitSettings(WindowOrigin) {}
void MonitorModel::SetGraphStyle(int32_t) {}
CTrafficStats* MonitorModel::SelectedStats() { return nullptr; }
void MonitorModel::OnStatisticsTick() {}
void MonitorModel::OnGraphTick() {}
void MonitorModel::PaintGraphPanel() {}
void MonitorModel::DrawTrayPicture() {}
void MonitorModel::FreeInterfaceStats() { statsTable.clear(); }
