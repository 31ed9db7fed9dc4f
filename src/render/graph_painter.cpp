// The graph panel painter (being written).
#include "render/graph_painter.h"

#include <cstdio>

char* FormatByteCount(uint64_t value, char* buffer, size_t size, const char* suffix) {
  snprintf(buffer, size, "%s", suffix);
  return buffer;
}
void FormatReceiveLine(const CTrafficStats&, int32_t, char* out, size_t size) { snprintf(out, size, "%s", ""); }
void FormatSendLine(const CTrafficStats&, int32_t, char* out, size_t size) { snprintf(out, size, "%s", ""); }
void PaintGraphPanel(const MonitorSettings&, CTrafficStats&, IPanelCanvas&) {}
