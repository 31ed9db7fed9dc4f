// The axis labels of the graph, from the scales in the figures.
#include "render/axis_labels.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

uint32_t FormatAxisLabels(uint32_t top, char (*labels)[AxisLabelSet::kLength], int32_t count) {
  const uint32_t divisor = top > 999 ? 1000 : 1;
  count = std::min(count, AxisLabelSet::kSlots);
  // Every step rounds to single precision: the 32-bit build computes floats in SSE registers too.
  const float step = count > 1 ? float(double(top) / (count - 1)) : 0.0f;
  float value = 0.0f;
  for (int32_t i = 0; i < count; ++i) {
    if (divisor == 1)
      snprintf(labels[i], AxisLabelSet::kLength, "%d", int(value));
    else
      snprintf(labels[i], AxisLabelSet::kLength, "%.1f", double(value / 1000));
    value += step;
  }
  return divisor;
}

AxisLabelSet AxisLabelsOf(const TrafficFigures& figures, int32_t count) {
  AxisLabelSet set;
  memset(&set, 0, sizeof set);
  if (figures.autoScale) {
    set.sentDivisor = FormatAxisLabels(figures.sentScaleTop >> 10, set.sent, count);
    set.receivedDivisor = FormatAxisLabels(figures.receivedScaleTop >> 10, set.received, count);
  } else {
    // A full scale below zero (only a damaged profile holds one) shows as 0.
    const uint32_t top = figures.graphScaleKb > 0 ? uint32_t(figures.graphScaleKb) : 0;
    set.sentDivisor = FormatAxisLabels(top, set.sent, count);
    set.receivedDivisor = FormatAxisLabels(top, set.received, count);
  }
  return set;
}
