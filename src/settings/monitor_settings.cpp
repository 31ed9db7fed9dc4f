// Default values of the main window's settings: the member initialisers and the six presets.
#include "settings/monitor_settings.h"

#include <cstring>

MonitorSettings::MonitorSettings() {
  memcpy(presets, kDefaultPresets, sizeof presets);
}

void MonitorSettings::ResetToDefaults() {
  *this = MonitorSettings();
}
