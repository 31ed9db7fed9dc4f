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

// Longer than any count a link can carry in a minute: such a number is damage, and refusing it
// keeps the sums far from the end of 64 bits.
constexpr uint64_t kMaxMinuteBytes = uint64_t(1) << 44;
constexpr uint64_t kTwoTo32 = uint64_t(1) << 32;

// Reads an unsigned decimal field ending at a comma or the end; p moves past the comma.
bool ReadDecimal(const char*& p, const char* end, uint64_t limit, uint64_t& value) {
  const char* start = p;
  value = 0;
  while (p < end && *p >= '0' && *p <= '9') {
    value = value * 10 + uint64_t(*p - '0');
    if (value > limit) return false;
    ++p;
  }
  if (p == start || p - start > 20) return false;
  if (p < end) {
    if (*p != ',') return false;
    ++p;
  }
  return true;
}

bool ReadByteCount(const char*& p, const char* end, uint64_t& value) {
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  if (!ReadDecimal(p, end, negative ? kTwoTo32 / 2 : kMaxMinuteBytes, value)) return false;
  if (negative && value > 0) value = kTwoTo32 - value;
  return true;
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsRealTime(const LocalDateTime& t) {
  static const int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (t.year < 1601 || t.year > 30827 || t.month < 1 || t.month > 12 || t.day < 1) return false;
  const int days = kDaysInMonth[t.month - 1] + (t.month == 2 && IsLeapYear(t.year) ? 1 : 0);
  return t.day <= days && t.dayOfWeek <= 6 && t.hour <= 23 && t.minute <= 59 && t.second <= 59;
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

bool ParseLogLine(const char* text, size_t length, LoggedMinute& out) {
  if (text == nullptr) return false;
  const char* p = text;
  const char* end = text + length;
  int* const fields[] = {&out.time.year, &out.time.month,  &out.time.day,   &out.time.dayOfWeek,
                         &out.time.hour, &out.time.minute, &out.time.second};
  for (int* field : fields) {
    uint64_t value = 0;
    if (p == end || !ReadDecimal(p, end, 99999, value)) return false;
    *field = int(value);
  }
  if (p == end || !ReadByteCount(p, end, out.sent)) return false;
  if (p == end || !ReadByteCount(p, end, out.received)) return false;
  return p == end && IsRealTime(out.time);
}
