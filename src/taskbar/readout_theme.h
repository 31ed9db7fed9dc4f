// The readout's colours: the taskbar's theme, or the system's colours in high contrast.
#pragma once

#include <cstddef>
#include <cstdint>

// How the taskbar's theme value (SystemUsesLightTheme) read from the registry.
enum class ThemeValue { Missing, Damaged, Present };

struct ThemeReading {
  ThemeValue lightThemeValue = ThemeValue::Missing;
  uint32_t lightTheme = 0;
  bool highContrast = false;
  // The system's text and window colours, 0xRRGGBB, used in high contrast.
  uint32_t systemText = 0, systemBackground = 0;
  // The desktop composes layered windows over what lies beneath them.
  bool perPixelAlpha = false;
};

struct ReadoutColours {
  uint32_t text = 0, background = 0;  // 0xRRGGBB
  uint8_t backgroundAlpha = 255;
  bool operator==(const ReadoutColours& o) const {
    return text == o.text && background == o.background && backgroundAlpha == o.backgroundAlpha;
  }
  bool operator!=(const ReadoutColours& o) const { return !(*this == o); }
};

// A taskbar without a theme value, or with a damaged one, is dark. Where the desktop composes, the
// background is all but transparent, so the taskbar shows through and the readout still takes clicks;
// elsewhere, and in high contrast, it is the theme's opaque taskbar colour.
ReadoutColours ReadoutColoursFor(const ThemeReading& reading);

// From text drawn white on black with greyscale smoothing (each pixel 0x00RRGGBB, its brightness the
// text's cover) to the readout's premultiplied 0xAARRGGBB pixels: the text's colour over the background.
void ComposeReadoutPixels(uint32_t* pixels, size_t count, const ReadoutColours& colours);
