// The usage view's bar charts: one bar a day or a month, received at the bottom in the panel's
// green and sent on top of it in its red, all scaled to the largest bar.
#pragma once

#include <cstdint>

#include "log/usage_totals.h"
#include "render/pixel_surface.h"

constexpr int kMaxUsageBars = 31;
constexpr uint32_t kUsageChartBackground = 0x000000;
constexpr uint32_t kUsageChartReceived = 0x00FF00;
constexpr uint32_t kUsageChartSent = 0xFF0000;
constexpr uint32_t kUsageChartBase = 0x404040;  // a one-pixel base line under every slot

// The days of today's month from the 1st to its last day (the days after today are 0); returns
// how many.
int DaysOfMonthBars(const UsageTotals& totals, UsageAmount (&bars)[kMaxUsageBars]);
// This month and the eleven before it, oldest first; returns 12.
int LastTwelveMonthsBars(const UsageTotals& totals, UsageAmount (&bars)[kMaxUsageBars]);
// The largest bar, sent plus received.
uint64_t HighestBar(const UsageAmount* bars, int count);
// Clears the surface and draws count bars in equal slots across its width.
void DrawUsageBars(PixelSurface& surface, const UsageAmount* bars, int count);
