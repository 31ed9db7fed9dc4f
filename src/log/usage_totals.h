// How much an interface used: the sent and received bytes of its traffic log summed per hour, per
// day and per month, read again from the log whenever they are wanted.
#pragma once

#include <cstddef>
#include <cstdint>

#include "log/traffic_log.h"

struct UsageAmount {
  uint64_t sent = 0;
  uint64_t received = 0;

  uint64_t Both() const;
  // Sums stop at the largest 64-bit value instead of wrapping.
  void Add(uint64_t moreSent, uint64_t moreReceived);
  void Add(const UsageAmount& more) { Add(more.sent, more.received); }
};

struct CalendarDate {
  int year;
  int month;
  int day;
};

// Days since 1970-01-01 (negative before); any month and day numbers, normalised as a calendar would.
int64_t DayNumber(const CalendarDate& date);
CalendarDate DateOfDayNumber(int64_t dayNumber);
int DaysInMonth(int year, int month);

// Today and the 61 days before: this month and the last one, and a monthly allowance period.
constexpr int kUsageDays = 62;
// This month and the twelve before.
constexpr int kUsageMonths = 13;

class UsageTotals {
 public:
  // Forgets every sum and counts lines from now on against this date as today.
  void Reset(const CalendarDate& today);
  // Takes a log's bytes in pieces of any size; Finish ends the last line. A last line without its
  // line end and without the trailing comma is a line cut while it was written, and is skipped.
  void Feed(const char* data, size_t size);
  void Finish();
  void Add(const LoggedMinute& minute);

  const CalendarDate& Today() const { return today; }
  UsageAmount Hour(int daysAgo, int hour) const;
  UsageAmount Day(int daysAgo) const;
  UsageAmount Month(int monthsAgo) const;
  // From the first day to today, both included; days before the kept ones are not in it.
  UsageAmount Since(const CalendarDate& first) const;

  uint32_t lines = 0;    // data lines summed
  uint32_t skipped = 0;  // damaged, cut or hand-edited lines that do not read as a minute
  uint32_t later = 0;    // minutes dated after today: a clock that was set back since
  uint32_t earlier = 0;  // minutes older than the thirteen months kept

 private:
  void TakeLine(const char* text, size_t length, bool ended);

  CalendarDate today = {1970, 1, 1};
  int64_t todayNumber = 0;
  int todayMonth = 0;
  UsageAmount hours[kUsageDays][24];
  UsageAmount months[kUsageMonths];
  // The part of a line that the previous piece ended in; the longest line is a header's title.
  char partial[kLogHeaderSize] = {};
  size_t partialLength = 0;
  bool partialTooLong = false;
};

// Reads a whole log file into the totals (after Reset); false when it cannot be opened.
bool ReadUsageFile(const char* path, UsageTotals& totals);
