// The graph panel: dot grid, the sent and received polylines, axis labels and the two statistics lines.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/meter_layout.h"
#include "render/panel_canvas.h"
#include "settings/monitor_settings.h"
#include "stats/traffic_stats.h"

// Room for the longest statistics line, a percentage of the largest float included.
constexpr size_t kStatLineSize = 96;

// "%.2f %s%s" with B, KB or MB; switches to MB above 999 999.
char* FormatByteCount(uint64_t value, char* buffer, size_t size, const char* suffix);

// The text of one statistics line; an empty text for a selection outside 0..6.
void FormatReceiveLine(const CTrafficStats& stats, int32_t selection, char* out, size_t size);
void FormatSendLine(const CTrafficStats& stats, int32_t selection, char* out, size_t size);

// Everything a paint of the panel draws from, taken from the statistics and the settings; the
// painter reads it and writes nothing back. Two equal ones paint the same pixels. Its coordinates
// are those of the panel at 96 DPI; the paint scales them to dpi.
struct PanelSnapshot {
  int32_t dpi;
  int32_t graphStyle, columnRange, graphHeight, graphColumns;
  AxisLabelSet labels;
  uint32_t sentColumns[CTrafficStats::kColumnSlots];
  uint32_t receivedColumns[CTrafficStats::kColumnSlots];
  char receiveLine[kStatLineSize];
  char sendLine[kStatLineSize];
};

void TakePanelSnapshot(const MonitorSettings& settings, const CTrafficStats& stats, int32_t dpi,
                       PanelSnapshot& snapshot);
// Redraws the whole panel from a snapshot of the statistics, on a surface of the panel's size at dpi.
void PaintGraphPanel(const MonitorSettings& settings, const CTrafficStats& stats, IPanelCanvas& canvas,
                     int32_t dpi = kBaseDpi);
void PaintGraphPanel(const PanelSnapshot& snapshot, IPanelCanvas& canvas);

// Paints the panel on a surface that only it paints, and leaves it alone when it would come out
// as it is: an idle link's panel stays the same second after second, and GDI's lines and text cost
// far more than the comparison.
class GraphPanelPainter {
 public:
  // Returns whether it painted.
  bool Paint(const MonitorSettings& settings, const CTrafficStats& stats, IPanelCanvas& canvas);
  // The DPI of the surface it paints; the next paint draws the whole panel at it.
  void SetDpi(int32_t newDpi) { dpi = newDpi; }

 private:
  int32_t dpi = kBaseDpi;
  bool painted = false;
  PanelSnapshot shown = {};
};
