// The usage view's bars: what each slot shows, scaled to the highest bar.
#include "render/usage_chart.h"

#include <gtest/gtest.h>

namespace {

uint32_t ColourAt(const PixelSurface& s, int x, int y) {
  const uint8_t* p = s.bits + size_t(y) * s.RowBytes() + size_t(x) * 3;
  return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

// Rows of one colour from the bottom of column x, above the base line.
int Height(const PixelSurface& s, int x, uint32_t colour, int from) {
  int n = 0;
  while (from + n < s.height && ColourAt(s, x, from + n) == colour) ++n;
  return n;
}

TEST(UsageChart, BarsStackReceivedUnderSentScaledToTheHighest) {
  MemorySurface s(40, 41);  // 40 rows above the base line
  const UsageAmount bars[] = {{10, 30}, {0, 0}, {5, 5}, {0, 20}};
  DrawUsageBars(s, bars, 4);
  EXPECT_EQ(Height(s, 0, kUsageChartReceived, 1), 30);
  EXPECT_EQ(Height(s, 0, kUsageChartSent, 31), 10);
  EXPECT_EQ(ColourAt(s, 10, 1), kUsageChartBackground);
  EXPECT_EQ(ColourAt(s, 10, 0), kUsageChartBase);
  EXPECT_EQ(Height(s, 20, kUsageChartReceived, 1), 5);
  EXPECT_EQ(Height(s, 20, kUsageChartSent, 6), 5);
  EXPECT_EQ(Height(s, 30, kUsageChartReceived, 1), 20);
  EXPECT_EQ(ColourAt(s, 30, 21), kUsageChartBackground);
  // A gap of one column between slots.
  EXPECT_EQ(ColourAt(s, 9, 5), kUsageChartBackground);
}

TEST(UsageChart, NothingToShowAndCountsBeyondAnyScaleDrawSafely) {
  MemorySurface s(31, 10);
  const UsageAmount none[31] = {};
  DrawUsageBars(s, none, 31);
  for (int x = 0; x < 31; ++x) EXPECT_EQ(ColourAt(s, x, 1), kUsageChartBackground);
  const UsageAmount huge[] = {{~uint64_t(0), ~uint64_t(0)}, {1, 0}};
  DrawUsageBars(s, huge, 2);
  EXPECT_EQ(Height(s, 0, kUsageChartSent, 1) + Height(s, 0, kUsageChartReceived, 1), 9);
  DrawUsageBars(s, huge, 0);
  DrawUsageBars(s, huge, 100);  // more bars than columns: nothing drawn, nothing written outside
}

TEST(UsageChart, DaysOfTheMonthAndTheLastTwelveMonths) {
  UsageTotals totals;
  totals.Reset({2027, 2, 3});
  totals.Add({{2027, 2, 1, 1, 5, 0, 0}, 1, 2});
  totals.Add({{2027, 2, 3, 3, 5, 0, 0}, 3, 4});
  totals.Add({{2026, 3, 31, 2, 5, 0, 0}, 7, 7});
  totals.Add({{2026, 2, 28, 6, 5, 0, 0}, 9, 9});  // thirteen months back: not in the chart
  UsageAmount bars[kMaxUsageBars];
  ASSERT_EQ(DaysOfMonthBars(totals, bars), 28);
  EXPECT_EQ(bars[0].Both(), 3u);
  EXPECT_EQ(bars[1].Both(), 0u);
  EXPECT_EQ(bars[2].Both(), 7u);
  EXPECT_EQ(HighestBar(bars, 28), 7u);
  ASSERT_EQ(LastTwelveMonthsBars(totals, bars), 12);
  EXPECT_EQ(bars[11].Both(), 10u);
  EXPECT_EQ(bars[0].Both(), 14u);  // March 2026, the oldest shown
  EXPECT_EQ(bars[1].Both(), 0u);
}

}  // namespace
