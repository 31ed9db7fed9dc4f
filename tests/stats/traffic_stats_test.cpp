// The statistics engine: per-second deltas, histories, averages, percentages, totals and tray levels.
#include "stats/traffic_stats.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/test_meter.h"

namespace {

class StatisticsTest : public ::testing::Test, protected StatsRig {
 protected:
  // One statistics tick after the interface moved the given bytes.
  void Second(uint32_t sent, uint32_t received) {
    counters.AddTraffic(0, sent, received);
    stats.UpdateStatistics();
  }
};

TEST(StatisticsHelpers, ShiftHistoryDropsTheOldestAndKeepsSlotZero) {
  uint32_t v[5] = {1, 2, 3, 4, 5};
  CTrafficStats::ShiftHistory(v, 5);
  EXPECT_EQ(v[0], 1u);
  EXPECT_EQ(v[1], 1u);
  EXPECT_EQ(v[4], 4u);
  CTrafficStats::ShiftHistory(v, 1);
  CTrafficStats::ShiftHistory(v, 0);
  CTrafficStats::ShiftHistory(v, -3);
  EXPECT_EQ(v[1], 1u);
}

TEST(StatisticsHelpers, MeanDividesByTheFullLength) {
  const uint32_t v[4] = {UINT32_MAX, UINT32_MAX, 0, 0};
  EXPECT_DOUBLE_EQ(CTrafficStats::Mean(v, 4), UINT32_MAX / 2.0);
  EXPECT_DOUBLE_EQ(CTrafficStats::Mean(v, 0), 0.0);
  EXPECT_DOUBLE_EQ(CTrafficStats::Mean(v, -1), 0.0);
}

TEST_F(StatisticsTest, FirstTickRecordsAZeroSecond) {
  counters.rows[0] = {5000, 7000};
  stats.UpdateStatistics();
  EXPECT_TRUE(stats.statsCounters.HasBaseline());
  EXPECT_EQ(stats.currentSent, 0u);
  EXPECT_EQ(stats.currentReceived, 0u);
  EXPECT_EQ(stats.totalSent, 0u);
  EXPECT_EQ(stats.totalReceived, 0u);
  EXPECT_EQ(stats.pctReceivedNow, 0.0f);
  EXPECT_EQ(stats.pctSentHour, 0.0f);
  EXPECT_EQ(stats.minuteSent[0], 0u);

  Second(100, 200);
  EXPECT_EQ(stats.currentSent, 100u);
  EXPECT_EQ(stats.currentReceived, 200u);
  EXPECT_EQ(stats.minuteReceived[0], 200u);
  EXPECT_EQ(stats.minuteReceived[1], 0u);
  EXPECT_EQ(stats.hourSent[0], 100u);
  EXPECT_EQ(stats.totalReceived, 200u);
}

TEST(Statistics, ReadTheirOwnRow) {
  MonitorSettings settings;
  StubCounters counters;
  CTrafficStats stats(settings, counters, 3);
  stats.UpdateStatistics();
  counters.AddTraffic(3, 10, 20);
  counters.AddTraffic(0, 99, 99);
  stats.UpdateStatistics();
  EXPECT_EQ(counters.lastRow, 3);
  EXPECT_EQ(stats.currentReceived, 20u);
}

TEST_F(StatisticsTest, CounterWrapGivesTheTrueDifference) {
  counters.rows[0] = {4294967000u, 4294967000u};
  stats.UpdateStatistics();
  counters.rows[0] = {200, 200};
  stats.UpdateStatistics();
  EXPECT_EQ(stats.currentSent, 496u);
  EXPECT_EQ(stats.currentReceived, 496u);
  EXPECT_EQ(stats.totalSent, 496u);
}

TEST_F(StatisticsTest, AveragesRampUpOverTheMinuteAndHour) {
  stats.UpdateStatistics();
  for (int i = 0; i < 30; ++i) Second(0, 1000);
  EXPECT_FLOAT_EQ(stats.avgReceivedMinute, 500.0f);
  EXPECT_FLOAT_EQ(stats.avgReceivedHour, 30000.0f / 3600);
  EXPECT_FLOAT_EQ(stats.avgSentMinute, 0.0f);

  for (int i = 0; i < 30; ++i) Second(0, 1000);  // the zero baseline second falls off now
  EXPECT_FLOAT_EQ(stats.avgReceivedMinute, 1000.0f);
  Second(0, 0);
  EXPECT_FLOAT_EQ(stats.avgReceivedMinute, 59000.0f / 60);
  EXPECT_FLOAT_EQ(stats.avgReceivedHour, 60000.0f / 3600);
}

TEST_F(StatisticsTest, PercentagesOfTheBandwidth) {
  settings.presets[0].bandd = 5;
  settings.presets[0].bandu = 16;
  stats.UpdateStatistics();
  Second(1600, 4999);
  // Each share over its own average and its own direction's bandwidth: 5 kB/s down, 16 up.
  const struct {
    const char* name;
    float CTrafficStats::*share;
    float expected;
  } shares[] = {
      {"pctReceivedNow", &CTrafficStats::pctReceivedNow, 99.9f},
      {"pctSentNow", &CTrafficStats::pctSentNow, 10.0f},
      {"pctReceivedMinute", &CTrafficStats::pctReceivedMinute, float(4999.0 / 60 / 5 / 10)},
      {"pctSentMinute", &CTrafficStats::pctSentMinute, float(1600.0 / 60 / 16 / 10)},
      {"pctReceivedHour", &CTrafficStats::pctReceivedHour, float(4999.0 / 3600 / 5 / 10)},
      {"pctSentHour", &CTrafficStats::pctSentHour, float(1600.0 / 3600 / 16 / 10)},
  };
  for (const auto& s : shares) EXPECT_FLOAT_EQ(stats.*s.share, s.expected) << s.name;

  // A rate above the bandwidth is not capped.
  Second(0, 10000);
  EXPECT_FLOAT_EQ(stats.pctReceivedNow, 200.0f);
}

TEST_F(StatisticsTest, ZeroOrNegativeBandwidthShowsZeroPercent) {
  settings.presets[0].bandd = 0;
  settings.presets[0].bandu = -8;
  stats.UpdateStatistics();
  Second(123456, 654321);
  EXPECT_EQ(stats.pctReceivedNow, 0.0f);
  EXPECT_EQ(stats.pctReceivedMinute, 0.0f);
  EXPECT_EQ(stats.pctReceivedHour, 0.0f);
  EXPECT_EQ(stats.pctSentNow, 0.0f);
  EXPECT_EQ(stats.pctSentMinute, 0.0f);
  EXPECT_EQ(stats.pctSentHour, 0.0f);
}

TEST_F(StatisticsTest, PresetIndexOutsideTheSixSelectsTheFirst) {
  settings.presets[0].bandd = 10;
  for (int32_t index : {6, -1, INT32_MAX}) {
    stats.deviceSpeedIndex = index;
    EXPECT_EQ(&stats.Preset(), &settings.presets[0]);
  }
  stats.deviceSpeedIndex = 5;
  EXPECT_EQ(&stats.Preset(), &settings.presets[5]);
}

TEST_F(StatisticsTest, TotalsGoBeyondFourGibibytes) {
  counters.MakeFast(0);
  stats.UpdateStatistics();
  for (int i = 0; i < 3; ++i) Second(0x80000000u, 0xFFFFFFFFu);
  EXPECT_EQ(stats.totalSent, 3ull * 0x80000000u);
  EXPECT_EQ(stats.totalReceived, 3ull * 0xFFFFFFFFu);
}

TEST_F(StatisticsTest, TrayUnitFollowsTheSeparateScaleOrThePreset) {
  settings.traySeparateScaleEnabled = true;
  settings.trayScaleValue = 16;
  EXPECT_EQ(stats.TrayUnit(), 1024u);
  settings.trayScaleValue = 0;
  EXPECT_EQ(stats.TrayUnit(), 1u);

  settings.traySeparateScaleEnabled = false;
  EXPECT_EQ(stats.TrayUnit(), 4u * 64);  // the modem preset's def of 4 KB/s
  stats.deviceSpeedIndex = 5;
  EXPECT_EQ(stats.TrayUnit(), 2500u * 64);
}

// Only a damaged profile holds a negative full scale; the graph's divisor, its labels and the tray
// unit all take it as 0, whichever scale it is.
TEST_F(StatisticsTest, AFullScaleBelowZeroCountsAsZeroEverywhere) {
  for (int32_t negative : {-1, -4, INT32_MIN}) {
    settings.presets[0].def = negative;
    settings.traySeparateScaleEnabled = false;
    EXPECT_EQ(stats.TrayUnit(), 1u) << negative;
    settings.traySeparateScaleEnabled = true;
    settings.trayScaleValue = negative;
    EXPECT_EQ(stats.TrayUnit(), 1u) << negative;

    stats.graphRestart = 1;
    stats.UpdateGraph();
    counters.AddTraffic(0, 7, 7);
    stats.UpdateGraph();
    EXPECT_EQ(stats.lastSentDivisor, 1u) << negative;
    EXPECT_EQ(stats.sentColumns[0], 7u) << negative;
    stats.BuildAxisLabels(3);
    EXPECT_STREQ(stats.sentLabels[2], "0") << negative;
    EXPECT_EQ(stats.sentLabelDivisor, 1u) << negative;
  }
}

TEST_F(StatisticsTest, TrayLevelsAreRatesInTrayRows) {
  settings.traySeparateScaleEnabled = true;
  settings.trayScaleValue = 16;
  stats.UpdateStatistics();
  Second(3 * 1024 + 1023, 20 * 1024);
  EXPECT_EQ(stats.traySentLevel, 3u);
  EXPECT_EQ(stats.trayReceivedLevel, 20u);   // not clamped here
  EXPECT_EQ(stats.traySentMinuteLevel, 0u);  // 4095 / 60 bytes a second
  for (int i = 0; i < 59; ++i) Second(2048, 0);
  EXPECT_EQ(stats.traySentMinuteLevel, 2u);
  EXPECT_EQ(stats.trayReceivedMinuteLevel, 0u);
}

TEST_F(StatisticsTest, HugeAveragesSaturateTheMinuteLevels) {
  settings.traySeparateScaleEnabled = true;
  settings.trayScaleValue = 0;  // one byte a row
  counters.MakeFast(0);
  stats.UpdateStatistics();
  for (int i = 0; i < 60; ++i) Second(UINT32_MAX, UINT32_MAX);
  EXPECT_EQ(stats.traySentMinuteLevel, UINT32_MAX);
  EXPECT_EQ(stats.trayReceivedLevel, UINT32_MAX);
}

}  // namespace
