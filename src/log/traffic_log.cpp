// The traffic log's file name, header and data lines, formatted into fixed buffers.
#include "log/traffic_log.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kLogTitle = "Quintrel V1.33 Log file for interface: ";
constexpr const char* kLogColumns =
    "\r\nYear,Month,Day,DayOfWeek,Hour,Minute,Second,Bytes Sent,Bytes Received\r\n\r\n";

char FileNameCharacter(char c) {
  if (c == '.') return ' ';
  if (c == ' ' || c == '(' || c == '/' || c == ')') return '_';
  // These would turn the name into a path, a stream name or a wildcard.
  if (static_cast<unsigned char>(c) < 32 || strchr("\\:*?\"<>|", c) != nullptr) return '_';
  return c;
}

// A cut line would corrupt the log, so a text that does not fit is not written at all.
size_t WholeOrNothing(int formatted, char* out, size_t size) {
  if (formatted >= 0 && size_t(formatted) < size) return size_t(formatted);
  if (size > 0) out[0] = '\0';
  return 0;
}

}  // namespace

void MakeLogFileName(const char* description, size_t maxLength, char* out, size_t size) {
  if (out == nullptr || size == 0) return;
  out[0] = '\0';
  const size_t suffixLength = strlen(kLogFileSuffix);
  const size_t limit = std::min(maxLength, size - 1);
  if (limit < suffixLength) return;
  if (description == nullptr) description = "";
  const size_t room = limit - suffixLength;
  size_t n = 0;
  for (; n < room && description[n] != '\0'; ++n) out[n] = FileNameCharacter(description[n]);
  memcpy(out + n, kLogFileSuffix, suffixLength + 1);
}

size_t FormatLogHeader(const char* description, char* out, size_t size) {
  if (out == nullptr) return 0;
  return WholeOrNothing(snprintf(out, size, "%s%s%s", kLogTitle, description ? description : "", kLogColumns),
                        out, size);
}

size_t FormatLogLine(const LocalDateTime& t, uint64_t sent, uint64_t received, char* out, size_t size) {
  if (out == nullptr) return 0;
  const int n = snprintf(out, size, "%d,%d,%d,%d,%d,%d,%d,%" PRIu64 ",%" PRIu64 ",\r\n", t.year, t.month,
                         t.day, t.dayOfWeek, t.hour, t.minute, t.second, sent, received);
  return WholeOrNothing(n, out, size);
}
