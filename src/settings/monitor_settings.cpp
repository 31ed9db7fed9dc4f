// Default values of the main window's settings.
#include "settings/monitor_settings.h"

#include <cstring>

MonitorSettings::MonitorSettings() { ResetToDefaults(); }

void MonitorSettings::ResetToDefaults() {
  kbValue = 10;
  refreshPeriodMs = 200;
  selectedInterface = 0;
  mirValue = 0;
  graphStyle = kGraphStyleNormal;
  startX = 0;
  startY = 0;
  sendStatSelection = 0;
  receiveStatSelection = 0;
  alwaysOnTop = 1;
  trayOnly = 0;
  presetIndex = 0;
  autoScale = 0;
  traySeparateScaleEnabled = false;
  trayScaleValue = 16;
  memcpy(presets, kDefaultPresets, sizeof presets);
  graphColumns = 160;
  graphHeight = 100;
  columnRange = graphHeight >> 1;
}
