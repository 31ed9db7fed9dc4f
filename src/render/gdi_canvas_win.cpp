// The graph painter's drawing calls as GDI calls on the graph surface's memory DC.
#include "render/gdi_canvas_win.h"

#include <algorithm>
#include <iterator>

GdiPanelCanvas::GdiPanelCanvas(CDibSurface& target, const GraphDrawingTools& tools)
    : surface(target), redPen(tools.redPen.get()), greenPen(tools.greenPen.get()) {
  SetBkMode(surface.Dc(), TRANSPARENT);
  fontSelection.Select(surface.Dc(), tools.graphFont.get());
}

void GdiPanelCanvas::ClearBlack() {
  surface.Clear(false);
  GdiFlush();
}

void GdiPanelCanvas::SelectPen(PanelPen pen) {
  penSelection.Select(surface.Dc(), pen == PanelPen::Red ? redPen : greenPen);
}

void GdiPanelCanvas::MoveTo(int32_t x, int32_t y) {
  MoveToEx(surface.Dc(), x, y, nullptr);
}

void GdiPanelCanvas::PolylineTo(const CanvasPoint* points, int32_t count) {
  POINT batch[64];
  while (count > 0) {
    const int32_t n = std::min<int32_t>(count, int32_t(std::size(batch)));
    for (int32_t i = 0; i < n; ++i) batch[i] = POINT{points[i].x, points[i].y};
    ::PolylineTo(surface.Dc(), batch, DWORD(n));
    points += n;
    count -= n;
  }
}

void GdiPanelCanvas::WriteText(int32_t x, int32_t y, const char* text, int32_t length) {
  SetTextColor(surface.Dc(), kPanelTextColour);
  TextOutA(surface.Dc(), x, y, text, length);
}
