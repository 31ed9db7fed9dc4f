// The graph side of the statistics engine: baselines, columns, scales, rescaling and axis labels.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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

using Labels = std::vector<std::string>;

Labels Format(uint32_t top, int32_t count, uint32_t* divisor = nullptr) {
  char labels[CTrafficStats::kLabelSlots][CTrafficStats::kLabelLength] = {};
  const uint32_t d = CTrafficStats::FormatAxisLabels(top, labels, count);
  if (divisor != nullptr) *divisor = d;
  Labels out;
  for (int i = 0; i < count && i < CTrafficStats::kLabelSlots; ++i) out.push_back(labels[i]);
  return out;
}

Labels Read(const char (&labels)[CTrafficStats::kLabelSlots][CTrafficStats::kLabelLength], int count) {
  return Labels(labels, labels + count);
}

TEST_F(GraphTest, FirstTickOnlyTakesABaseline) {
  counters.rows[0] = {1000, 2000};
  stats.currentSent = 5;
  stats.currentReceived = 6;
  EXPECT_FALSE(stats.UpdateGraph());
  EXPECT_EQ(stats.graphRestart, 0u);
  EXPECT_EQ(stats.currentSent, 0u);
  EXPECT_EQ(stats.currentReceived, 0u);
  EXPECT_EQ(stats.sentRaw[0], 0u);
  EXPECT_EQ(stats.lastSentDivisor, 0u);

  counters.AddTraffic(0, 400, 800);  // manual scale, def 4 over 50 pixels: 80 bytes a pixel
  EXPECT_TRUE(stats.UpdateGraph());
  EXPECT_EQ(stats.sentRaw[0], 400u);
  EXPECT_EQ(stats.receivedRaw[0], 800u);
  EXPECT_EQ(stats.sentColumns[0], 5u);
  EXPECT_EQ(stats.receivedColumns[0], 10u);
}

TEST_F(GraphTest, CounterWrapGivesTheTrueDifference) {
  counters.rows[0] = {4294967000u, 4294967000u};
  stats.UpdateGraph();
  counters.rows[0] = {200, 200};
  stats.UpdateGraph();
  EXPECT_EQ(stats.sentRaw[0], 496u);
  EXPECT_EQ(stats.receivedRaw[0], 496u);
}

TEST_F(GraphTest, RestartTakesANewBaselineAndKeepsTheColumns) {
  stats.UpdateGraph();
  Tick(800, 800);
  stats.currentSent = 77;
  stats.graphRestart = 1;
  counters.AddTraffic(0, 99999, 99999);
  EXPECT_FALSE(stats.UpdateGraph());
  EXPECT_EQ(stats.currentSent, 0u);
  EXPECT_EQ(stats.sentRaw[0], 800u);
  EXPECT_EQ(stats.sentColumns[0], 10u);
  Tick(160, 160);
  EXPECT_EQ(stats.sentRaw[0], 160u);
  EXPECT_EQ(stats.sentRaw[1], 800u);
}

TEST_F(GraphTest, ManualScaleDivisorsFollowThePreset) {
  stats.UpdateGraph();
  Tick(0, 0);
  EXPECT_EQ(stats.lastSentDivisor, 80u);
  EXPECT_EQ(stats.lastReceivedDivisor, 80u);

  settings.columnRange = 100;
  Tick(0, 0);
  EXPECT_EQ(stats.lastSentDivisor, 40u);

  for (int32_t def : {0, -4, INT32_MIN}) {
    settings.presets[0].def = def;
    Tick(0, 0);
    EXPECT_EQ(stats.lastSentDivisor, 1u) << def;
  }
  settings.presets[0].def = INT32_MAX;  // no overflow: 2147483647000 / 100 saturates
  Tick(0, 0);
  EXPECT_EQ(stats.lastSentDivisor, UINT32_MAX);
}

TEST_F(GraphTest, ColumnsStopOnePixelBelowTheRange) {
  counters.MakeFast(0);
  stats.UpdateGraph();
  Tick(50 * 80, 49 * 80);
  EXPECT_EQ(stats.sentColumns[0], 49u);
  EXPECT_EQ(stats.receivedColumns[0], 49u);
  Tick(UINT32_MAX, 48 * 80 + 79);
  EXPECT_EQ(stats.sentColumns[0], 49u);
  EXPECT_EQ(stats.receivedColumns[0], 48u);
}

TEST_F(GraphTest, RescaleRecomputesFromRawThenShifts) {
  stats.UpdateGraph();
  Tick(800, 0);  // the first column past the baseline always rescales
  EXPECT_EQ(stats.sentColumns[0], 10u);
  EXPECT_EQ(stats.sentColumns[1], 10u);
  Tick(1600, 0);
  Tick(2400, 0);
  EXPECT_EQ(stats.sentColumns[0], 30u);
  EXPECT_EQ(stats.sentColumns[1], 20u);
  EXPECT_EQ(stats.sentColumns[2], 10u);
  EXPECT_EQ(stats.sentColumns[3], 10u);

  settings.presets[0].def = 8;  // 160 bytes a pixel
  Tick(3200, 0);
  EXPECT_EQ(stats.sentColumns[0], 20u);
  EXPECT_EQ(stats.sentColumns[1], 20u);  // the newest value twice
  EXPECT_EQ(stats.sentColumns[2], 15u);  // column k holds raw value k - 1
  EXPECT_EQ(stats.sentColumns[3], 10u);
  EXPECT_EQ(stats.sentColumns[4], 5u);
}

TEST_F(GraphTest, AutoScaleKeepsATopPerDirectionUnlessOverlapped) {
  stats.autoScale = 1;
  stats.UpdateGraph();
  Tick(1000, 10000);
  EXPECT_EQ(stats.sentScaleTop, 1350u);
  EXPECT_EQ(stats.receivedScaleTop, 13500u);
  EXPECT_EQ(stats.lastSentDivisor, 27u);
  EXPECT_EQ(stats.lastReceivedDivisor, 270u);
  EXPECT_EQ(stats.sentColumns[0], 37u);  // about 74 % of the range
  EXPECT_EQ(stats.receivedColumns[0], 37u);

  settings.graphStyle = kGraphStyleOverlapped;
  settings.columnRange = ColumnRangeForStyle(kGraphStyleOverlapped, settings.graphHeight);
  Tick(1000, 10000);
  EXPECT_EQ(stats.sentScaleTop, 13500u);
  EXPECT_EQ(stats.receivedScaleTop, 13500u);
  EXPECT_EQ(stats.lastSentDivisor, 135u);
  EXPECT_EQ(stats.sentColumns[0], 7u);
  EXPECT_EQ(stats.receivedColumns[0], 74u);

  Tick(20000, 10);  // the sent top now leads
  EXPECT_EQ(stats.receivedScaleTop, 27000u);
}

TEST_F(GraphTest, AutoScaleWithNoTrafficUsesOneBytePerPixel) {
  stats.autoScale = 1;
  stats.UpdateGraph();
  Tick(0, 0);
  EXPECT_EQ(stats.sentScaleTop, 0u);
  EXPECT_EQ(stats.lastSentDivisor, 1u);
  EXPECT_EQ(stats.lastReceivedDivisor, 1u);
  stats.BuildAxisLabels(3);
  EXPECT_EQ(Read(stats.sentLabels, 3), (Labels{"0", "0", "0"}));
  EXPECT_EQ(Read(stats.receivedLabels, 3), (Labels{"0", "0", "0"}));
}

TEST_F(GraphTest, HugeRawValuesSaturateTheScaleTop) {
  stats.autoScale = 1;
  counters.MakeFast(0);
  stats.UpdateGraph();
  Tick(UINT32_MAX, 0);
  EXPECT_EQ(stats.sentScaleTop, UINT32_MAX);
  EXPECT_EQ(stats.sentColumns[0], 49u);
}

TEST_F(GraphTest, LongPeriodsKeepOlderColumnsComparableWithTheNewest) {
  settings.refreshPeriodMs = 5000;
  stats.deviceSpeedIndex = 3;  // def 100: 2000 bytes a pixel
  stats.UpdateGraph();
  Tick(200000, 200000);
  EXPECT_EQ(stats.sentRaw[0], 40000u);   // bytes per second
  EXPECT_EQ(stats.sentColumns[0], 20u);  // 200000 * 1024 / 5000 / 2000
  Tick(200000, 200000);

  settings.presets[3].def = 50;  // 1000 bytes a pixel: the old columns are rescaled
  Tick(200000, 200000);
  EXPECT_EQ(stats.sentColumns[0], 40u);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(stats.sentColumns[i], 40u) << i;
}

// One second is the last period whose raw values are the tick's bytes and whose columns are those
// bytes over the divisor. From 1001 ms on, the raw values are bytes per second (the tick's bytes
// over the period in seconds), the newest column is the bytes times 1024 / period over the divisor,
// and a rescale makes the older columns raw * 1.024 over the divisor, comparable with the newest.
TEST_F(GraphTest, OneSecondIsTheLongestPeriodCountedPerTick) {
  struct Case {
    int32_t periodMs;
    uint32_t raw[3];      // newest first
    uint32_t columns[4];  // after a rescale: the newest twice, then the older raw values
  };
  const Case cases[] = {
      {1000, {2180, 3350, 4050}, {21, 21, 33, 40}},
      {1001, {2177, 3346, 4045}, {22, 22, 34, 41}},
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
    EXPECT_EQ(graph.lastSentDivisor, 100u);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(graph.sentRaw[i], c.raw[i]) << "raw " << i;
      EXPECT_EQ(graph.receivedRaw[i], c.raw[i]) << "raw " << i;
    }
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(graph.sentColumns[i], c.columns[i]) << "column " << i;
      EXPECT_EQ(graph.receivedColumns[i], c.columns[i]) << "column " << i;
    }
  }
}

TEST_F(GraphTest, ColumnCountBeyondTheArraysIsHeldToTheirLength) {
  settings.graphColumns = 100000;
  stats.autoScale = 1;
  stats.UpdateGraph();
  for (int i = 0; i < 300; ++i) Tick(uint32_t(i), uint32_t(i));
  EXPECT_EQ(stats.sentRaw[CTrafficStats::kColumnSlots - 1], 100u);
  settings.graphColumns = -5;
  Tick(1, 1);
}

TEST(AxisLabels, StepInSinglePrecisionAsShown) {
  uint32_t divisor = 0;
  EXPECT_EQ(Format(100, 3, &divisor), (Labels{"0", "50", "100"}));
  EXPECT_EQ(divisor, 1u);
  EXPECT_EQ(Format(100, 4), (Labels{"0", "33", "66", "100"}));
  EXPECT_EQ(Format(1500, 3, &divisor), (Labels{"0.0", "0.8", "1.5"}));
  EXPECT_EQ(divisor, 1000u);
  EXPECT_EQ(Format(2500, 4), (Labels{"0.0", "0.8", "1.7", "2.5"}));
}

TEST(AxisLabels, ThousandIsTheFirstTopInThousands) {
  uint32_t divisor = 0;
  EXPECT_EQ(Format(999, 4, &divisor), (Labels{"0", "333", "666", "999"}));
  EXPECT_EQ(divisor, 1u);
  EXPECT_EQ(Format(1000, 3, &divisor), (Labels{"0.0", "0.5", "1.0"}));
  EXPECT_EQ(divisor, 1000u);
  EXPECT_EQ(Format(UINT32_MAX >> 10, 3), (Labels{"0.0", "2097.2", "4194.3"}));
}

TEST(AxisLabels, OddCountsStayInsideTheSlots) {
  char labels[CTrafficStats::kLabelSlots][CTrafficStats::kLabelLength] = {};
  EXPECT_EQ(CTrafficStats::FormatAxisLabels(100, labels, 1), 1u);
  EXPECT_STREQ(labels[0], "0");
  EXPECT_EQ(CTrafficStats::FormatAxisLabels(5000, labels, 0), 1000u);
  EXPECT_EQ(CTrafficStats::FormatAxisLabels(300, labels, 9), 1u);
  EXPECT_STREQ(labels[3], "300");
}

TEST_F(GraphTest, ManualLabelsShowThePresetScale) {
  stats.BuildAxisLabels(3);
  EXPECT_EQ(Read(stats.sentLabels, 3), (Labels{"0", "2", "4"}));
  EXPECT_EQ(Read(stats.receivedLabels, 3), (Labels{"0", "2", "4"}));
  stats.deviceSpeedIndex = 5;
  stats.BuildAxisLabels(4);
  EXPECT_EQ(Read(stats.sentLabels, 4), (Labels{"0.0", "0.8", "1.7", "2.5"}));
  EXPECT_EQ(stats.sentLabelDivisor, 1000u);
  EXPECT_EQ(stats.receivedLabelDivisor, 1000u);
}

TEST_F(GraphTest, AutoLabelsShowTheTopsInKibibytes) {
  stats.autoScale = 1;
  stats.sentScaleTop = 1500 * 1024 + 1023;
  stats.receivedScaleTop = 100 * 1024;
  stats.BuildAxisLabels(3);
  EXPECT_EQ(Read(stats.sentLabels, 3), (Labels{"0.0", "0.8", "1.5"}));
  EXPECT_EQ(stats.sentLabelDivisor, 1000u);
  EXPECT_EQ(Read(stats.receivedLabels, 3), (Labels{"0", "50", "100"}));
  EXPECT_EQ(stats.receivedLabelDivisor, 1u);
}

}  // namespace
