// The traffic log read back: each minute line summed into its hour, its day and its month.
#include "log/usage_totals.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr uint64_t kMaxSum = ~uint64_t(0);

uint64_t SaturatingSum(uint64_t a, uint64_t b) {
  return a > kMaxSum - b ? kMaxSum : a + b;
}

int MonthNumber(int year, int month) {
  return year * 12 + month - 1;
}

bool StartsWith(const char* text, size_t length, const char* prefix) {
  const size_t n = strlen(prefix);
  return length >= n && memcmp(text, prefix, n) == 0;
}

// The header's title and column lines and its empty line are no data and no damage either.
bool IsHeaderLine(const char* text, size_t length) {
  return length == 0 || StartsWith(text, length, "Quintrel ") || StartsWith(text, length, "Year,Month,Day,");
}

}  // namespace

uint64_t UsageAmount::Both() const {
  return SaturatingSum(sent, received);
}

void UsageAmount::Add(uint64_t moreSent, uint64_t moreReceived) {
  sent = SaturatingSum(sent, moreSent);
  received = SaturatingSum(received, moreReceived);
}

// The proleptic Gregorian calendar counted in 400-year eras.
int64_t DayNumber(const CalendarDate& date) {
  int64_t year = date.year + (date.month - 1 >= 0 ? (date.month - 1) / 12 : (date.month - 12) / 12);
  const int64_t month = ((date.month - 1) % 12 + 12) % 12 + 1;
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468 + (date.day - 1);
}

CalendarDate DateOfDayNumber(int64_t dayNumber) {
  const int64_t z = dayNumber + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int day = int(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = int(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  return CalendarDate{int(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

int DaysInMonth(int year, int month) {
  return int(DayNumber(CalendarDate{year, month + 1, 1}) - DayNumber(CalendarDate{year, month, 1}));
}

void UsageTotals::Reset(const CalendarDate& date) {
  today = date;
  todayNumber = DayNumber(date);
  todayMonth = MonthNumber(date.year, date.month);
  for (auto& day : hours)
    for (UsageAmount& hour : day) hour = UsageAmount();
  for (UsageAmount& month : months) month = UsageAmount();
  lines = skipped = later = earlier = 0;
  partialLength = 0;
  partialTooLong = false;
}

void UsageTotals::Add(const LoggedMinute& minute) {
  const LocalDateTime& t = minute.time;
  const int64_t daysAgo = todayNumber - DayNumber(CalendarDate{t.year, t.month, t.day});
  if (daysAgo < 0) {
    ++later;
    return;
  }
  const int monthsAgo = todayMonth - MonthNumber(t.year, t.month);
  if (monthsAgo >= kUsageMonths) {
    ++earlier;
    return;
  }
  ++lines;
  months[monthsAgo].Add(minute.sent, minute.received);
  if (daysAgo < kUsageDays) hours[daysAgo][t.hour].Add(minute.sent, minute.received);
}

void UsageTotals::TakeLine(const char* text, size_t length, bool ended) {
  if (length > 0 && text[length - 1] == '\r') --length;
  if (IsHeaderLine(text, length)) return;
  LoggedMinute minute;
  const bool complete = ended || text[length - 1] == ',';
  if (complete && ParseLogLine(text, length, minute))
    Add(minute);
  else
    ++skipped;
}

void UsageTotals::Feed(const char* data, size_t size) {
  const char* const end = data + size;
  while (data < end) {
    const char* newline = static_cast<const char*>(memchr(data, '\n', size_t(end - data)));
    const char* lineEnd = newline != nullptr ? newline : end;
    const size_t length = size_t(lineEnd - data);
    if (partialLength == 0 && !partialTooLong && newline != nullptr && length <= sizeof partial) {
      TakeLine(data, length, true);
    } else if (partialLength + length > sizeof partial) {
      partialTooLong = true;
    } else {
      memcpy(partial + partialLength, data, length);
      partialLength += length;
    }
    if (newline == nullptr) return;
    if (partialTooLong)
      ++skipped;
    else if (partialLength > 0)
      TakeLine(partial, partialLength, true);
    partialLength = 0;
    partialTooLong = false;
    data = newline + 1;
  }
}

void UsageTotals::Finish() {
  if (partialTooLong)
    ++skipped;
  else if (partialLength > 0)
    TakeLine(partial, partialLength, false);
  partialLength = 0;
  partialTooLong = false;
}

UsageAmount UsageTotals::Hour(int daysAgo, int hour) const {
  if (daysAgo < 0 || daysAgo >= kUsageDays || hour < 0 || hour > 23) return UsageAmount();
  return hours[daysAgo][hour];
}

UsageAmount UsageTotals::Day(int daysAgo) const {
  UsageAmount sum;
  for (int hour = 0; hour < 24; ++hour) sum.Add(Hour(daysAgo, hour));
  return sum;
}

UsageAmount UsageTotals::Month(int monthsAgo) const {
  if (monthsAgo < 0 || monthsAgo >= kUsageMonths) return UsageAmount();
  return months[monthsAgo];
}

UsageAmount UsageTotals::Since(const CalendarDate& first) const {
  const int64_t days = todayNumber - DayNumber(first);
  UsageAmount sum;
  for (int64_t daysAgo = days < kUsageDays ? days : kUsageDays - 1; daysAgo >= 0; --daysAgo)
    sum.Add(Day(int(daysAgo)));
  return sum;
}

bool ReadUsageFile(const char* path, UsageTotals& totals) {
  const std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(path, "rb"), fclose);
  if (!file) return false;
  char buffer[64 * 1024];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, file.get())) > 0) totals.Feed(buffer, n);
  totals.Finish();
  return true;
}
