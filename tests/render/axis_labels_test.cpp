// The graph's axis labels: values from 0 to the top, steps in single precision, and their scales.
#include "render/axis_labels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Labels = std::vector<std::string>;

Labels Format(uint32_t top, int32_t count, uint32_t* divisor = nullptr) {
  char labels[AxisLabelSet::kSlots][AxisLabelSet::kLength] = {};
  const uint32_t d = FormatAxisLabels(top, labels, count);
  if (divisor != nullptr) *divisor = d;
  Labels out;
  for (int i = 0; i < count && i < AxisLabelSet::kSlots; ++i) out.push_back(labels[i]);
  return out;
}

Labels Read(const char (&labels)[AxisLabelSet::kSlots][AxisLabelSet::kLength], int count) {
  return Labels(labels, labels + count);
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
  char labels[AxisLabelSet::kSlots][AxisLabelSet::kLength] = {};
  EXPECT_EQ(FormatAxisLabels(100, labels, 1), 1u);
  EXPECT_STREQ(labels[0], "0");
  EXPECT_EQ(FormatAxisLabels(5000, labels, 0), 1000u);
  EXPECT_EQ(FormatAxisLabels(300, labels, 9), 1u);
  EXPECT_STREQ(labels[3], "300");
}

// The manual scale is the preset's full scale on both axes (a negative one, from a damaged profile,
// reads 0); the auto-scale tops are bytes, shown in kB of 1024.
TEST(AxisLabels, FromThePresetScaleOrTheAutoScaleTops) {
  TrafficFigures figures;
  figures.graphScaleKb = 4;
  AxisLabelSet set = AxisLabelsOf(figures, 3);
  EXPECT_EQ(Read(set.sent, 3), (Labels{"0", "2", "4"}));
  EXPECT_EQ(Read(set.received, 3), (Labels{"0", "2", "4"}));
  figures.graphScaleKb = 2500;
  set = AxisLabelsOf(figures, 4);
  EXPECT_EQ(Read(set.sent, 4), (Labels{"0.0", "0.8", "1.7", "2.5"}));
  EXPECT_EQ(set.sentDivisor, 1000u);
  EXPECT_EQ(set.receivedDivisor, 1000u);
  figures.graphScaleKb = -4;
  set = AxisLabelsOf(figures, 3);
  EXPECT_EQ(Read(set.sent, 3), (Labels{"0", "0", "0"}));

  figures.autoScale = true;
  figures.sentScaleTop = 1500 * 1024 + 1023;
  figures.receivedScaleTop = 100 * 1024;
  set = AxisLabelsOf(figures, 3);
  EXPECT_EQ(Read(set.sent, 3), (Labels{"0.0", "0.8", "1.5"}));
  EXPECT_EQ(set.sentDivisor, 1000u);
  EXPECT_EQ(Read(set.received, 3), (Labels{"0", "50", "100"}));
  EXPECT_EQ(set.receivedDivisor, 1u);
  figures.sentScaleTop = figures.receivedScaleTop = 0;
  set = AxisLabelsOf(figures, 3);
  EXPECT_EQ(Read(set.received, 3), (Labels{"0", "0", "0"}));
}

}  // namespace
