// The statistics engine: per-second deltas, histories, averages, percentages and totals.
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
  EXPECT_EQ(figures.currentSent, 0u);
  EXPECT_EQ(figures.currentReceived, 0u);
  EXPECT_EQ(figures.totalSent, 0u);
  EXPECT_EQ(figures.totalReceived, 0u);
  EXPECT_EQ(figures.pctReceivedNow, 0.0f);
  EXPECT_EQ(figures.pctSentHour, 0.0f);
  EXPECT_EQ(figures.avgSentMinute, 0.0f);

  Second(100, 200);
  EXPECT_EQ(figures.currentSent, 100u);
  EXPECT_EQ(figures.currentReceived, 200u);
  EXPECT_FLOAT_EQ(figures.avgReceivedMinute, 200.0f / 60);
  EXPECT_FLOAT_EQ(figures.avgSentHour, 100.0f / 3600);
  EXPECT_EQ(figures.totalReceived, 200u);
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
  EXPECT_EQ(stats.Figures().currentReceived, 20u);
}

TEST_F(StatisticsTest, CounterWrapGivesTheTrueDifference) {
  counters.rows[0] = {4294967000u, 4294967000u};
  stats.UpdateStatistics();
  counters.rows[0] = {200, 200};
  stats.UpdateStatistics();
  EXPECT_EQ(figures.currentSent, 496u);
  EXPECT_EQ(figures.currentReceived, 496u);
  EXPECT_EQ(figures.totalSent, 496u);
}

TEST_F(StatisticsTest, AveragesRampUpOverTheMinuteAndHour) {
  stats.UpdateStatistics();
  for (int i = 0; i < 30; ++i) Second(0, 1000);
  EXPECT_FLOAT_EQ(figures.avgReceivedMinute, 500.0f);
  EXPECT_FLOAT_EQ(figures.avgReceivedHour, 30000.0f / 3600);
  EXPECT_FLOAT_EQ(figures.avgSentMinute, 0.0f);

  for (int i = 0; i < 30; ++i) Second(0, 1000);  // the zero baseline second falls off now
  EXPECT_FLOAT_EQ(figures.avgReceivedMinute, 1000.0f);
  Second(0, 0);
  EXPECT_FLOAT_EQ(figures.avgReceivedMinute, 59000.0f / 60);
  EXPECT_FLOAT_EQ(figures.avgReceivedHour, 60000.0f / 3600);
}

TEST_F(StatisticsTest, PercentagesOfTheBandwidth) {
  settings.presets[0].bandd = 5;
  settings.presets[0].bandu = 16;
  stats.UpdateStatistics();
  Second(1600, 4999);
  // Each share over its own average and its own direction's bandwidth: 5 kB/s down, 16 up.
  const struct {
    const char* name;
    float TrafficFigures::*share;
    float expected;
  } shares[] = {
      {"pctReceivedNow", &TrafficFigures::pctReceivedNow, 99.9f},
      {"pctSentNow", &TrafficFigures::pctSentNow, 10.0f},
      {"pctReceivedMinute", &TrafficFigures::pctReceivedMinute, float(4999.0 / 60 / 5 / 10)},
      {"pctSentMinute", &TrafficFigures::pctSentMinute, float(1600.0 / 60 / 16 / 10)},
      {"pctReceivedHour", &TrafficFigures::pctReceivedHour, float(4999.0 / 3600 / 5 / 10)},
      {"pctSentHour", &TrafficFigures::pctSentHour, float(1600.0 / 3600 / 16 / 10)},
  };
  for (const auto& s : shares) EXPECT_FLOAT_EQ(figures.*s.share, s.expected) << s.name;

  // A rate above the bandwidth is not capped.
  Second(0, 10000);
  EXPECT_FLOAT_EQ(figures.pctReceivedNow, 200.0f);
}

TEST_F(StatisticsTest, ZeroOrNegativeBandwidthShowsZeroPercent) {
  settings.presets[0].bandd = 0;
  settings.presets[0].bandu = -8;
  stats.UpdateStatistics();
  Second(123456, 654321);
  EXPECT_EQ(figures.pctReceivedNow, 0.0f);
  EXPECT_EQ(figures.pctReceivedMinute, 0.0f);
  EXPECT_EQ(figures.pctReceivedHour, 0.0f);
  EXPECT_EQ(figures.pctSentNow, 0.0f);
  EXPECT_EQ(figures.pctSentMinute, 0.0f);
  EXPECT_EQ(figures.pctSentHour, 0.0f);
}

TEST_F(StatisticsTest, PresetIndexOutsideTheSixSelectsTheFirst) {
  settings.presets[0].bandd = 10;
  for (int32_t index : {6, -1, INT32_MAX}) {
    stats.UsePreset(index);
    EXPECT_EQ(&stats.Preset(), &settings.presets[0]);
  }
  stats.UsePreset(5);
  EXPECT_EQ(&stats.Preset(), &settings.presets[5]);
}

TEST_F(StatisticsTest, TotalsGoBeyondFourGibibytes) {
  counters.MakeFast(0);
  stats.UpdateStatistics();
  for (int i = 0; i < 3; ++i) Second(0x80000000u, 0xFFFFFFFFu);
  EXPECT_EQ(figures.totalSent, 3ull * 0x80000000u);
  EXPECT_EQ(figures.totalReceived, 3ull * 0xFFFFFFFFu);
}

// Only a damaged profile holds a negative full scale; the graph's divisor takes it as 0.
TEST_F(StatisticsTest, AFullScaleBelowZeroDividesTheGraphByOne) {
  for (int32_t negative : {-1, -4, INT32_MIN}) {
    settings.presets[0].def = negative;
    stats.UsePreset(0);
    stats.UpdateGraph();
    counters.AddTraffic(0, 7, 7);
    stats.UpdateGraph();
    EXPECT_EQ(figures.sentColumns[0], 7u) << negative;
    EXPECT_EQ(figures.graphScaleKb, negative) << "the views read it as it is stored";
  }
}

// The scales a view needs to draw the figures follow the settings and the preset at each tick.
TEST_F(StatisticsTest, TheFiguresCarryTheScalesTheyWereTakenUnder) {
  settings.presets[2].def = 64;
  stats.UsePreset(2);
  stats.UpdateStatistics();
  EXPECT_EQ(figures.graphScaleKb, 64);
  EXPECT_EQ(figures.trayScaleKb, 64);
  EXPECT_FALSE(figures.autoScale);

  settings.traySeparateScaleEnabled = true;
  settings.trayScaleValue = 16;
  stats.SetAutoScale(true);
  stats.UpdateStatistics();
  EXPECT_EQ(figures.trayScaleKb, 16);
  EXPECT_TRUE(figures.autoScale);
}

TEST_F(StatisticsTest, ADisconnectedLinkIsInTheFigures) {
  counters.operStatus[0] = kOperStatusDisconnected;
  stats.UpdateStatistics();
  EXPECT_TRUE(figures.linkDown);
  counters.operStatus[0] = kOperStatusOperational;
  stats.UpdateStatistics();
  EXPECT_FALSE(figures.linkDown);
}

}  // namespace
