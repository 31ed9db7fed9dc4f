// The graph panel: dot grid, the sent and received polylines, axis labels and the two statistics lines.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/axis_labels.h"
#include "render/meter_layout.h"
#include "render/panel_canvas.h"
#include "settings/monitor_settings.h"
#include "stats/traffic_figures.h"

// Room for the longest statistics line, a percentage of the largest float included.
constexpr size_t kStatLineSize = 96;

// The text of one statistics line; an empty text for a selection outside 0..6.
void FormatReceiveLine(const TrafficFigures& figures, int32_t selection, char* out, size_t size);
void FormatSendLine(const TrafficFigures& figures, int32_t selection, char* out, size_t size);

// Everything a paint of the panel draws from, taken from the figures and the settings; the
// painter reads it and writes nothing back. Two equal ones paint the same pixels. Its coordinates
// are those of the panel at 96 DPI; the paint scales them to dpi.
struct PanelSnapshot {
  int32_t dpi;
  int32_t graphStyle, columnRange, graphHeight, graphColumns;
  AxisLabelSet labels;
  uint32_t sentColumns[TrafficFigures::kColumnSlots];
  uint32_t receivedColumns[TrafficFigures::kColumnSlots];
  char receiveLine[kStatLineSize];
  char sendLine[kStatLineSize];
};

void TakePanelSnapshot(const MonitorSettings& settings, const TrafficFigures& figures, int32_t dpi,
                       PanelSnapshot& snapshot);
// Redraws the whole panel from a snapshot, on a surface of the panel's size at the snapshot's DPI.
void PaintGraphPanel(const PanelSnapshot& snapshot, IPanelCanvas& canvas);
