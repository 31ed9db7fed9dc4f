// The whole graph panel painted through GDI into the real 160 x 100 DIB section, checked pixel by pixel.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "render/gdi_canvas_win.h"
#include "render/graph_painter.h"
#include "support/recording_canvas.h"

namespace {

enum class Expect { Black, Grid, Red, Green, Text };

struct TextBox {
  RECT area;
  std::string text;
};

struct StyleCase {
  int32_t style;
  int32_t columnRange;
  int32_t sentStartY, sentRow;          // first move and the row of a sent column of 20
  int32_t receivedStartY, receivedRow;  // the same for a received column of 10
  int32_t sendLineY;
  std::vector<int32_t> receivedLabelYs, sentLabelYs;
  std::vector<POINT> unitPlaces;
};

// Leaves the painted panel in the working directory for a person to look at.
void SaveBitmap(const CDibSurface& surface, const std::string& name) {
  const DWORD pixelBytes = DWORD(surface.ByteCount());
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + pixelBytes;
  FILE* out = fopen(name.c_str(), "wb");
  if (out == nullptr) return;
  fwrite(&file, sizeof file, 1, out);
  fwrite(&surface.bitmapInfo.bmiHeader, sizeof(BITMAPINFOHEADER), 1, out);
  fwrite(surface.bits, 1, pixelBytes, out);
  fclose(out);
}

void PrintTo(const StyleCase& c, std::ostream* out) {
  *out << "style " << c.style;
}

class GraphPanelOnDibSection : public ::testing::TestWithParam<StyleCase> {
 protected:
  void SetUp() override {
    ASSERT_EQ(surface.Create(160, 100, 24, nullptr), 1);
    tools.MakeFont(LayoutForDpi(kBaseDpi, 160, 100));
    tools.MakePens();
    const StyleCase& c = GetParam();
    settings.graphStyle = c.style;
    settings.columnRange = c.columnRange;
    settings.receiveStatSelection = 0;
    settings.sendStatSelection = 3;
    figures.currentReceived = 12800;
    figures.totalSent = 3145728;
    figures.graphScaleKb = 100;
    for (int x = 0; x < TrafficFigures::kColumnSlots; ++x) {
      figures.sentColumns[x] = 20;
      figures.receivedColumns[x] = 10;
    }
  }

  // Top-down coordinates, as GDI draws.
  COLORREF At(int x, int y) const {
    const uint8_t* p = surface.bits + (x + (99 - y) * 160) * 3;
    return RGB(p[2], p[1], p[0]);
  }

  void AddTextBox(int x, int y, const char* text, int length) {
    SIZE extent = {};
    GetTextExtentPoint32A(surface.Dc(), text, length, &extent);
    // A glyph may reach one pixel past its advance on either side.
    boxes.push_back(TextBox{RECT{x - 1, y, x + extent.cx + 1, y + extent.cy}, std::string(text, length)});
  }

  bool InTextBox(int x, int y) const {
    for (const TextBox& box : boxes)
      if (x >= box.area.left && x < box.area.right && y >= box.area.top && y < box.area.bottom) return true;
    return false;
  }

  int YellowIn(const RECT& area) const {
    int count = 0;
    for (int y = std::max(0L, area.top); y < std::min(100L, area.bottom); ++y)
      for (int x = std::max(0L, area.left); x < std::min(160L, area.right); ++x)
        if (At(x, y) == RGB(255, 255, 0)) ++count;
    return count;
  }

  // The polylines of constant columns: a vertical rise at x = 0, then one row, whose last
  // point GDI leaves out.
  Expect Line(int x, int y) const {
    const StyleCase& c = GetParam();
    if (y == c.receivedRow && x < 159) return Expect::Green;
    if (x == 0 && y > c.receivedRow && y <= c.receivedStartY) return Expect::Green;
    if (y == c.sentRow && x < 159) return Expect::Red;
    if (x == 0 && y > c.sentRow && y <= c.sentStartY) return Expect::Red;
    if (x == 0 && y < c.sentRow && y >= c.sentStartY) return Expect::Red;  // the mirror falls
    return Expect::Black;
  }

  CDibSurface surface;
  GraphDrawingTools tools;
  TrafficFigures figures;
  MonitorSettings settings;
  std::vector<TextBox> boxes;
};

TEST_P(GraphPanelOnDibSection, GridLinesAndTextLandOnTheirPixels) {
  const StyleCase& c = GetParam();
  GdiPanelCanvas canvas(surface, tools);
  memset(surface.bits, 0x77, surface.ByteCount());
  PanelSnapshot snapshot;
  TakePanelSnapshot(settings, figures, kBaseDpi, snapshot);
  PaintGraphPanel(snapshot, canvas);
  GdiFlush();
  SaveBitmap(surface, "graph_panel_style" + std::to_string(c.style) + ".bmp");
  const TrafficFigures& s = figures;

  char line[kStatLineSize];
  FormatReceiveLine(s, 0, line, sizeof line);
  ASSERT_STREQ(line, "12.50 KB/s received");
  AddTextBox(2, 2, line, int(strlen(line)));
  FormatSendLine(s, 3, line, sizeof line);
  ASSERT_STREQ(line, "3.00 MB  total sent");
  AddTextBox(2, c.sendLineY, line, int(strlen(line)));
  const int n = int(c.sentLabelYs.size());
  const AxisLabelSet labels = AxisLabelsOf(figures, n);
  for (int i = 0; i < int(c.receivedLabelYs.size()); ++i)
    AddTextBox(120, c.receivedLabelYs[i], labels.received[n - 1 - i], int(strlen(labels.received[n - 1 - i])));
  for (int i = 0; i < n; ++i) {
    // The mirror's sent axis grows downward: its labels run from the bottom of the scale.
    const char* label = c.style == kGraphStyleMirror ? labels.sent[i] : labels.sent[n - 1 - i];
    AddTextBox(120, c.sentLabelYs[i], label, int(strlen(label)));
  }
  for (const POINT& unit : c.unitPlaces) AddTextBox(unit.x, unit.y, "kB/s", 4);

  for (const TextBox& box : boxes)
    if (!box.text.empty()) EXPECT_GT(YellowIn(box.area), 3) << "no yellow text for \"" << box.text << "\"";

  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 160; ++x) {
      const COLORREF pixel = At(x, y);
      const bool inText = InTextBox(x, y);
      // Around its strokes a text leaves what lies beneath it.
      if (inText && pixel == RGB(255, 255, 0)) continue;
      ASSERT_NE(pixel, RGB(255, 255, 0)) << "yellow outside every text at " << x << "," << y;
      Expect expected = Line(x, y);
      if (expected == Expect::Black && x % 3 == 0 && (99 - y) % 3 == 0) expected = Expect::Grid;
      const COLORREF colour = expected == Expect::Grid    ? RGB(10, 10, 250)
                              : expected == Expect::Red   ? RGB(255, 0, 0)
                              : expected == Expect::Green ? RGB(0, 255, 0)
                                                          : RGB(0, 0, 0);
      ASSERT_EQ(pixel, colour) << "at " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    AllStyles, GraphPanelOnDibSection,
    ::testing::Values(
        // Mirror-like: received rises from row 49, sent falls from row 51.
        StyleCase{
            kGraphStyleMirror, 50, 51, 71, 49, 39, 88, {0, 17, 34}, {54, 71, 88}, {{139, 22}, {139, 60}}},
        // Normal: two stacked graphs, sent rising from the bottom edge.
        StyleCase{
            kGraphStyleNormal, 50, 100, 79, 49, 39, 52, {0, 17, 34}, {52, 69, 86}, {{139, 22}, {139, 60}}},
        // Overlapped: one scale over the full height, only the sent labels.
        StyleCase{kGraphStyleOverlapped, 100, 100, 79, 99, 89, 14, {}, {0, 30, 60, 90}, {{139, 40}}}),
    [](const ::testing::TestParamInfo<StyleCase>& info) {
      return std::string(info.param.style == kGraphStyleMirror   ? "Mirror"
                         : info.param.style == kGraphStyleNormal ? "Normal"
                                                                 : "Overlapped");
    });

}  // namespace
