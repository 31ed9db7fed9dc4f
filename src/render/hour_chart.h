// The Statistics Console's chart: a pair of bars for each hour of the day, drawn from the per-hour
// sums of the hour-data file.
#pragma once

#include <cstdint>

#include "render/pixel_surface.h"

constexpr int kChartHours = 24;
constexpr uint32_t kHourImageWidth = 480;
constexpr uint32_t kHourImageHeight = 320;
constexpr uint32_t kHourBarWidth = kHourImageWidth / 48 - 4;  // 6
constexpr uint32_t kHourBarBase = 15;                         // rows above the image's bottom edge
constexpr uint32_t kFirstBarColour = 0xFF0000;                // red, as the sent graph
constexpr uint32_t kSecondBarColour = 0x00FF00;               // green, as the received graph

// Divisor from a sum to a bar height: (largest / 320) * 1.25, or 0 when the largest sum is below 320.
float HourBarScale(uint32_t largestSum);
// The bar height of one sum; with a zero scale (every sum below 320) a bar is one row per unit.
uint32_t HourBarHeight(uint32_t sum, float barScale);
// Draws the 48 bars on a surface of 480 x 320 that the caller has cleared to white.
void DrawHourBars(const uint32_t (&firstSums)[kChartHours], const uint32_t (&secondSums)[kChartHours],
                  PixelSurface& surface);
