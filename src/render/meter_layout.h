// Every size and position of the main window, its graph panel and the tray picture, in pixels at
// one DPI. The meter was drawn at 96 DPI; at any other DPI each length is that drawing's, scaled and
// rounded, so at 96 DPI every pixel stays where it always was.
#pragma once

#include <cstdint>

constexpr int32_t kBaseDpi = 96;
// Below 100 % nothing shrinks; far above 400 % no screen goes.
constexpr int32_t kLowestDpi = kBaseDpi;
constexpr int32_t kHighestDpi = 4 * kBaseDpi;

// The panel's text: Arial at 7 points.
constexpr int32_t kGraphFontTenthsOfPoint = 70;

// A length of the 96-DPI drawing in pixels at dpi, rounded to the nearest.
int32_t ScaleForDpi(int32_t length, int32_t dpi);

// A rectangle of the window, in pixels.
struct LayoutRect {
  int32_t x, y, width, height;
};

struct MeterLayout {
  int32_t dpi;
  int32_t windowWidth, windowHeight;
  // The graph panel's top-left corner in the window, and its size.
  int32_t panelX, panelY;
  int32_t panelWidth, panelHeight;
  // The width of the graph lines and the side of a grid dot.
  int32_t lineWidth;
  // The panel font's character height (a negative LOGFONT height), 7 points at dpi.
  int32_t fontHeight;
  // The two hidden buttons, and where the popup menu opens from the window's top-left corner.
  LayoutRect configureButton, exitButton;
  int32_t menuOffset;

  // A coordinate of the 96-DPI panel, at this layout's DPI: a column's x, a row's y, a text's corner.
  // At 96 DPI, where most screens are, without arithmetic: a paint scales about a thousand.
  int32_t Scale(int32_t length) const { return dpi == kBaseDpi ? length : ScaleForDpi(length, dpi); }
};

// The layout for a panel of graphColumns x graphHeight 96-DPI pixels; a DPI outside what any
// screen uses is taken as the nearest one that is.
MeterLayout LayoutForDpi(int32_t dpi, int32_t graphColumns, int32_t graphHeight);
