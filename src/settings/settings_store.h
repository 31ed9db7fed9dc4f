// Loading the settings at start-up and writing the Configure and exit groups.
#pragma once

#include "settings/monitor_settings.h"
#include "settings/profile.h"

// The window's left and top edges are written only when the rectangle could be read.
struct WindowOrigin {
  bool known;
  int32_t left;
  int32_t top;
};

// Defaults, then every scalar key in its order, the interface's identity ("ethid"), whether an
// interface is stored, then the presets, then the graph geometry. A damaged identity names none.
void LoadSettings(MonitorSettings& settings, IProfile& profile);
void LoadPresets(SpeedPreset (&presets)[kPresetCount], IProfile& profile);
// The scalars of Configure, the interface's identity (emptied when none), then the preset numbers.
void WriteConfigureGroup(const MonitorSettings& settings, IProfile& profile);
void WriteExitGroup(const MonitorSettings& settings, WindowOrigin origin, IProfile& profile);
// The taskbar readout's two flags.
void WriteTaskbarGroup(const MonitorSettings& settings, IProfile& profile);
// The monthly allowance and what the tray has announced of it.
void WriteAllowanceGroup(const MonitorSettings& settings, IProfile& profile);

// "DeviceSpeedIndex" followed by the interface index in decimal.
void FormatDeviceSpeedIndexKey(int32_t interfaceIndex, char (&key)[32]);
