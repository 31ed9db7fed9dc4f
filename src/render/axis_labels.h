// The graph's axis labels: evenly spaced values from 0 to the axis's top, and its unit.
#pragma once

#include <cstdint>

#include "stats/traffic_figures.h"

// The labels of both axes and their divisors (1 or 1000), label 0 at the bottom of its axis.
struct AxisLabelSet {
  static constexpr int kSlots = 4;
  static constexpr int kLength = 14;
  uint32_t sentDivisor;
  uint32_t receivedDivisor;
  char sent[kSlots][kLength];
  char received[kSlots][kLength];
};

// Writes count labels from 0 to top ("%d", or "%.1f" of thousands when top passes 999) into their
// slots; returns the divisor.
uint32_t FormatAxisLabels(uint32_t top, char (*labels)[AxisLabelSet::kLength], int32_t count);
// The labels for count marks per axis: the auto-scale tops in kB of 1024 bytes, or the preset's
// full scale on both axes.
AxisLabelSet AxisLabelsOf(const TrafficFigures& figures, int32_t count);
