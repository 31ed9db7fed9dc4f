// Watches the running period's total against the monthly allowance, second by second, and says
// when the tray should announce that 80 % or all of it is used.
#pragma once

#include <cstddef>
#include <cstdint>

#include "log/log_sink.h"
#include "log/usage_allowance.h"
#include "log/usage_totals.h"
#include "settings/monitor_settings.h"

// What the statistics of the watched interface have counted, sent plus received: now, and when
// its log's last line was written.
struct CountedBytes {
  uint64_t now;
  uint64_t atLastLine;
};

// What the tray should announce after this second: 80 or 100, or 0 for nothing, and what the
// settings remember once the shell has shown it.
struct AllowanceNotice {
  int32_t percent;
  AllowanceNotices remembered;
};

class AllowanceWatch {
 public:
  // Reads the log at the first second, on each new day and after Forget; the notices already
  // announced come from the settings, which keep them only when the shell took the balloon.
  AllowanceNotice OnStatisticsTick(const MonitorSettings& settings, const LocalDateTime& now,
                                   const char* logPath, CountedBytes counted);
  // The allowance, its start day or the interface changed: the log is read again at the next second.
  void Forget() { usage.Forget(); }
  uint64_t PeriodTotal() const { return periodTotal; }

 private:
  UsageTotals totals;
  PeriodUsage usage;
  uint64_t periodTotal = 0;
};

// "80 % of the monthly allowance used: 8.00 GB of 10 GB since 1.12.2026" and the like.
void FormatAllowanceNotice(int32_t percent, uint64_t periodBytes, const MonitorSettings& settings,
                           const CalendarDate& periodStart, char* out, size_t size);
