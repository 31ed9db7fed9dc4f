// A panel canvas that records every drawing call over a pixel surface in memory.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "render/panel_canvas.h"
#include "render/pixel_surface.h"

struct CanvasCall {
  enum Kind { kClear, kPen, kMove, kLine, kText };
  Kind kind;
  int32_t x, y;
  PanelPen pen;
  int32_t length;  // of a text call, as passed
  char text[64];   // the first `length` characters, NUL-terminated
};

struct CanvasSegment {
  PanelPen pen;
  int32_t x0, y0, x1, y1;
};

struct CanvasText {
  int32_t x, y;
  std::string text;
  int32_t length;
};

// Recording reuses the reserved call list, so a warmed-up canvas allocates nothing per paint.
class RecordingPanelCanvas : public IPanelCanvas {
 public:
  explicit RecordingPanelCanvas(int32_t width = 160, int32_t height = 100) : surface(width, height) {
    calls.reserve(2048);
  }

  PixelSurface& Pixels() override { return surface; }
  // Every paint starts here, so the calls are those of the last paint only.
  void ClearBlack() override {
    surface.ZeroPixels();
    calls.clear();
    ++paints;
    Record({CanvasCall::kClear, 0, 0, PanelPen::Red, 0, {}});
  }
  void SelectPen(PanelPen pen) override { Record({CanvasCall::kPen, 0, 0, pen, 0, {}}); }
  void MoveTo(int32_t x, int32_t y) override { Record({CanvasCall::kMove, x, y, PanelPen::Red, 0, {}}); }
  // Each point is recorded as one line call, as GDI draws it.
  void PolylineTo(const CanvasPoint* points, int32_t count) override {
    for (int32_t i = 0; i < count; ++i) Record({CanvasCall::kLine, points[i].x, points[i].y, PanelPen::Red, 0, {}});
  }
  void WriteText(int32_t x, int32_t y, const char* text, int32_t length) override {
    CanvasCall call{CanvasCall::kText, x, y, PanelPen::Red, length, {}};
    const size_t copied = std::min<size_t>(length > 0 ? size_t(length) : 0, sizeof call.text - 1);
    memcpy(call.text, text, copied);
    Record(call);
  }

  void Forget() { calls.clear(); }

  // Every line call as a segment from the current position, drawn with the pen selected at the time.
  std::vector<CanvasSegment> Segments() const {
    std::vector<CanvasSegment> segments;
    PanelPen pen = PanelPen::Red;
    bool penSelected = false;
    int32_t x = 0, y = 0;
    for (const CanvasCall& c : calls) {
      if (c.kind == CanvasCall::kPen) pen = c.pen, penSelected = true;
      if (c.kind == CanvasCall::kMove) x = c.x, y = c.y;
      if (c.kind == CanvasCall::kLine) {
        // A line before any pen would be drawn with the DC's default pen.
        segments.push_back({penSelected ? pen : PanelPen(-1), x, y, c.x, c.y});
        x = c.x, y = c.y;
      }
    }
    return segments;
  }

  std::vector<CanvasSegment> Segments(PanelPen pen) const {
    std::vector<CanvasSegment> all = Segments(), chosen;
    for (const CanvasSegment& s : all)
      if (s.pen == pen) chosen.push_back(s);
    return chosen;
  }

  std::vector<CanvasText> Texts() const {
    std::vector<CanvasText> texts;
    for (const CanvasCall& c : calls)
      if (c.kind == CanvasCall::kText) texts.push_back({c.x, c.y, c.text, c.length});
    return texts;
  }

  MemorySurface surface;
  std::vector<CanvasCall> calls;
  int paints = 0;

 private:
  void Record(const CanvasCall& call) { calls.push_back(call); }
};
