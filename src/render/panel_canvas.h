// The drawing calls the graph painter makes; GDI on the graph surface carries them out.
#pragma once

#include <cstdint>

class PixelSurface;

enum class PanelPen { Red, Green };

struct CanvasPoint {
  int32_t x, y;
};

class IPanelCanvas {
 public:
  virtual ~IPanelCanvas() = default;
  virtual PixelSurface& Pixels() = 0;
  virtual void ClearBlack() = 0;
  virtual void SelectPen(PanelPen pen) = 0;
  // Top-down coordinates, as GDI draws.
  virtual void MoveTo(int32_t x, int32_t y) = 0;
  // Lines from the current position through each point in turn, leaving the position at the last,
  // as GDI's PolylineTo does: one call for a whole graph line, which costs what one LineTo does.
  virtual void PolylineTo(const CanvasPoint* points, int32_t count) = 0;
  // Yellow text on a transparent background, top-left corner at (x, y).
  virtual void WriteText(int32_t x, int32_t y, const char* text, int32_t length) = 0;
};
