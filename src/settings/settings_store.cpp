// Settings load and save (being written).
#include "settings/settings_store.h"

#include <cstdio>

void LoadSettings(MonitorSettings& settings, IProfile&) { settings.ResetToDefaults(); }
void LoadPresets(SpeedPreset (&)[kPresetCount], IProfile&) {}
void WriteConfigureGroup(const MonitorSettings&, IProfile&) {}
void WriteExitGroup(const MonitorSettings&, WindowOrigin, IProfile&) {}
void FormatDeviceSpeedIndexKey(int32_t interfaceIndex, char (&key)[32]) {
  snprintf(key, sizeof key, "%s%d", "DeviceSpeedIndex", int(interfaceIndex));
}
