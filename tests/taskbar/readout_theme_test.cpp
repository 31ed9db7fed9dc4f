// The readout's colours from the taskbar's theme value and high contrast, and its premultiplied pixels.
#include "taskbar/readout_theme.h"

#include <gtest/gtest.h>

namespace {

constexpr ReadoutColours kDark = {0xFFFFFF, 0x202020, 255}, kLight = {0x000000, 0xEEEEEE, 255};
constexpr ReadoutColours kDarkComposed = {0xFFFFFF, 0x202020, 1}, kLightComposed = {0x000000, 0xEEEEEE, 1};

TEST(ReadoutTheme, FollowsTheTaskbarsThemeAndHighContrast) {
  const struct {
    ThemeValue value;
    uint32_t light;
    bool highContrast, perPixelAlpha;
    ReadoutColours colours;
  } cases[] = {
      {ThemeValue::Missing, 0, false, false, kDark},  // no value: dark
      {ThemeValue::Present, 0, false, false, kDark},
      {ThemeValue::Present, 1, false, false, kLight},
      {ThemeValue::Present, 1, false, true, kLightComposed},  // the taskbar shows through
      {ThemeValue::Damaged, 1, false, true, kDarkComposed},
      {ThemeValue::Present, 2, false, false, kDark},  // neither 0 nor 1
      // High contrast: the system's colours, opaque.
      {ThemeValue::Present, 1, true, true, {0xFFFF00, 0x000000, 255}},
  };
  for (const auto& c : cases) {
    ThemeReading reading;
    reading.lightThemeValue = c.value;
    reading.lightTheme = c.light;
    reading.highContrast = c.highContrast;
    reading.systemText = 0xFFFF00;
    reading.systemBackground = 0x000000;
    reading.perPixelAlpha = c.perPixelAlpha;
    EXPECT_TRUE(ReadoutColoursFor(reading) == c.colours)
        << int(c.value) << " " << c.light << " " << c.highContrast;
  }
}

TEST(ReadoutTheme, TurnsTheTextsCoverIntoPremultipliedPixels) {
  const struct {
    uint32_t drawn;
    ReadoutColours colours;
    uint32_t pixel;
  } cases[] = {
      {0x000000, kDark, 0xFF202020},
      {0xFFFFFF, kDark, 0xFFFFFFFF},
      {0x808080, kDark, 0xFF909090},
      {0x0000FF, kDark, 0xFFFFFFFF},  // a coloured fringe is cover too
      {0x000000, kLightComposed, 0x01010101},
      {0xFFFFFF, kLightComposed, 0xFF000000},
      {0x808080, kLightComposed, 0x80000000},
  };
  for (const auto& c : cases) {
    uint32_t pixel = c.drawn;
    ComposeReadoutPixels(&pixel, 1, c.colours);
    EXPECT_EQ(pixel, c.pixel) << std::hex << c.drawn;
  }
  // No channel is ever brighter than its alpha, whatever the cover and colours.
  for (const ReadoutColours& colours : {kDark, kLightComposed, ReadoutColours{0xFF8000, 0x3060FF, 90}}) {
    for (uint32_t cover = 0; cover < 256; ++cover) {
      uint32_t pixel = cover * 0x010101;
      ComposeReadoutPixels(&pixel, 1, colours);
      const uint32_t alpha = pixel >> 24;
      ASSERT_LE((pixel >> 16) & 0xFF, alpha);
      ASSERT_LE((pixel >> 8) & 0xFF, alpha);
      ASSERT_LE(pixel & 0xFF, alpha);
    }
  }
}

}  // namespace
