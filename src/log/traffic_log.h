// Names, header and lines of the per-interface CSV traffic log.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sampling/monitor_platform.h"

constexpr const char* kLogFileSuffix = "_Quintrel.csv";

// The description with " ()/" turned into "_" and "." into " ", then the suffix; shortened
// so that the whole name stays within maxLength characters.
void MakeLogFileName(const char* description, size_t maxLength, char* out, size_t size);
// Returns the length written.
size_t FormatLogHeader(const char* description, char* out, size_t size);
size_t FormatLogLine(const LocalDateTime& time, uint64_t sent, uint64_t received, char* out, size_t size);
