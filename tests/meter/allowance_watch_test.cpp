// The allowance watch on a real log file: the period read from the log, the live counts added.
#include "meter/allowance_watch.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

constexpr uint64_t kMiB = uint64_t(1) << 20;

std::string Line(int year, int month, int day, uint64_t sent, uint64_t received) {
  char text[kLogLineSize];
  return std::string(text, FormatLogLine({year, month, day, 0, 12, 0, 0}, sent, received, text, sizeof text));
}

class AllowanceWatchOnALog : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quintrel-allowance-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    path = folder + "/eth0_Quintrel.csv";
    settings.allowanceAmount = 100;
    settings.allowanceInGigabytes = 0;
    settings.allowanceStartDay = 28;
  }
  void TearDown() override {
    unlink(path.c_str());
    rmdir(folder.c_str());
  }
  void WriteLog(const std::string& lines) {
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    char header[kLogHeaderSize];
    fwrite(header, 1, FormatLogHeader("eth0", header, sizeof header), file);
    fwrite(lines.data(), 1, lines.size(), file);
    fclose(file);
  }
  // The percentage announced; the shell takes every balloon.
  int32_t Tick(int month, int day, uint64_t now, uint64_t atLastLine) {
    const AllowanceNotice notice = watch.OnStatisticsTick(settings, {2026, month, day, 0, 12, 30, 0}, path.c_str(),
                                                          CountedBytes{now, atLastLine});
    if (notice.percent != 0) {
      settings.allowanceNoticePeriod = notice.remembered.period;
      settings.allowanceNoticePercent = notice.remembered.percent;
    }
    return notice.percent;
  }

  std::string folder;
  std::string path;
  MonitorSettings settings;
  AllowanceWatch watch;
};

TEST_F(AllowanceWatchOnALog, ThePeriodsLogLinesAndTheLiveCountsPassTheAllowanceOnce) {
  // 28 November to 27 December; the 27th of November is the period before.
  WriteLog(Line(2026, 11, 27, 90 * kMiB, 0) + Line(2026, 11, 28, 30 * kMiB, 20 * kMiB) +
           Line(2026, 12, 9, 10 * kMiB, 10 * kMiB));
  EXPECT_EQ(Tick(12, 9, 5 * kMiB, 5 * kMiB), 0);
  EXPECT_EQ(watch.PeriodTotal(), 70 * kMiB);
  EXPECT_EQ(Tick(12, 9, 15 * kMiB, 5 * kMiB), 80);
  EXPECT_EQ(settings.allowanceNoticePeriod, 20261128);
  EXPECT_EQ(settings.allowanceNoticePercent, 80);
  EXPECT_EQ(Tick(12, 9, 20 * kMiB, 5 * kMiB), 0);
  EXPECT_EQ(Tick(12, 9, 36 * kMiB, 5 * kMiB), 100);
  EXPECT_EQ(Tick(12, 9, 90 * kMiB, 5 * kMiB), 0);
  // The next period begins on the 28th; the log is read again that day.
  EXPECT_EQ(Tick(12, 28, 90 * kMiB, 90 * kMiB), 0);
  EXPECT_EQ(watch.PeriodTotal(), 0u);
}

TEST_F(AllowanceWatchOnALog, NoAllowanceOrNoLogAnnouncesNothing) {
  WriteLog(Line(2026, 12, 9, 500 * kMiB, 0));
  settings.allowanceAmount = 0;
  EXPECT_EQ(Tick(12, 9, 0, 0), 0);
  settings.allowanceAmount = 100;
  EXPECT_EQ(watch.OnStatisticsTick(settings, {2026, 12, 9, 0, 12, 0, 0}, "", CountedBytes{0, 0}).percent, 0);
  unlink(path.c_str());
  EXPECT_EQ(Tick(12, 9, 50 * kMiB, 0), 0);  // the log gone: only what was counted since
  EXPECT_EQ(Tick(12, 9, 85 * kMiB, 0), 80);
}

}  // namespace
