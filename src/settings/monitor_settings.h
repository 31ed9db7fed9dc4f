// The main window's settings and graph geometry, as plain data shared by core and shell.
#pragma once

#include <cstdint>

#include "settings/speed_preset.h"

struct MonitorSettings {
  int32_t kbValue = 10;  // carried from load to save unchanged
  int32_t refreshPeriodMs = 200;
  int32_t selectedInterface = 0;
  int32_t mirValue = 0;    // carried from load to save unchanged
  int32_t graphStyle = 1;  // 0 mirror-like, 1 normal, 2 overlapped
  int32_t startX = 0;
  int32_t startY = 0;
  // 1: the place is in the screen's pixels. Versions that did not scale with the DPI stored it in
  // 96-DPI pixels of the system's scaling.
  int32_t placeInPixels = 0;
  int32_t sendStatSelection = 0;
  int32_t receiveStatSelection = 0;
  int32_t alwaysOnTop = 1;
  int32_t trayOnly = 0;
  // The rates on the taskbar (1: on), and on every taskbar rather than the main one (1).
  int32_t taskbarReadout = 0;
  int32_t everyTaskbar = 0;
  int32_t presetIndex = 0;
  int32_t autoScale = 0;
  bool traySeparateScaleEnabled = false;
  int32_t trayScaleValue = 16;
  // The monthly allowance (0: none), its unit (1: GB, 0: MB) and the day of the month its period
  // starts on; then what the tray has announced: the period's first day as yyyymmdd and the percent.
  int32_t allowanceAmount = 0;
  int32_t allowanceInGigabytes = 1;
  int32_t allowanceStartDay = 1;
  int32_t allowanceNoticePeriod = 0;
  int32_t allowanceNoticePercent = 0;
  SpeedPreset presets[kPresetCount];
  // The chosen interface by its identity, which stays with it when rows move: the LUID of an
  // adapter, kAllLinksInterfaceId for all links together, 0 when the profile names none.
  uint64_t interfaceId = 0;
  // False until the Configure group has stored "eth" or "ethid": each start then picks the interface.
  bool interfaceStored = false;

  int32_t graphColumns = 160;
  int32_t graphHeight = 100;
  int32_t columnRange = 50;  // graphHeight / 2, or graphHeight in the overlapped style

  MonitorSettings();
  void ResetToDefaults();
};

// The identity of all links together; no LUID is all ones.
constexpr uint64_t kAllLinksInterfaceId = ~uint64_t(0);

constexpr int32_t kGraphStyleMirror = 0;
constexpr int32_t kGraphStyleNormal = 1;
constexpr int32_t kGraphStyleOverlapped = 2;
constexpr int32_t kMaxGraphColumns = 200;

// A column may be half the graph high, or the whole graph in the overlapped style.
inline int32_t ColumnRangeForStyle(int32_t graphStyle, int32_t graphHeight) {
  return graphStyle == kGraphStyleOverlapped ? graphHeight : graphHeight >> 1;
}
