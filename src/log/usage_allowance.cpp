// The allowance's period and its once-per-period notices.
#include "log/usage_allowance.h"

uint64_t AllowanceBytes(int32_t amount, bool inGigabytes) {
  if (amount <= 0) return 0;
  return uint64_t(amount) << (inGigabytes ? 30 : 20);
}

CalendarDate PeriodStart(const CalendarDate& today, int32_t startDay) {
  if (startDay < 1) startDay = 1;
  if (startDay > kLastAllowanceStartDay) startDay = kLastAllowanceStartDay;
  if (today.day >= startDay) return CalendarDate{today.year, today.month, startDay};
  return today.month == 1 ? CalendarDate{today.year - 1, 12, startDay}
                          : CalendarDate{today.year, today.month - 1, startDay};
}

int32_t DateKey(const CalendarDate& date) {
  return date.year * 10000 + date.month * 100 + date.day;
}

namespace {

int32_t PercentReached(uint64_t allowanceBytes, uint64_t periodBytes) {
  if (periodBytes >= allowanceBytes) return kAllowanceReachedPercent;
  // 80 % without a product that could pass 64 bits.
  if (periodBytes >= allowanceBytes - allowanceBytes / 5) return kAllowanceNearlyPercent;
  return 0;
}

}  // namespace

int32_t NextAllowanceNotice(AllowanceNotices& notices, const CalendarDate& today, int32_t startDay,
                            uint64_t allowanceBytes, uint64_t periodBytes) {
  if (allowanceBytes == 0) return 0;
  const int32_t period = DateKey(PeriodStart(today, startDay));
  if (period != notices.period) notices = AllowanceNotices{period, 0};
  const int32_t percent = PercentReached(allowanceBytes, periodBytes);
  if (percent <= notices.percent) return 0;
  notices.percent = percent;
  return percent;
}

bool PeriodUsage::Stale(const CalendarDate& today, int32_t interfaceRow) const {
  return !known || DayNumber(today) != day || interfaceRow != row;
}

void PeriodUsage::Rebase(const CalendarDate& today, int32_t interfaceRow, uint64_t loggedBytes,
                         uint64_t countedAtLastLine) {
  known = true;
  day = DayNumber(today);
  row = interfaceRow;
  logged = loggedBytes;
  countedAtRead = countedAtLastLine;
}

uint64_t PeriodUsage::Total(uint64_t countedNow) const {
  const uint64_t since = countedNow >= countedAtRead ? countedNow - countedAtRead : 0;
  return logged > ~uint64_t(0) - since ? ~uint64_t(0) : logged + since;
}
