// Bars of sent and received bytes drawn into a pixel surface.
#include "render/usage_chart.h"

namespace {

// The pixel height of part of a bar whose whole would be highest at the full height.
uint32_t Scaled(uint64_t value, uint64_t highest, uint32_t height) {
  if (highest == 0) return 0;
  // In double precision: the product of a 64-bit count and a height could pass 64 bits.
  const double pixels = double(value) / double(highest) * double(height);
  return pixels >= height ? height : uint32_t(pixels + 0.5);
}

}  // namespace

int DaysOfMonthBars(const UsageTotals& totals, UsageAmount (&bars)[kMaxUsageBars]) {
  const CalendarDate& today = totals.Today();
  const int days = DaysInMonth(today.year, today.month);
  for (int day = 1; day <= days && day <= kMaxUsageBars; ++day)
    bars[day - 1] = day <= today.day ? totals.Day(today.day - day) : UsageAmount();
  return days;
}

int LastTwelveMonthsBars(const UsageTotals& totals, UsageAmount (&bars)[kMaxUsageBars]) {
  for (int i = 0; i < 12; ++i) bars[i] = totals.Month(11 - i);
  return 12;
}

uint64_t HighestBar(const UsageAmount* bars, int count) {
  uint64_t highest = 0;
  for (int i = 0; i < count; ++i)
    if (bars[i].Both() > highest) highest = bars[i].Both();
  return highest;
}

void DrawUsageBars(PixelSurface& surface, const UsageAmount* bars, int count) {
  if (surface.bits == nullptr || surface.width <= 0 || surface.height <= 1) return;
  surface.FillRectangle(0, 0, uint32_t(surface.width), uint32_t(surface.height), kUsageChartBackground);
  if (count <= 0) return;
  const uint32_t slot = uint32_t(surface.width / count);
  if (slot == 0) return;
  const uint32_t barWidth = slot > 2 ? slot - 1 : slot;
  const uint32_t room = uint32_t(surface.height - 1);  // above the base line
  const uint64_t highest = HighestBar(bars, count);
  for (int i = 0; i < count; ++i) {
    const uint32_t x = uint32_t(i) * slot;
    surface.FillRectangle(x, 0, barWidth, 1, kUsageChartBase);
    const uint32_t both = Scaled(bars[i].Both(), highest, room);
    const uint32_t received = Scaled(bars[i].received, highest, room);
    const uint32_t receivedHeight = received > both ? both : received;
    if (receivedHeight > 0) surface.FillRectangle(x, 1, barWidth, receivedHeight, kUsageChartReceived);
    if (both > receivedHeight)
      surface.FillRectangle(x, 1 + receivedHeight, barWidth, both - receivedHeight, kUsageChartSent);
  }
}
