// The monthly allowance: its period, the running period's total, and when the tray says that 80 %
// and then all of it are used.
#pragma once

#include <cstdint>

#include "log/usage_totals.h"

constexpr int32_t kAllowanceNearlyPercent = 80;
constexpr int32_t kAllowanceReachedPercent = 100;
constexpr int32_t kMaxAllowanceAmount = 999999;
constexpr int32_t kLastAllowanceStartDay = 28;

// The amount in MB or GB of 1024 * 1024 or 1024^3 bytes, as the panel counts them; 0 for none.
uint64_t AllowanceBytes(int32_t amount, bool inGigabytes);
// The first day of the period that today lies in; a period starts on startDay (1..28) of a month.
CalendarDate PeriodStart(const CalendarDate& today, int32_t startDay);
// A date as one number, yyyymmdd, for the profile.
int32_t DateKey(const CalendarDate& date);

// What the tray has said in a period: the period's first day as yyyymmdd, and 0, 80 or 100.
struct AllowanceNotices {
  int32_t period = 0;
  int32_t percent = 0;
};

// The percentage to announce now (80 or 100) or 0, and the notices remembered. Each level is
// announced once per period, and only the higher when both are passed at once. What was announced
// in another period, earlier or later (a clock that once ran ahead, another start day), says
// nothing of this one.
int32_t NextAllowanceNotice(AllowanceNotices& notices, const CalendarDate& today, int32_t startDay,
                            uint64_t allowanceBytes, uint64_t periodBytes);

// The running period's total: the log read once a day, plus what the statistics have counted since
// the last line that log held, so that the total follows each second without reading the log again.
class PeriodUsage {
 public:
  // True when the log must be read again: another day, another interface, or new settings.
  bool Stale(const CalendarDate& today, int32_t interfaceRow) const;
  // countedAtLastLine: sent plus received as the statistics counted them when the log's last line
  // was written.
  void Rebase(const CalendarDate& today, int32_t interfaceRow, uint64_t loggedBytes,
              uint64_t countedAtLastLine);
  void Forget() { known = false; }
  // countedNow: sent plus received as the statistics count them now.
  uint64_t Total(uint64_t countedNow) const;

 private:
  bool known = false;
  int64_t day = 0;
  int32_t row = -1;
  uint64_t logged = 0;
  uint64_t countedAtRead = 0;
};
