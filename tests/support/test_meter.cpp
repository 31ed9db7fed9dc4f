// The started meter of the dialog tests.
#include "support/test_meter.h"

#include <string>

StartedMeter::StartedMeter(uint32_t interfaces) : interfaces(interfaces) {
  const char* names[] = {"Ethernet adapter", "Loopback", "Wireless adapter", "VPN tunnel"};
  for (uint32_t i = 0; i < 4; ++i) counters.descriptions[i] = names[i];
  model.LoadAllSettings();
  if (interfaces > 0) model.CreateInterfaceStats(interfaces);
  profile.accesses.clear();
}

void StartedMeter::StorePresetIndex(int32_t row, int32_t index) {
  profile.ints["DeviceSpeedIndex" + std::to_string(row)] = index;
  model.CreateInterfaceStats(interfaces);
  profile.accesses.clear();
}

bool StartedMeter::GraphStartsAgain() {
  const int paints = view.canvas.paints;
  counters.AddTraffic(settings.selectedInterface, 8000, 8000);
  model.OnGraphTick();
  return view.canvas.paints == paints;
}

int32_t StartedMeter::StoredDeviceSpeedIndex(int interfaceIndex) const {
  const std::string key = "DeviceSpeedIndex" + std::to_string(interfaceIndex);
  for (auto access = profile.accesses.rbegin(); access != profile.accesses.rend(); ++access)
    if (access->kind == ProfileAccess::WriteInt && access->key == key) return access->value;
  return -1;
}
