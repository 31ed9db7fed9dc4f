// The meter's sizes at the DPIs of common scalings: 100 %, 125 %, 150 % and 200 %.
#include "render/meter_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(MeterLayout, SizesAndPlacesAtEachCommonScaling) {
  const struct {
    int32_t dpi;
    int32_t windowWidth, windowHeight, panelX, panelY, panelWidth, panelHeight, lineWidth, fontHeight;
    int32_t lastColumnX, labelX;
  } cases[] = {
      {96, 180, 120, 9, 10, 160, 100, 1, -9, 159, 120},
      {120, 225, 150, 11, 13, 200, 125, 1, -12, 199, 150},
      {144, 270, 180, 14, 15, 240, 150, 2, -14, 239, 180},
      {192, 360, 240, 18, 20, 320, 200, 2, -19, 318, 240},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    const MeterLayout layout = LayoutForDpi(c.dpi, 160, 100);
    EXPECT_EQ(layout.dpi, c.dpi);
    EXPECT_EQ(layout.windowWidth, c.windowWidth);
    EXPECT_EQ(layout.windowHeight, c.windowHeight);
    EXPECT_EQ(layout.panelX, c.panelX);
    EXPECT_EQ(layout.panelY, c.panelY);
    EXPECT_EQ(layout.panelWidth, c.panelWidth);
    EXPECT_EQ(layout.panelHeight, c.panelHeight);
    EXPECT_EQ(layout.lineWidth, c.lineWidth);
    EXPECT_EQ(layout.fontHeight, c.fontHeight);
    EXPECT_EQ(layout.Scale(159), c.lastColumnX);
    EXPECT_EQ(layout.Scale(120), c.labelX);
    // The panel stays inside the window with the same margins, scaled.
    EXPECT_LE(layout.panelX + layout.panelWidth, layout.windowWidth);
    EXPECT_LE(layout.panelY + layout.panelHeight, layout.windowHeight);
    // Every column has a place of its own, left to right, and the last one is on the panel.
    for (int32_t column = 1; column < 160; ++column) ASSERT_GT(layout.Scale(column), layout.Scale(column - 1));
    EXPECT_LT(layout.Scale(159), layout.panelWidth);
  }
}

TEST(MeterLayout, ADpiNoScreenUsesIsTakenAsTheNearestOneThatIs) {
  EXPECT_EQ(LayoutForDpi(0, 160, 100).windowWidth, 180) << "an unreadable DPI";
  EXPECT_EQ(LayoutForDpi(72, 160, 100).windowWidth, 180) << "below 100 % nothing shrinks";
  EXPECT_EQ(LayoutForDpi(100000, 160, 100).windowWidth, 720);
  EXPECT_EQ(LayoutForDpi(-5, 160, 100).dpi, kBaseDpi);
  // Coordinates far outside the panel, as a clamped column may give, scale without overflow.
  EXPECT_EQ(ScaleForDpi(INT32_MAX, 384), INT32_MAX);
  EXPECT_EQ(ScaleForDpi(INT32_MIN, 384), INT32_MIN);
  EXPECT_EQ(ScaleForDpi(-1, 144), -2);
}

}  // namespace
