// The graph side of the statistics engine: baselines, columns, scales and rescaling.
#include <gtest/gtest.h>

#include "stats/traffic_stats.h"
#include "support/test_meter.h"

namespace {

class GraphTest : public ::testing::Test, protected StatsRig {
 protected:
  // One graph tick after the interface moved the given bytes.
  void Tick(uint32_t sent, uint32_t received) {
    counters.AddTraffic(0, sent, received);
    stats.UpdateGraph();
  }
};

// The first tick, and the first after the statistics ticked, zero the current second of the
// figures, as the graph's first column can only come with the next tick.
TEST_F(GraphTest, FirstTickOnlyTakesABaseline) {
  counters.rows[0] = {1000, 2000};
  stats.UpdateStatistics();
  counters.AddTraffic(0, 5, 6);
  stats.UpdateStatistics();
  EXPECT_FALSE(stats.UpdateGraph());
  EXPECT_EQ(figures.currentSent, 0u);
  EXPECT_EQ(figures.currentReceived, 0u);
  EXPECT_EQ(figures.sentColumns[0], 0u);

  counters.AddTraffic(0, 400, 800);  // manual scale, def 4 over 50 pixels: 80 bytes a pixel
  EXPECT_TRUE(stats.UpdateGraph());
  EXPECT_EQ(figures.sentColumns[0], 5u);
  EXPECT_EQ(figures.receivedColumns[0], 10u);
}

TEST_F(GraphTest, CounterWrapGivesTheTrueDifference) {
  counters.rows[0] = {4294967000u, 4294967000u};
  stats.UpdateGraph();
  counters.rows[0] = {4000 - 296, 800 - 296};
  stats.UpdateGraph();
  EXPECT_EQ(figures.sentColumns[0], 50u - 1) << "4000 bytes over 80 a pixel, one below the range";
  EXPECT_EQ(figures.receivedColumns[0], 10u);
}

TEST_F(GraphTest, ANewPresetTakesANewBaselineAndKeepsTheColumns) {
  stats.UpdateGraph();
  Tick(800, 800);
  stats.UsePreset(0);
  counters.AddTraffic(0, 99999, 99999);
  EXPECT_FALSE(stats.UpdateGraph());
  EXPECT_EQ(figures.sentColumns[0], 10u);
  Tick(160, 160);
  EXPECT_EQ(figures.sentColumns[0], 2u);
  EXPECT_EQ(figures.sentColumns[1], 10u);
}

TEST_F(GraphTest, ManualScaleDivisorsFollowThePreset) {
  counters.MakeFast(0);
  stats.UpdateGraph();
  Tick(800, 1600);
  EXPECT_EQ(figures.sentColumns[0], 10u) << "80 bytes a pixel";
  EXPECT_EQ(figures.receivedColumns[0], 20u);

  settings.columnRange = 100;
  Tick(800, 0);
  EXPECT_EQ(figures.sentColumns[0], 20u) << "40 bytes a pixel";

  for (int32_t def : {0, -4, INT32_MIN}) {
    settings.presets[0].def = def;
    Tick(7, 0);
    EXPECT_EQ(figures.sentColumns[0], 7u) << "one byte a pixel at " << def;
  }
  settings.presets[0].def = INT32_MAX;  // no overflow: 2147483647000 / 100 saturates
  Tick(UINT32_MAX - 1, 0);
  EXPECT_EQ(figures.sentColumns[0], 0u);
  Tick(UINT32_MAX, 0);
  EXPECT_EQ(figures.sentColumns[0], 1u);
}

TEST_F(GraphTest, ColumnsStopOnePixelBelowTheRange) {
  counters.MakeFast(0);
  stats.UpdateGraph();
  Tick(50 * 80, 49 * 80);
  EXPECT_EQ(figures.sentColumns[0], 49u);
  EXPECT_EQ(figures.receivedColumns[0], 49u);
  Tick(UINT32_MAX, 48 * 80 + 79);
  EXPECT_EQ(figures.sentColumns[0], 49u);
  EXPECT_EQ(figures.receivedColumns[0], 48u);
}

TEST_F(GraphTest, RescaleRecomputesFromRawThenShifts) {
  stats.UpdateGraph();
  Tick(800, 0);  // the first column past the baseline always rescales
  EXPECT_EQ(figures.sentColumns[0], 10u);
  EXPECT_EQ(figures.sentColumns[1], 10u);
  Tick(1600, 0);
  Tick(2400, 0);
  EXPECT_EQ(figures.sentColumns[0], 30u);
  EXPECT_EQ(figures.sentColumns[1], 20u);
  EXPECT_EQ(figures.sentColumns[2], 10u);
  EXPECT_EQ(figures.sentColumns[3], 10u);

  settings.presets[0].def = 8;  // 160 bytes a pixel
  Tick(3200, 0);
  EXPECT_EQ(figures.sentColumns[0], 20u);
  EXPECT_EQ(figures.sentColumns[1], 20u);  // the newest value twice
  EXPECT_EQ(figures.sentColumns[2], 15u);  // column k holds raw value k - 1
  EXPECT_EQ(figures.sentColumns[3], 10u);
  EXPECT_EQ(figures.sentColumns[4], 5u);
}

TEST_F(GraphTest, AutoScaleKeepsATopPerDirectionUnlessOverlapped) {
  stats.SetAutoScale(true);
  stats.UpdateGraph();
  Tick(1000, 10000);
  EXPECT_EQ(figures.sentScaleTop, 1350u);
  EXPECT_EQ(figures.receivedScaleTop, 13500u);
  EXPECT_EQ(figures.sentColumns[0], 37u);  // 1000 over 27 a pixel: about 74 % of the range
  EXPECT_EQ(figures.receivedColumns[0], 37u);

  settings.graphStyle = kGraphStyleOverlapped;
  settings.columnRange = ColumnRangeForStyle(kGraphStyleOverlapped, settings.graphHeight);
  Tick(1000, 10000);
  EXPECT_EQ(figures.sentScaleTop, 13500u);
  EXPECT_EQ(figures.receivedScaleTop, 13500u);
  EXPECT_EQ(figures.sentColumns[0], 7u) << "135 bytes a pixel";
  EXPECT_EQ(figures.receivedColumns[0], 74u);

  Tick(20000, 10);  // the sent top now leads
  EXPECT_EQ(figures.receivedScaleTop, 27000u);
}

TEST_F(GraphTest, AutoScaleWithNoTrafficUsesOneBytePerPixel) {
  stats.SetAutoScale(true);
  stats.UpdateGraph();
  Tick(0, 0);
  EXPECT_EQ(figures.sentScaleTop, 0u);
  EXPECT_EQ(figures.receivedScaleTop, 0u);
  Tick(3, 4);
  EXPECT_EQ(figures.sentColumns[0], 3u);
  EXPECT_EQ(figures.receivedColumns[0], 4u);
}

TEST_F(GraphTest, HugeRawValuesSaturateTheScaleTop) {
  stats.SetAutoScale(true);
  counters.MakeFast(0);
  stats.UpdateGraph();
  Tick(UINT32_MAX, 0);
  EXPECT_EQ(figures.sentScaleTop, UINT32_MAX);
  EXPECT_EQ(figures.sentColumns[0], 49u);
}

TEST_F(GraphTest, LongPeriodsKeepOlderColumnsComparableWithTheNewest) {
  settings.refreshPeriodMs = 5000;
  stats.UsePreset(3);  // def 100: 2000 bytes a pixel
  stats.UpdateGraph();
  Tick(200000, 200000);
  EXPECT_EQ(figures.sentColumns[0], 20u);  // 200000 * 1024 / 5000 / 2000
  Tick(200000, 200000);

  settings.presets[3].def = 50;  // 1000 bytes a pixel: the old columns are rescaled
  Tick(200000, 200000);
  EXPECT_EQ(figures.sentColumns[0], 40u);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(figures.sentColumns[i], 40u) << i;
}

// One second is the last period whose raw values are the tick's bytes and whose columns are those
// bytes over the divisor. From 1001 ms on, the raw values are bytes per second (the tick's bytes
// over the period in seconds), the newest column is the bytes times 1024 / period over the divisor,
// and a rescale makes the older columns raw * 1.024 over the divisor, comparable with the newest.
TEST_F(GraphTest, OneSecondIsTheLongestPeriodCountedPerTick) {
  struct Case {
    int32_t periodMs;
    uint32_t columns[4];  // after a rescale: the newest twice, then the older raw values
  };
  const Case cases[] = {
      {1000, {21, 21, 33, 40}},  // raw values 2180, 3350, 4050: the ticks' bytes
      {1001, {22, 22, 34, 41}},  // raw values 2177, 3346, 4045: bytes a second
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.periodMs);
    StatsRig rig;
    rig.settings.refreshPeriodMs = c.periodMs;
    rig.settings.presets[0].def = 10;  // 200 bytes a pixel
    CTrafficStats& graph = rig.stats;
    graph.UpdateGraph();
    for (uint32_t bytes : {4050u, 3350u}) {
      rig.counters.AddTraffic(0, bytes, bytes);
      graph.UpdateGraph();
    }
    rig.settings.presets[0].def = 5;  // 100 bytes a pixel: the columns are rescaled
    rig.counters.AddTraffic(0, 2180, 2180);
    graph.UpdateGraph();
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(graph.Figures().sentColumns[i], c.columns[i]) << "column " << i;
      EXPECT_EQ(graph.Figures().receivedColumns[i], c.columns[i]) << "column " << i;
    }
  }
}

TEST_F(GraphTest, ColumnCountBeyondTheArraysIsHeldToTheirLength) {
  settings.graphColumns = 100000;
  stats.SetAutoScale(true);
  stats.UpdateGraph();
  for (int i = 0; i < 300; ++i) Tick(uint32_t(i), uint32_t(i));
  EXPECT_EQ(figures.sentColumns[0], 37u) << "the newest of 200 columns, at 74 % of the range";
  settings.graphColumns = -5;
  Tick(1, 1);
}

}  // namespace
