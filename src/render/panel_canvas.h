// The drawing calls the graph painter makes; GDI on the graph surface carries them out.
#pragma once

#include <cstdint>

class PixelSurface;

enum class PanelPen { Red, Green };

class IPanelCanvas {
 public:
  virtual ~IPanelCanvas() = default;
  virtual PixelSurface& Pixels() = 0;
  virtual void ClearBlack() = 0;
  virtual void SelectPen(PanelPen pen) = 0;
  // Top-down coordinates, as GDI draws.
  virtual void MoveTo(int32_t x, int32_t y) = 0;
  // Leaves the current position at (x, y), as GDI does.
  virtual void LineTo(int32_t x, int32_t y) = 0;
  // Yellow text on a transparent background, top-left corner at (x, y).
  virtual void DrawText(int32_t x, int32_t y, const char* text, int32_t length) = 0;
};
