// Traffic log formats (being written).
#include "log/traffic_log.h"

#include <cstdio>

void MakeLogFileName(const char*, size_t, char* out, size_t size) { snprintf(out, size, "%s", kLogFileSuffix); }
size_t FormatLogHeader(const char*, char* out, size_t size) { return out[0] = '\0', 0; }
size_t FormatLogLine(const LocalDateTime&, uint64_t, uint64_t, char* out, size_t size) { return out[0] = '\0', 0; }
