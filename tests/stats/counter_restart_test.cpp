// Counters that start again (an interface gone and back under another index, counters reset): both
// baselines are taken anew instead of turning the jump into traffic.
#include <gtest/gtest.h>

#include "stats/traffic_stats.h"
#include "support/test_meter.h"

namespace {

class CounterRestartTest : public ::testing::Test, protected StatsRig {
 protected:
  // The interface comes back with fresh counters, as after a reconnect.
  void Restart(uint32_t sent, uint32_t received) {
    const uint32_t epoch = counters.rows[0].epoch + 1;
    counters.rows[0] = CounterReading{sent, received, epoch};
  }

  void Second(uint32_t sent, uint32_t received) {
    counters.AddTraffic(0, sent, received);
    stats.UpdateStatistics();
  }

  void GraphTick(uint32_t sent, uint32_t received) {
    counters.AddTraffic(0, sent, received);
    stats.UpdateGraph();
  }

};

TEST_F(CounterRestartTest, StatisticsRecordAZeroSecondAndCountOnFromTheNewCounters) {
  counters.rows[0] = {3000000000u, 3500000000u};
  stats.UpdateStatistics();
  Second(1000, 2000);

  for (auto fresh : {CounterReading{0, 0}, CounterReading{10, 20}, CounterReading{4000000000u, 4000000000u}}) {
    Restart(fresh.sent, fresh.received);
    stats.UpdateStatistics();
    EXPECT_EQ(figures.currentSent, 0u) << fresh.sent;
    EXPECT_EQ(figures.currentReceived, 0u) << fresh.received;
    EXPECT_EQ(figures.pctReceivedNow, 0.0f);
    EXPECT_EQ(figures.totalSent, 1000u) << "no spike from the counter jump";
    EXPECT_EQ(figures.totalReceived, 2000u);
    EXPECT_FLOAT_EQ(figures.avgReceivedMinute, 2000.0f / 60) << "a zero second";
  }

  Second(300, 400);
  EXPECT_EQ(figures.currentSent, 300u);
  EXPECT_EQ(figures.currentReceived, 400u);
  EXPECT_FLOAT_EQ(figures.avgReceivedMinute, 2400.0f / 60) << "the history before the restart stays";
  EXPECT_EQ(figures.totalSent, 1300u);
  EXPECT_EQ(figures.totalReceived, 2400u);
}

TEST_F(CounterRestartTest, GraphTakesANewBaselineWithoutAColumnAndGoesOn) {
  stats.UpdateGraph();
  GraphTick(400, 800);

  Restart(10, 20);
  EXPECT_FALSE(stats.UpdateGraph()) << "the baseline tick adds no column";
  EXPECT_EQ(figures.receivedColumns[0], 10u) << "no column was added";
  EXPECT_EQ(figures.receivedColumns[2], 0u);

  GraphTick(80, 160);
  EXPECT_EQ(figures.sentColumns[0], 1u);
  EXPECT_EQ(figures.receivedColumns[0], 2u);
}

// The two ticks read the counters at their own times; each notices the same restart once.
TEST_F(CounterRestartTest, EachBaselineNoticesTheRestartOnce) {
  counters.rows[0] = {50000, 90000};
  stats.UpdateStatistics();
  stats.UpdateGraph();

  Restart(100, 100);
  GraphTick(0, 0);
  GraphTick(0, 4000);
  EXPECT_EQ(figures.receivedColumns[0], 50u - 1) << "4000 bytes: a full column";
  Second(0, 700);
  EXPECT_EQ(figures.currentReceived, 0u) << "the statistics' first reading after the restart";
  EXPECT_EQ(figures.totalReceived, 0u);
  Second(0, 700);
  EXPECT_EQ(figures.currentReceived, 700u);
  GraphTick(0, 900);
  EXPECT_EQ(figures.receivedColumns[0], 28u) << "2300 bytes: the graph's own baseline was not taken again";
}

TEST_F(CounterRestartTest, TheTotalsAcrossAnOutageHoldOnlyTrafficThatHappened) {
  stats.UpdateStatistics();
  for (int i = 0; i < 10; ++i) Second(100, 1000);
  // Gone: the platform reports the counters of an absent interface as zero.
  Restart(0, 0);
  for (int i = 0; i < 20; ++i) Second(0, 0);
  // Back under a new index, its counters begun at a few bytes.
  Restart(70, 90);
  for (int i = 0; i < 29; ++i) Second(10, 200);
  EXPECT_EQ(figures.totalSent, 10 * 100u + 28 * 10u);
  EXPECT_EQ(figures.totalReceived, 10 * 1000u + 28 * 200u);
}

}  // namespace
