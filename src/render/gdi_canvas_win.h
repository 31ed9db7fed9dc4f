// GDI on the graph surface's DC carries out the graph painter's drawing calls.
#pragma once

#include <windows.h>

#include "fw/gdi_win.h"
#include "fw/owned_handle_win.h"
#include "render/dib_surface_win.h"
#include "render/meter_layout.h"
#include "render/panel_canvas.h"

constexpr COLORREF kSentColour = RGB(255, 0, 0);
constexpr COLORREF kReceivedColour = RGB(0, 255, 0);
constexpr COLORREF kPanelTextColour = RGB(255, 255, 0);

// Solid, one pixel wide at 96 DPI.
inline HPEN CreateGraphPen(COLORREF colour, int width = 1) {
  return CreatePen(PS_SOLID, width, colour);
}
// Arial at 7 points for the layout's DPI.
inline HFONT CreateGraphFont(const MeterLayout& layout) {
  return CreatePixelFont(layout.fontHeight, "Arial");
}

// The panel's drawing tools: the font exists from the window's start, the pens from discovery on.
struct GraphDrawingTools {
  COwnedPen redPen;
  COwnedPen greenPen;
  COwnedFont graphFont;

  void MakeFont(const MeterLayout& layout) { graphFont.Reset(CreateGraphFont(layout)); }
  void MakePens(int width = 1) {
    redPen.Reset(CreateGraphPen(kSentColour, width));
    greenPen.Reset(CreateGraphPen(kReceivedColour, width));
  }
};

// Sets the surface's DC up once (transparent text background, the graph font) and gives the DC
// its own pen and font back at the end, so the tools may be deleted after the canvas.
class GdiPanelCanvas : public IPanelCanvas {
 public:
  GdiPanelCanvas(CDibSurface& target, const GraphDrawingTools& tools);
  ~GdiPanelCanvas() override = default;
  GdiPanelCanvas(const GdiPanelCanvas&) = delete;
  GdiPanelCanvas& operator=(const GdiPanelCanvas&) = delete;

  // GDI may batch its drawing; the pixel memory is read and written directly after it.
  PixelSurface& Pixels() override {
    GdiFlush();
    return surface;
  }
  void ClearBlack() override;
  void SelectPen(PanelPen pen) override;
  void MoveTo(int32_t x, int32_t y) override;
  void PolylineTo(const CanvasPoint* points, int32_t count) override;
  void WriteText(int32_t x, int32_t y, const char* text, int32_t length) override;

 private:
  CDibSurface& surface;
  HPEN redPen;
  HPEN greenPen;
  CSelectObject fontSelection;
  CSelectObject penSelection;
};
