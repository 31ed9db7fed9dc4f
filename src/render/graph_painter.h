// The graph panel: dot grid, the sent and received polylines, axis labels and the two statistics lines.
#pragma once

#include <cstddef>
#include <cstdint>

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

// Redraws the whole panel; writes the polyline clamps back into the columns.
void PaintGraphPanel(const MonitorSettings& settings, CTrafficStats& stats, IPanelCanvas& canvas);
