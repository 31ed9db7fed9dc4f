// The started meter of the dialog tests.
#include "support/test_meter.h"

#include <string>

StartedMeter::StartedMeter(uint32_t interfaces) {
  const char* names[] = {"Ethernet adapter", "Loopback", "Wireless adapter", "VPN tunnel"};
  for (uint32_t i = 0; i < 4; ++i) counters.descriptions[i] = names[i];
  model.LoadAllSettings();
  if (interfaces > 0) model.CreateInterfaceStats(interfaces);
  profile.accesses.clear();
}

int32_t StartedMeter::StoredDeviceSpeedIndex(int interfaceIndex) const {
  const auto found = profile.ints.find("DeviceSpeedIndex" + std::to_string(interfaceIndex));
  return found == profile.ints.end() ? -1 : found->second;
}
