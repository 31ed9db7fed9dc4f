// Statistics of one network interface: per-second deltas, histories, averages, totals,
// bandwidth shares, tray levels, the graph's columns, scales and axis labels, and its traffic log.
#pragma once

#include <cstdint>
#include <memory>

#include "log/log_sink.h"
#include "log/minute_record.h"
#include "log/traffic_log.h"
#include "sampling/counter_source.h"
#include "sampling/counter_tracker.h"
#include "settings/monitor_settings.h"

// The axis labels of the graph and their divisors, as the panel shows them now.
struct AxisLabelSet {
  static constexpr int kSlots = 4;
  static constexpr int kLength = 14;
  uint32_t sentDivisor;
  uint32_t receivedDivisor;
  char sent[kSlots][kLength];
  char received[kSlots][kLength];
};

class CTrafficStats {
 public:
  static constexpr int kMinuteLength = 60;
  static constexpr int kHourLength = 3600;
  static constexpr int kColumnSlots = 200;
  static constexpr int kLabelSlots = AxisLabelSet::kSlots;
  static constexpr int kLabelLength = AxisLabelSet::kLength;

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
  void UpdateScaleTops();
  void RescaleColumns(uint32_t sentDivisor, uint32_t receivedDivisor);
  // The labels for `count` marks per axis, from the current scale; BuildAxisLabels keeps them.
  AxisLabelSet AxisLabels(int32_t count) const;
  void BuildAxisLabels(int32_t count);
  static uint32_t FormatAxisLabels(uint32_t top, char (*labels)[kLabelLength], int32_t count);

  // Opens or creates the interface's log, with a header when the file is new or empty.
  // False when the file cannot be opened.
  bool OpenLog(ILogSink& sink);
  // The minute that ends now: the bytes counted since the previous record, and whether the link
  // is down. The next record counts from here.
  MinuteRecord TakeMinuteRecord(const LocalDateTime& now);
  // As recorded when the interfaces were read.
  bool LinkDisconnected() const;

  // The preset that applies to this interface (an index outside 0..5 means preset 0).
  const SpeedPreset& Preset() const;
  uint32_t TrayUnit() const;

  std::unique_ptr<ILogFile> logFile;  // null when the log could not be opened
  bool logOpened = false;             // opened, or tried, this run
  int32_t interfaceIndex = 0;
  uint32_t hourReceived[kHourLength] = {};
  uint32_t hourSent[kHourLength] = {};
  uint32_t minuteReceived[kMinuteLength] = {};
  uint32_t minuteSent[kMinuteLength] = {};
  uint32_t sentColumns[kColumnSlots] = {};
  uint32_t receivedColumns[kColumnSlots] = {};
  uint32_t sentRaw[kColumnSlots] = {};
  uint32_t receivedRaw[kColumnSlots] = {};
  uint32_t traySentMinuteLevel = 0;
  uint32_t trayReceivedMinuteLevel = 0;
  float avgSentMinute = 0;
  float avgReceivedMinute = 0;
  float avgSentHour = 0;
  float avgReceivedHour = 0;
  float pctReceivedMinute = 0;
  float pctSentMinute = 0;
  float pctReceivedHour = 0;
  float pctSentHour = 0;
  float pctReceivedNow = 0;
  float pctSentNow = 0;
  uint32_t currentSent = 0;
  uint32_t currentReceived = 0;
  uint32_t traySentLevel = 0;
  uint32_t trayReceivedLevel = 0;
  uint32_t graphRestart = 1;
  // Totals and the log bookkeeping are 64-bit so that they never wrap at 4 GiB.
  uint64_t totalSent = 0;
  uint64_t totalReceived = 0;
  // The two ticks read the counters at their own times, each against its own baseline.
  CounterTracker statsCounters;
  CounterTracker graphCounters;
  uint64_t logSent = 0;
  uint64_t logReceived = 0;
  uint64_t logMarkSent = 0;
  uint64_t logMarkReceived = 0;
  uint32_t autoScale = 0;
  int32_t deviceSpeedIndex = 0;
  uint32_t sentLabelDivisor = 1;
  uint32_t receivedLabelDivisor = 1;
  uint32_t sentScaleTop = 0;
  uint32_t receivedScaleTop = 0;
  uint32_t lastSentDivisor = 0;
  uint32_t lastReceivedDivisor = 0;
  char sentLabels[kLabelSlots][kLabelLength] = {};
  char receivedLabels[kLabelSlots][kLabelLength] = {};

 private:
  const MonitorSettings& settings;
  ICounterSource& counters;
};
