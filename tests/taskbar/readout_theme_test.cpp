// The readout's colours from the taskbar's theme value and high contrast, and its premultiplied pixels.
#include "taskbar/readout_theme.h"

#include <gtest/gtest.h>

namespace {

TEST(ReadoutTheme, FollowsTheTaskbarsThemeAndHighContrast) {
  const struct {
    const char* what;
    ThemeValue value;
    uint32_t light;
    bool highContrast, perPixelAlpha;
    ReadoutColours colours;
  } cases[] = {
      {"no value: dark", ThemeValue::Missing, 0, false, false, {0xFFFFFF, 0x202020, 255}},
      {"dark", ThemeValue::Present, 0, false, false, {0xFFFFFF, 0x202020, 255}},
      {"light", ThemeValue::Present, 1, false, false, {0x000000, 0xEEEEEE, 255}},
      {"light, composed: the taskbar shows through",
       ThemeValue::Present,
       1,
       false,
       true,
       {0x000000, 0xEEEEEE, 1}},
      {"a damaged value: dark", ThemeValue::Damaged, 1, false, true, {0xFFFFFF, 0x202020, 1}},
      {"a value of neither 0 nor 1: dark", ThemeValue::Present, 2, false, false, {0xFFFFFF, 0x202020, 255}},
      {"high contrast: the system's colours, opaque",
       ThemeValue::Present,
       1,
       true,
       true,
       {0xFFFF00, 0x000000, 255}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ThemeReading reading;
    reading.lightThemeValue = c.value;
    reading.lightTheme = c.light;
    reading.highContrast = c.highContrast;
    reading.systemText = 0xFFFF00;
    reading.systemBackground = 0x000000;
    reading.perPixelAlpha = c.perPixelAlpha;
    const ReadoutColours colours = ReadoutColoursFor(reading);
    EXPECT_EQ(colours.text, c.colours.text);
    EXPECT_EQ(colours.background, c.colours.background);
    EXPECT_EQ(colours.backgroundAlpha, c.colours.backgroundAlpha);
  }
}

TEST(ReadoutTheme, TurnsTheTextsCoverIntoPremultipliedPixels) {
  const ReadoutColours dark = {0xFFFFFF, 0x202020, 255}, lightComposed = {0x000000, 0xEEEEEE, 1};
  const struct {
    uint32_t drawn;
    ReadoutColours colours;
    uint32_t pixel;
  } cases[] = {
      {0x000000, dark, 0xFF202020},          {0xFFFFFF, dark, 0xFFFFFFFF},
      {0x808080, dark, 0xFF909090},          {0x0000FF, dark, 0xFFFFFFFF},  // a coloured fringe is cover too
      {0x000000, lightComposed, 0x01010101}, {0xFFFFFF, lightComposed, 0xFF000000},
      {0x808080, lightComposed, 0x80000000},
  };
  for (const auto& c : cases) {
    uint32_t pixel = c.drawn;
    ComposeReadoutPixels(&pixel, 1, c.colours);
    EXPECT_EQ(pixel, c.pixel) << std::hex << c.drawn;
  }
  // No channel is ever brighter than its alpha, whatever the cover and colours.
  for (const ReadoutColours& colours : {dark, lightComposed, ReadoutColours{0xFF8000, 0x3060FF, 90}}) {
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
