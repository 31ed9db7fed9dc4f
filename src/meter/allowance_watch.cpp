// The allowance's second-by-second watch: the log read once a day, the live counts added.
#include "meter/allowance_watch.h"

#include <cstdio>

AllowanceNotice AllowanceWatch::OnStatisticsTick(const MonitorSettings& settings, const LocalDateTime& now,
                                                 const char* logPath, CountedBytes counted) {
  AllowanceNotice notice{0,
                         AllowanceNotices{settings.allowanceNoticePeriod, settings.allowanceNoticePercent}};
  const uint64_t allowance = AllowanceBytes(settings.allowanceAmount, settings.allowanceInGigabytes != 0);
  if (allowance == 0 || logPath == nullptr || logPath[0] == '\0') return notice;
  const CalendarDate today{now.year, now.month, now.day};
  if (usage.Stale(today, settings.selectedInterface)) {
    totals.Reset(today);
    ReadUsageFile(logPath, totals);
    const CalendarDate start = PeriodStart(today, settings.allowanceStartDay);
    usage.Rebase(today, settings.selectedInterface, totals.Since(start).Both(), counted.atLastLine);
  }
  periodTotal = usage.Total(counted.now);
  notice.percent =
      NextAllowanceNotice(notice.remembered, today, settings.allowanceStartDay, allowance, periodTotal);
  return notice;
}

void FormatAllowanceNotice(int32_t percent, uint64_t periodBytes, const MonitorSettings& settings,
                           const CalendarDate& periodStart, char* out, size_t size) {
  const char* unit = settings.allowanceInGigabytes != 0 ? "GB" : "MB";
  const double used = double(periodBytes) / double(settings.allowanceInGigabytes != 0 ? 1 << 30 : 1 << 20);
  snprintf(out, size, "%d %% of the monthly allowance used: %.2f %s of %d %s since %d.%d.%d.", int(percent),
           used, unit, int(settings.allowanceAmount), unit, periodStart.day, periodStart.month,
           periodStart.year);
}
