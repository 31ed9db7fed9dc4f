// A monitor model over the fake platform and an in-memory profile, with a few interfaces, which
// counts the restarts of its graph timer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/monitor_model.h"
#include "support/fake_platform.h"
#include "support/memory_profile.h"

struct ModelFakes {
  FakePlatform fakePlatform;
  MemoryProfile memoryProfile;
};

class TestModel : public ModelFakes, public MonitorModel {
 public:
  explicit TestModel(uint32_t interfaces) : MonitorModel(fakePlatform, memoryProfile) {
    const char* names[] = {"Ethernet adapter", "Loopback", "Wireless adapter", "VPN tunnel"};
    for (uint32_t i = 0; i < 4; ++i) fakePlatform.descriptions[i] = names[i];
    LoadAllSettings();
    if (interfaces > 0) CreateInterfaceStats(interfaces);
    memoryProfile.accesses.clear();
  }
  void RestartGraphTimer() override { restartPeriods.push_back(refreshPeriodMs); }

  int32_t StoredDeviceSpeedIndex(int interfaceIndex) const {
    const auto found = memoryProfile.ints.find("DeviceSpeedIndex" + std::to_string(interfaceIndex));
    return found == memoryProfile.ints.end() ? -1 : found->second;
  }

  std::vector<int32_t> restartPeriods;  // refreshPeriodMs at each restart
};
