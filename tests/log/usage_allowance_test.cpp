// The allowance's periods, its once-per-period notices and the running period's total.
#include "log/usage_allowance.h"

#include <gtest/gtest.h>

namespace {

constexpr uint64_t kGiB = uint64_t(1) << 30;

int32_t Key(const CalendarDate& date) { return DateKey(date); }

TEST(AllowancePeriod, StartsOnItsDayThisMonthOrTheMonthBefore) {
  struct Row {
    CalendarDate today;
    int32_t startDay;
    CalendarDate start;
  };
  const Row rows[] = {
      {{2026, 12, 9}, 1, {2026, 12, 1}},   {{2026, 12, 1}, 1, {2026, 12, 1}},
      {{2026, 12, 27}, 28, {2026, 11, 28}}, {{2026, 12, 28}, 28, {2026, 12, 28}},
      {{2027, 1, 5}, 28, {2026, 12, 28}},   {{2027, 3, 1}, 28, {2027, 2, 28}},
      {{2027, 2, 28}, 28, {2027, 2, 28}},   {{2026, 12, 9}, 0, {2026, 12, 1}},
      {{2026, 12, 9}, 31, {2026, 11, 28}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(Key(row.today) * 100 + row.startDay);
    EXPECT_EQ(Key(PeriodStart(row.today, row.startDay)), Key(row.start));
  }
}

// One tick after another against one remembered record: the date of the tick, the period's total,
// and what the tray should say.
struct Tick {
  CalendarDate today;
  uint64_t periodGiB10;  // tenths of a GiB
  int32_t notice;
};

void RunTicks(const char* name, int32_t startDay, uint64_t allowance, std::initializer_list<Tick> ticks,
              AllowanceNotices notices = {}) {
  SCOPED_TRACE(name);
  int n = 0;
  for (const Tick& tick : ticks) {
    SCOPED_TRACE(n++);
    EXPECT_EQ(NextAllowanceNotice(notices, tick.today, startDay, allowance, tick.periodGiB10 * kGiB / 10),
              tick.notice);
  }
}

TEST(AllowanceNotices, EachLevelOncePerPeriod) {
  RunTicks("climbing", 1, 10 * kGiB,
           {{{2026, 12, 2}, 50, 0},
            {{2026, 12, 3}, 79, 0},
            {{2026, 12, 3}, 80, 80},
            {{2026, 12, 3}, 85, 0},
            {{2026, 12, 4}, 99, 0},
            {{2026, 12, 4}, 100, 100},
            {{2026, 12, 5}, 150, 0},
            {{2026, 12, 31}, 200, 0},
            {{2027, 1, 1}, 0, 0},
            {{2027, 1, 9}, 81, 80},
            {{2027, 1, 9}, 101, 100}});
  RunTicks("both at once: only the higher", 1, 10 * kGiB,
           {{{2026, 12, 2}, 120, 100}, {{2026, 12, 2}, 130, 0}});
  RunTicks("no allowance", 1, 0, {{{2026, 12, 2}, 999, 0}});
}

TEST(AllowanceNotices, APeriodStartingOnThe28th) {
  RunTicks("the 27th is still last period, the 28th begins a new one", 28, 10 * kGiB,
           {{{2026, 11, 30}, 90, 80},
            {{2026, 12, 27}, 100, 100},
            {{2026, 12, 28}, 5, 0},
            {{2027, 1, 3}, 80, 80},
            {{2027, 1, 27}, 80, 0},
            {{2027, 1, 28}, 80, 80},
            {{2027, 2, 27}, 100, 100},
            {{2027, 2, 28}, 100, 100}});
}

// What was announced in one period never silences another: a clock that ran ahead once, or a new
// start day that makes today's period begin before the remembered one.
TEST(AllowanceNotices, OnlyTheRecordOfTodaysPeriodCounts) {
  RunTicks("back within the period, the total lower", 1, 10 * kGiB,
           {{{2026, 12, 20}, 100, 100}, {{2026, 12, 10}, 85, 0}, {{2026, 12, 20}, 100, 0}});
  RunTicks("back into the period before", 1, 10 * kGiB,
           {{{2027, 1, 5}, 85, 80}, {{2026, 12, 30}, 200, 100}, {{2027, 1, 5}, 100, 100}});
  RunTicks("a record from a restart before", 1, 10 * kGiB, {{{2026, 12, 9}, 120, 0}, {{2027, 1, 2}, 90, 80}},
           AllowanceNotices{20261201, 100});
  RunTicks("a record of a clock that ran a year ahead", 1, 10 * kGiB, {{{2026, 12, 9}, 90, 80}},
           AllowanceNotices{20271201, 100});
  RunTicks("start day 20 changed to 15 on 25 March", 15, 10 * kGiB, {{{2027, 3, 25}, 110, 100}},
           AllowanceNotices{20270320, 0});
  RunTicks("start day 1 changed to 15 on 10 March", 15, 10 * kGiB, {{{2027, 3, 10}, 150, 100}},
           AllowanceNotices{20270301, 0});
}

TEST(PeriodUsage, AddsWhatTheStatisticsCountedSinceTheLogsLastLine) {
  PeriodUsage usage;
  EXPECT_TRUE(usage.Stale({2026, 12, 9}, 0));
  usage.Rebase({2026, 12, 9}, 0, 1000, 40);
  EXPECT_FALSE(usage.Stale({2026, 12, 9}, 0));
  EXPECT_TRUE(usage.Stale({2026, 12, 10}, 0));
  EXPECT_TRUE(usage.Stale({2026, 12, 9}, 1));
  EXPECT_EQ(usage.Total(40), 1000u);
  EXPECT_EQ(usage.Total(140), 1100u);
  EXPECT_EQ(usage.Total(10), 1000u);  // statistics started again: nothing taken away
  usage.Rebase({2026, 12, 9}, 0, ~uint64_t(0) - 5, 0);
  EXPECT_EQ(usage.Total(100), ~uint64_t(0));
  usage.Forget();
  EXPECT_TRUE(usage.Stale({2026, 12, 9}, 0));
}

}  // namespace
