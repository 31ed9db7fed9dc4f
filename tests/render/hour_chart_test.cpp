// The Statistics Console's chart: bar pairs of the per-hour sums, scaled to the largest.
#include "render/hour_chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

namespace {

struct Sums {
  uint32_t firstSums[kChartHours] = {};
  uint32_t secondSums[kChartHours] = {};
  float Scale() const {
    return HourBarScale(std::max(*std::max_element(firstSums, firstSums + kChartHours),
                                 *std::max_element(secondSums, secondSums + kChartHours)));
  }
};

// The chart as the console shows it: 480 x 320, cleared to white first.
struct Chart {
  Chart() : surface(kHourImageWidth, kHourImageHeight) {
    surface.FillRectangle(0, 0, kHourImageWidth, kHourImageHeight, 0xFFFFFF);
  }
  // Colour 0xRRGGBB at a column and a top-down row.
  uint32_t At(int x, int topDownRow) const {
    const uint8_t* p = surface.bits + (x + (int(kHourImageHeight) - 1 - topDownRow) * surface.width) * 3;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
  }
  MemorySurface surface;
};

// Every pixel is white except the expected bars: {first column, width, top-down top row, colour}.
struct Bar {
  int x, width, top;
  uint32_t colour;
};

void ExpectOnlyBars(const Chart& chart, std::initializer_list<Bar> bars) {
  for (int row = 0; row < int(kHourImageHeight); ++row)
    for (int x = 0; x < int(kHourImageWidth); ++x) {
      uint32_t expected = 0xFFFFFF;
      for (const Bar& b : bars)
        if (x >= b.x && x < b.x + b.width && row >= b.top && row <= 304) expected = b.colour;
      ASSERT_EQ(chart.At(x, row), expected) << "column " << x << " row " << row;
    }
}

TEST(HourBars, LargestSumOfThirtyTwoHundredDrawsTwoHundredFiftySixRows) {
  Sums stats;
  stats.firstSums[0] = 3200;
  stats.secondSums[0] = 1000;
  stats.secondSums[23] = 3200;
  EXPECT_FLOAT_EQ(stats.Scale(), 12.5f);
  Chart chart;
  DrawHourBars(stats.firstSums, stats.secondSums, chart.surface);
  ExpectOnlyBars(chart, {{0, 6, 49, 0xFF0000}, {6, 6, 225, 0x00FF00}, {20 * 23 + 6, 6, 49, 0x00FF00}});
}

TEST(HourBars, EveryHourHasItsRedAndGreenColumnsAndAWhiteGap) {
  Sums stats;
  for (int h = 0; h < kChartHours; ++h) {
    stats.firstSums[h] = 3200;
    stats.secondSums[h] = 3200;
  }
  Chart chart;
  DrawHourBars(stats.firstSums, stats.secondSums, chart.surface);
  for (int h = 0; h < kChartHours; ++h)
    for (int dx = 0; dx < 20; ++dx) {
      const uint32_t expected = dx < 6 ? 0xFF0000 : dx < 12 ? 0x00FF00 : 0xFFFFFF;
      ASSERT_EQ(chart.At(20 * h + dx, 200), expected) << "hour " << h << " column " << dx;
      ASSERT_EQ(chart.At(20 * h + dx, 48), 0xFFFFFFu);
      ASSERT_EQ(chart.At(20 * h + dx, 305), 0xFFFFFFu);
    }
}

TEST(HourBars, ATallBarIsClippedAtTheTopOfTheImage) {
  Sums stats;
  stats.firstSums[3] = 639;
  EXPECT_FLOAT_EQ(stats.Scale(), 1.25f);
  EXPECT_EQ(HourBarHeight(639, stats.Scale()), 511u);
  Chart chart;
  DrawHourBars(stats.firstSums, stats.secondSums, chart.surface);
  ExpectOnlyBars(chart, {{60, 6, 0, 0xFF0000}});
}

TEST(HourBars, SumsBelowTheImageHeightAreDrawnOneRowPerUnit) {
  Sums stats;
  stats.firstSums[1] = 100;
  stats.secondSums[1] = 319;
  EXPECT_EQ(stats.Scale(), 0.0f);
  Chart chart;
  DrawHourBars(stats.firstSums, stats.secondSums, chart.surface);
  ExpectOnlyBars(chart, {{20, 6, 205, 0xFF0000}, {26, 6, 0, 0x00FF00}});

  Sums none;
  Chart blank;
  DrawHourBars(none.firstSums, none.secondSums, blank.surface);
  ExpectOnlyBars(blank, {});
}

TEST(HourBars, TheLargestPossibleSumStaysWithinTheImage) {
  Sums stats;
  stats.firstSums[0] = 0xFFFFFFFFu;
  stats.secondSums[0] = 0x80000000u;
  EXPECT_EQ(HourBarHeight(0xFFFFFFFFu, stats.Scale()), 256u);
  Chart chart;
  DrawHourBars(stats.firstSums, stats.secondSums, chart.surface);
  ExpectOnlyBars(chart, {{0, 6, 49, 0xFF0000}, {6, 6, 177, 0x00FF00}});
}

}  // namespace
