// Names, header and lines of the per-interface CSV traffic log.
#pragma once

#include <cstddef>
#include <cstdint>

#include "log/log_sink.h"

constexpr const char* kLogFileSuffix = "_Quintrel.csv";
// Room for a header with a description of up to 255 characters, and for the longest data line.
constexpr size_t kLogHeaderSize = 512;
constexpr size_t kLogLineSize = 160;

// The description with " ()/" turned into "_" and "." into " " (and characters no file name may hold
// into "_"), then the suffix; the description is shortened so that the whole name stays within
// maxLength characters and fits in out. An empty name when not even the suffix fits.
void MakeLogFileName(const char* description, size_t maxLength, char* out, size_t size);
// One data line, formatted when its minute ends and written whenever the file may take it.
struct LogLine {
  char text[kLogLineSize];
  size_t length;
};

// Each returns the length written, or 0 with an empty text when the whole text does not fit.
size_t FormatLogHeader(const char* description, char* out, size_t size);
size_t FormatLogLine(const LocalDateTime& time, uint64_t sent, uint64_t received, char* out, size_t size);

// One data line read back: its time and the minute's bytes.
struct LoggedMinute {
  LocalDateTime time;
  uint64_t sent;
  uint64_t received;
};
// Reads one data line without its line end; the trailing comma may be missing. Older versions wrote
// the byte counts as signed 32-bit numbers, so a negative count is taken modulo 2^32. False for
// anything else: a header line, a cut or damaged line, a date or time that cannot be.
bool ParseLogLine(const char* text, size_t length, LoggedMinute& out);
