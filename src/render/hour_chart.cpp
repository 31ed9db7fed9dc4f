// The hourly bar pairs of the Statistics Console.
#include "render/hour_chart.h"

#include <algorithm>

float HourBarScale(uint32_t largestSum) {
  return float(largestSum / kHourImageHeight) * 1.25f;
}

uint32_t HourBarHeight(uint32_t sum, float barScale) {
  if (barScale <= 0.0f) return sum;
  return uint32_t(float(sum) / barScale);
}

void DrawHourBars(const uint32_t (&firstSums)[kChartHours], const uint32_t (&secondSums)[kChartHours],
                  PixelSurface& surface) {
  const uint32_t largest = std::max(*std::max_element(firstSums, firstSums + kChartHours),
                                    *std::max_element(secondSums, secondSums + kChartHours));
  const float barScale = HourBarScale(largest);
  uint32_t x = 0;
  for (int h = 0; h < kChartHours; ++h) {
    surface.FillRectangle(x, kHourBarBase, kHourBarWidth, HourBarHeight(firstSums[h], barScale),
                          kFirstBarColour);
    x += kHourBarWidth;
    surface.FillRectangle(x, kHourBarBase, kHourBarWidth, HourBarHeight(secondSums[h], barScale),
                          kSecondBarColour);
    x += kHourBarWidth + 8;
  }
}
