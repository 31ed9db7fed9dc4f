// The readout's colours and its premultiplied pixels.
#include "taskbar/readout_theme.h"

#include <algorithm>

namespace {

constexpr uint32_t kDarkText = 0xFFFFFF, kDarkTaskbar = 0x202020;
constexpr uint32_t kLightText = 0x000000, kLightTaskbar = 0xEEEEEE;
// The least alpha the desktop still delivers clicks to.
constexpr uint8_t kClickableAlpha = 1;

uint32_t Channel(uint32_t colour, int shift) {
  return (colour >> shift) & 0xFF;
}

// One premultiplied channel: the text's share of it by its cover, the background's by the rest.
uint32_t Blend(uint32_t text, uint32_t background, uint32_t cover, uint32_t backgroundAlpha) {
  const uint32_t sum = text * cover * 255 + background * backgroundAlpha * (255 - cover);
  return (sum + 255 * 255 / 2) / (255 * 255);
}

}  // namespace

ReadoutColours ReadoutColoursFor(const ThemeReading& reading) {
  ReadoutColours colours;
  if (reading.highContrast) {
    colours.text = reading.systemText & 0xFFFFFF;
    colours.background = reading.systemBackground & 0xFFFFFF;
    return colours;
  }
  const bool light = reading.lightThemeValue == ThemeValue::Present && reading.lightTheme == 1;
  colours.text = light ? kLightText : kDarkText;
  colours.background = light ? kLightTaskbar : kDarkTaskbar;
  colours.backgroundAlpha = reading.perPixelAlpha ? kClickableAlpha : 255;
  return colours;
}

void ComposeReadoutPixels(uint32_t* pixels, size_t count, const ReadoutColours& colours) {
  const uint32_t backgroundAlpha = colours.backgroundAlpha;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t drawn = pixels[i];
    const uint32_t cover = std::max({Channel(drawn, 16), Channel(drawn, 8), Channel(drawn, 0)});
    const uint32_t alpha = backgroundAlpha + ((255 - backgroundAlpha) * cover + 127) / 255;
    uint32_t pixel = alpha << 24;
    for (int shift : {16, 8, 0})
      pixel |= Blend(Channel(colours.text, shift), Channel(colours.background, shift), cover, backgroundAlpha)
               << shift;
    pixels[i] = pixel;
  }
}
