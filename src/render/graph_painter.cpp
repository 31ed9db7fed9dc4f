// Paints the graph panel from one interface's figures, through a canvas so that it needs no GDI.
#include "render/graph_painter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "render/byte_format.h"
#include "render/pixel_surface.h"

namespace {

constexpr uint8_t kGridBlue = 250, kGridGreen = 10, kGridRed = 10;
constexpr int32_t kGridSpacing = 3;
constexpr int32_t kLabelX = 120;
constexpr int32_t kUnitX = 139;
constexpr int32_t kUnitLength = 4;
constexpr int32_t kStatLineX = 2;
constexpr int32_t kReceiveLineY = 2;

// What one direction's statistics line can show.
struct DirectionFigures {
  uint32_t current;
  float avgMinute, avgHour;
  uint64_t total;
  float pctNow, pctMinute, pctHour;
  const char* currentCaption;
  const char* totalCaption;
};

// Any style other than mirror-like and overlapped paints as the normal one.
int32_t PaintedStyle(int32_t style) {
  return style == kGraphStyleMirror || style == kGraphStyleOverlapped ? style : kGraphStyleNormal;
}

int32_t AxisLabelCount(int32_t style) {
  return PaintedStyle(style) == kGraphStyleOverlapped ? 4 : 3;
}

int32_t ColumnCount(int32_t graphColumns) {
  return std::clamp(graphColumns, 0, int32_t(TrafficFigures::kColumnSlots));
}

uint32_t ColumnRange(const PanelSnapshot& panel) {
  return uint32_t(std::max(panel.columnRange, 1));
}

int32_t ToCoordinate(int64_t value) {
  return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// Averages are whole bytes on screen; a value no integer holds must not reach the conversion.
uint64_t TruncateToCount(float value) {
  if (!(value > 0)) return 0;
  if (value >= 18446744073709551616.0f) return UINT64_MAX;
  return uint64_t(value);
}

// Dots of the line width every three 96-DPI pixels, written straight into the rows: a paint
// draws nearly two thousand of them.
void DrawGrid(const PanelSnapshot& panel, const MeterLayout& layout, PixelSurface& pixels) {
  if (pixels.bits == nullptr) return;
  const int32_t height = std::min(layout.panelHeight, pixels.height);
  const int32_t width = std::min(layout.panelWidth, pixels.width);
  const int32_t side = layout.lineWidth;
  // Each dot's first and last-but-one column, scaled once for all rows; no panel is wider than a
  // few hundred dots.
  constexpr int32_t kMostDots = 512;
  int32_t lefts[kMostDots], rights[kMostDots];
  int32_t dots = 0;
  for (int32_t column = 0; column < panel.graphColumns && dots < kMostDots; column += kGridSpacing) {
    const int32_t left = layout.Scale(column);
    if (left < 0 || left >= width) break;
    lefts[dots] = left;
    rights[dots++] = std::min(left + side, width);
  }
  const size_t rowBytes = pixels.RowBytes();
  for (int32_t row = 0; row < panel.graphHeight; row += kGridSpacing) {
    const int32_t top = layout.Scale(row);
    if (top < 0 || top >= height) break;
    for (int32_t y = top; y < std::min(top + side, height); ++y) {
      uint8_t* line = pixels.bits + size_t(y) * rowBytes;
      for (int32_t i = 0; i < dots; ++i) {
        for (int32_t x = lefts[i]; x < rights[i]; ++x) {
          uint8_t* p = line + size_t(x) * 3;
          p[0] = kGridBlue, p[1] = kGridGreen, p[2] = kGridRed;
        }
      }
    }
  }
}

CanvasPoint Scaled(const MeterLayout& layout, int32_t x, int64_t y) {
  return CanvasPoint{layout.Scale(x), layout.Scale(ToCoordinate(y))};
}

// A column above the range is drawn one row below the top; one of exactly the range reaches it.
void DrawSentPolyline(const PanelSnapshot& panel, const MeterLayout& layout, IPanelCanvas& canvas) {
  const bool mirror = PaintedStyle(panel.graphStyle) == kGraphStyleMirror;
  const uint32_t range = ColumnRange(panel);
  const CanvasPoint start = Scaled(layout, 0, mirror ? int64_t(range) + 1 : panel.graphHeight);
  canvas.MoveTo(start.x, start.y);
  canvas.SelectPen(PanelPen::Red);
  CanvasPoint points[TrafficFigures::kColumnSlots];
  const int32_t count = ColumnCount(panel.graphColumns);
  for (int32_t x = 0; x < count; ++x) {
    const uint32_t column = panel.sentColumns[x] > range ? range - 1 : panel.sentColumns[x];
    const int64_t y = mirror ? int64_t(range) + column + 1 : int64_t(panel.graphHeight) - column - 1;
    points[x] = Scaled(layout, x, y);
  }
  canvas.PolylineTo(points, count);
}

void DrawReceivedPolyline(const PanelSnapshot& panel, const MeterLayout& layout, IPanelCanvas& canvas) {
  const uint32_t range = ColumnRange(panel);
  const CanvasPoint start = Scaled(layout, 0, int64_t(range) - 1);
  canvas.MoveTo(start.x, start.y);
  canvas.SelectPen(PanelPen::Green);
  CanvasPoint points[TrafficFigures::kColumnSlots];
  const int32_t count = ColumnCount(panel.graphColumns);
  for (int32_t x = 0; x < count; ++x) {
    const uint32_t column = std::min(panel.receivedColumns[x], range);
    points[x] = Scaled(layout, x, int64_t(range) - column - 1);
  }
  canvas.PolylineTo(points, count);
}

// Text at a corner of the 96-DPI panel.
void WriteScaledText(IPanelCanvas& canvas, const MeterLayout& layout, int32_t x, int32_t y, const char* text,
                     int32_t length) {
  canvas.WriteText(layout.Scale(x), layout.Scale(y), text, length);
}

void DrawLabel(IPanelCanvas& canvas, const MeterLayout& layout, int32_t y, const char* label) {
  WriteScaledText(canvas, layout, kLabelX, y, label, int32_t(strnlen(label, AxisLabelSet::kLength)));
}

const char* UnitText(uint32_t divisor) {
  return divisor > 999 ? "MB/s" : "kB/s";
}

void DrawFormattedLine(IPanelCanvas& canvas, const MeterLayout& layout, int32_t y, const char* line) {
  if (line[0] != '\0') WriteScaledText(canvas, layout, kStatLineX, y, line, int32_t(strlen(line)));
}

int32_t SendLineY(const PanelSnapshot& panel) {
  switch (PaintedStyle(panel.graphStyle)) {
    case kGraphStyleMirror:
      return panel.graphHeight - 12;
    case kGraphStyleOverlapped:
      return 14;
    default:
      return panel.graphHeight / 2 + 2;
  }
}

void FormatCountLine(uint64_t value, const char* suffix, const char* caption, char* out, size_t size) {
  char count[48];
  snprintf(out, size, "%s %s", FormatByteCount(value, count, sizeof count, suffix), caption);
}

void FormatShareLine(float percent, const char* caption, char* out, size_t size) {
  snprintf(out, size, "%.1f %s ", double(percent), caption);
}

void FormatStatLine(const DirectionFigures& f, int32_t selection, char* out, size_t size) {
  if (out == nullptr || size == 0) return;
  out[0] = '\0';
  switch (selection) {
    case 0:
      return FormatCountLine(f.current, "/s", f.currentCaption, out, size);
    case 1:
      return FormatCountLine(TruncateToCount(f.avgMinute), "/s", "last min avg.", out, size);
    case 2:
      return FormatCountLine(TruncateToCount(f.avgHour), "/s", "last hour avg.", out, size);
    case 3:
      return FormatCountLine(f.total, " ", f.totalCaption, out, size);
    case 4:
      return FormatShareLine(f.pctNow, "% Bandwidth used", out, size);
    case 5:
      return FormatShareLine(f.pctMinute, "% last min. band used", out, size);
    case 6:
      return FormatShareLine(f.pctHour, "% last hour band used", out, size);
    default:
      return;
  }
}

void DrawAxisLabels(const PanelSnapshot& panel, const MeterLayout& layout, IPanelCanvas& canvas) {
  const AxisLabelSet& labels = panel.labels;
  const int32_t style = PaintedStyle(panel.graphStyle);
  const int32_t n = AxisLabelCount(style);
  const int32_t range = int32_t(ColumnRange(panel));
  for (int32_t i = 1; i <= n; ++i) {
    if (style == kGraphStyleOverlapped) {
      DrawLabel(canvas, layout, 30 * (i - 1), labels.sent[n - i]);
    } else if (style == kGraphStyleNormal) {
      DrawLabel(canvas, layout, 17 * (i - 1), labels.received[n - i]);
      DrawLabel(canvas, layout, range + 17 * (i - 1) + 2, labels.sent[n - i]);
    } else {
      // The mirrored sent axis grows downward, so its labels run the other way.
      DrawLabel(canvas, layout, 17 * (i - 1), labels.received[n - i]);
      DrawLabel(canvas, layout, range + 17 * (i - 1) + 4, labels.sent[i - 1]);
    }
  }
  if (style == kGraphStyleOverlapped) {
    WriteScaledText(canvas, layout, kUnitX, 40, UnitText(labels.sentDivisor), kUnitLength);
  } else {
    WriteScaledText(canvas, layout, kUnitX, 22, UnitText(labels.receivedDivisor), kUnitLength);
    WriteScaledText(canvas, layout, kUnitX, 60, UnitText(labels.sentDivisor), kUnitLength);
  }
}

}  // namespace

void FormatReceiveLine(const TrafficFigures& f, int32_t selection, char* out, size_t size) {
  const DirectionFigures figures{f.currentReceived, f.avgReceivedMinute, f.avgReceivedHour,
                                 f.totalReceived,   f.pctReceivedNow,    f.pctReceivedMinute,
                                 f.pctReceivedHour, "received",          "total received"};
  FormatStatLine(figures, selection, out, size);
}

void FormatSendLine(const TrafficFigures& f, int32_t selection, char* out, size_t size) {
  const DirectionFigures figures{f.currentSent,   f.avgSentMinute, f.avgSentHour, f.totalSent, f.pctSentNow,
                                 f.pctSentMinute, f.pctSentHour,   "sent",        "total sent"};
  FormatStatLine(figures, selection, out, size);
}

void TakePanelSnapshot(const MonitorSettings& settings, const TrafficFigures& figures, int32_t dpi,
                       PanelSnapshot& panel) {
  memset(&panel, 0, sizeof panel);
  panel.dpi = dpi;
  panel.graphStyle = settings.graphStyle;
  panel.columnRange = settings.columnRange;
  panel.graphHeight = settings.graphHeight;
  panel.graphColumns = settings.graphColumns;
  panel.labels = AxisLabelsOf(figures, AxisLabelCount(settings.graphStyle));
  const size_t columnBytes = size_t(ColumnCount(settings.graphColumns)) * sizeof(uint32_t);
  memcpy(panel.sentColumns, figures.sentColumns, columnBytes);
  memcpy(panel.receivedColumns, figures.receivedColumns, columnBytes);
  FormatReceiveLine(figures, settings.receiveStatSelection, panel.receiveLine, sizeof panel.receiveLine);
  FormatSendLine(figures, settings.sendStatSelection, panel.sendLine, sizeof panel.sendLine);
}

void PaintGraphPanel(const PanelSnapshot& panel, IPanelCanvas& canvas) {
  const MeterLayout layout = LayoutForDpi(panel.dpi, panel.graphColumns, panel.graphHeight);
  canvas.ClearBlack();
  DrawGrid(panel, layout, canvas.Pixels());
  DrawSentPolyline(panel, layout, canvas);
  DrawAxisLabels(panel, layout, canvas);
  DrawReceivedPolyline(panel, layout, canvas);
  DrawFormattedLine(canvas, layout, kReceiveLineY, panel.receiveLine);
  DrawFormattedLine(canvas, layout, SendLineY(panel), panel.sendLine);
}
