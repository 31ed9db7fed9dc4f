// Prints the figures whose floating-point arithmetic could differ between builds: axis labels,
// console bar heights, and the averages, percentages and tray rows of a fixed run of counter
// readings. The test command runs it from each build and wants the outputs equal byte for byte.
#include <cstdint>
#include <cstdio>

#include "render/axis_labels.h"
#include "render/hour_chart.h"
#include "render/tray_picture.h"
#include "stats/traffic_stats.h"
#include "support/test_meter.h"

namespace {

void PrintAxisLabels(uint32_t top, int32_t count) {
  char labels[AxisLabelSet::kSlots][AxisLabelSet::kLength] = {};
  const uint32_t divisor = FormatAxisLabels(top, labels, count);
  std::printf("labels %u/%d:", unsigned(top), int(count));
  for (int32_t i = 0; i < count; ++i) std::printf(" %s", labels[i]);
  std::printf(" /%u\n", unsigned(divisor));
}

void ReportAxisLabels() {
  const uint32_t larger[] = {9999,     10000,      65535,      99999,      100000,     1u << 20,
                             4194303u, 16777215u, 16777217u, 123456789u, 2147483647u, 4294967295u};
  for (int32_t count = 3; count <= 4; ++count) {
    for (uint32_t top = 0; top <= 5000; ++top) PrintAxisLabels(top, count);
    for (uint32_t top : larger) PrintAxisLabels(top, count);
  }
}

void PrintBars(uint32_t largest, uint32_t sum) {
  const float scale = HourBarScale(largest);
  std::printf("bars %u %u: scale %.9g height %u\n", unsigned(largest), unsigned(sum), double(scale),
              unsigned(HourBarHeight(sum, scale)));
}

void ReportBarHeights() {
  const uint32_t around[] = {1u << 24, 16909440u, 1u << 31, 4294967295u};
  for (uint32_t centre : around) {
    for (int64_t d = -40; d <= 40; ++d) {
      const int64_t value = int64_t(centre) + d;
      if (value < 0 || value > int64_t(UINT32_MAX)) continue;
      PrintBars(centre, uint32_t(value));
      PrintBars(uint32_t(value), uint32_t(value) - uint32_t(value) / 7);
    }
  }
}

// A pseudo-random but fixed run of seconds, with a wrap of both counters and a few bursts.
uint32_t NextAmount(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  const uint32_t amount = state >> 12;
  return (state & 0xF0000u) == 0 ? amount * 997u : amount;
}

void ReportStatisticsRun() {
  StatsRig rig;
  rig.settings.presets[0].bandd = 7;
  rig.settings.presets[0].bandu = 3;
  rig.settings.trayScaleValue = 13;
  CTrafficStats& stats = rig.stats;
  const TrafficFigures& f = rig.figures;
  rig.counters.rows[0] = {4294000000u, 4293000000u};
  uint32_t state = 12345;
  for (int second = 0; second < 4000; ++second) {
    rig.counters.AddTraffic(0, NextAmount(state), NextAmount(state));
    rig.settings.traySeparateScaleEnabled = second % 500 >= 250;
    stats.UpdateStatistics();
    if (second % 7 != 0 && second < 3990) continue;
    const TrayBars rows = TrayBarsOf(f);
    std::printf("second %d: %.9g %.9g %.9g %.9g | %.9g %.9g %.9g %.9g %.9g %.9g | %u %u %u %u\n", second,
                double(f.avgSentMinute), double(f.avgReceivedMinute), double(f.avgSentHour),
                double(f.avgReceivedHour), double(f.pctSentNow), double(f.pctReceivedNow), double(f.pctSentMinute),
                double(f.pctReceivedMinute), double(f.pctSentHour), double(f.pctReceivedHour),
                unsigned(rows.sentRow), unsigned(rows.receivedRow), unsigned(rows.sentMinuteRow),
                unsigned(rows.receivedMinuteRow));
  }
}

}  // namespace

int main() {
  ReportAxisLabels();
  ReportBarHeights();
  ReportStatisticsRun();
  return 0;
}
