// One interface's figures as its statistics last computed them: the one record that the graph panel,
// the tray icon and its tip, the log, the allowance and the taskbar readout read. Amounts are bytes.
#pragma once

#include <cstdint>

struct TrafficFigures {
  static constexpr int kColumnSlots = 200;

  // The last second, and the means of the last minute and hour, in bytes a second.
  uint32_t currentSent = 0;
  uint32_t currentReceived = 0;
  float avgSentMinute = 0;
  float avgReceivedMinute = 0;
  float avgSentHour = 0;
  float avgReceivedHour = 0;
  // The same as percentages of the preset's bandwidth in each direction; not capped at 100.
  float pctSentNow = 0;
  float pctReceivedNow = 0;
  float pctSentMinute = 0;
  float pctReceivedMinute = 0;
  float pctSentHour = 0;
  float pctReceivedHour = 0;
  // Since the statistics of this interface started; 64-bit, so they never wrap.
  uint64_t totalSent = 0;
  uint64_t totalReceived = 0;

  // The graph's columns in pixels of the column range, newest first.
  uint32_t sentColumns[kColumnSlots] = {};
  uint32_t receivedColumns[kColumnSlots] = {};
  // The auto-scale tops of the two graphs in bytes, and whether the graph follows them; otherwise
  // both graphs are drawn to the preset's full scale.
  uint32_t sentScaleTop = 0;
  uint32_t receivedScaleTop = 0;
  bool autoScale = false;
  int32_t graphScaleKb = 0;
  // The full scale of the tray meter in kB of 1024 bytes a second: the tray's own or the preset's.
  int32_t trayScaleKb = 0;

  // The link was disconnected when the figures were taken: a minute ending now says "cable".
  bool linkDown = false;
};
