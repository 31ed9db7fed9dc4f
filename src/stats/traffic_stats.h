// Statistics of one network interface: per-second deltas, minute and hour histories and averages,
// totals, bandwidth shares, and the graph's columns and scales. Each tick leaves its results in one
// read-only figures record; nothing outside reaches the state behind it.
#pragma once

#include <cstdint>

#include "sampling/counter_source.h"
#include "sampling/counter_tracker.h"
#include "settings/monitor_settings.h"
#include "stats/traffic_figures.h"

class CTrafficStats {
 public:
  static constexpr int kMinuteLength = 60;
  static constexpr int kHourLength = 3600;
  static constexpr int kColumnSlots = TrafficFigures::kColumnSlots;

  // Reads the settings (graph geometry, presets, tray scale, refresh period) and the counters of
  // its own row; takes autoScale from the settings.
  CTrafficStats(const MonitorSettings& settings, ICounterSource& counters, int32_t interfaceIndex);
  CTrafficStats(const CTrafficStats&) = delete;
  CTrafficStats& operator=(const CTrafficStats&) = delete;

  static double Mean(const uint32_t* values, int32_t n);
  static void ShiftHistory(uint32_t* values, int32_t n);

  void UpdateStatistics();
  // Adds one column per direction; false when the tick only took a new baseline.
  bool UpdateGraph();
  // What the last tick computed.
  const TrafficFigures& Figures() const { return figures; }

  int32_t InterfaceIndex() const { return interfaceIndex; }
  // The preset that applies to this interface (an index outside 0..5 means preset 0).
  const SpeedPreset& Preset() const;
  int32_t DeviceSpeedIndex() const { return deviceSpeedIndex; }
  // Another preset applies from now on; the next graph tick only takes a new baseline.
  void UsePreset(int32_t index);
  void SetAutoScale(bool on);

 private:
  void UpdateScaleTops();
  void RescaleColumns(uint32_t sentDivisor, uint32_t receivedDivisor);
  // The settings and preset the figures were taken under, for the views that draw them.
  void NoteScales();

  const MonitorSettings& settings;
  ICounterSource& counters;
  int32_t interfaceIndex = 0;
  TrafficFigures figures;
  uint32_t hourReceived[kHourLength] = {};
  uint32_t hourSent[kHourLength] = {};
  uint32_t minuteReceived[kMinuteLength] = {};
  uint32_t minuteSent[kMinuteLength] = {};
  uint32_t sentRaw[kColumnSlots] = {};
  uint32_t receivedRaw[kColumnSlots] = {};
  uint32_t graphRestart = 1;
  // The two ticks read the counters at their own times, each against its own baseline.
  CounterTracker statsCounters;
  CounterTracker graphCounters;
  uint32_t autoScale = 0;
  int32_t deviceSpeedIndex = 0;
  uint32_t lastSentDivisor = 0;
  uint32_t lastReceivedDivisor = 0;
};
