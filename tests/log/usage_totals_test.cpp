// The usage totals read from traffic logs on disk, as the meter writes them and as time damages them.
#include "log/usage_totals.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

constexpr uint64_t kTwoTo32 = uint64_t(1) << 32;

LocalDateTime At(int year, int month, int day, int hour = 12, int minute = 0, int second = 0) {
  return LocalDateTime{year, month, day, 0, hour, minute, second};
}

std::string Line(const LocalDateTime& t, uint64_t sent, uint64_t received) {
  char text[kLogLineSize];
  const size_t length = FormatLogLine(t, sent, received, text, sizeof text);
  return std::string(text, length);
}

std::string Header(const char* description) {
  char text[kLogHeaderSize];
  const size_t length = FormatLogHeader(description, text, sizeof text);
  return std::string(text, length);
}

// A folder of its own for each test, with the logs written into real files.
class UsageLogFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quintrel-usage-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    for (const std::string& path : written) unlink(path.c_str());
    rmdir(folder.c_str());
  }
  std::string Write(const char* description, const std::string& content) {
    char name[260];
    MakeLogFileName(description, 259, name, sizeof name);
    const std::string path = folder + "/" + name;
    FILE* file = fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr);
    fwrite(content.data(), 1, content.size(), file);
    fclose(file);
    written.push_back(path);
    return path;
  }
  UsageTotals Read(const std::string& path, CalendarDate today) {
    UsageTotals totals;
    totals.Reset(today);
    EXPECT_TRUE(ReadUsageFile(path.c_str(), totals));
    return totals;
  }

  std::string folder;
  std::vector<std::string> written;
};

TEST_F(UsageLogFiles, SumsAcrossMonthAndYearBoundariesByHourDayAndMonth) {
  const std::string log = Header("Fast Ethernet Adapter (PCI) 2.1") +      //
                          Line(At(2025, 12, 31, 23, 59), 1, 2) +            // 13 months back: out
                          Line(At(2026, 1, 31, 10), 4, 8) +                 // 12 months back
                          Line(At(2026, 11, 30, 23, 59), 100, 200) +        //
                          Line(At(2026, 12, 31, 23, 59, 30), 1000, 2000) +  //
                          Line(At(2027, 1, 1, 0, 0, 30), 10000, 20000) +    //
                          Line(At(2027, 1, 1, 0, 1, 30), 10000, 20000) +    //
                          Line(At(2027, 1, 2, 8, 5), 7, 9);
  const UsageTotals t = Read(Write("Fast Ethernet Adapter (PCI) 2.1", log), {2027, 1, 2});
  EXPECT_EQ(t.lines, 6u);
  EXPECT_EQ(t.earlier, 1u);
  EXPECT_EQ(t.skipped, 0u);
  EXPECT_EQ(t.Day(0).sent, 7u);
  EXPECT_EQ(t.Day(1).received, 40000u);
  EXPECT_EQ(t.Hour(1, 0).sent, 20000u);
  EXPECT_EQ(t.Day(2).Both(), 3000u);
  EXPECT_EQ(t.Hour(2, 23).Both(), 3000u);
  EXPECT_EQ(t.Day(33).Both(), 300u);
  EXPECT_EQ(t.Month(0).sent, 20007u);
  EXPECT_EQ(t.Month(1).sent, 1000u);
  EXPECT_EQ(t.Month(2).sent, 100u);
  EXPECT_EQ(t.Month(12).received, 8u);
  EXPECT_EQ(t.Since({2026, 12, 31}).sent, 21007u);
}

TEST_F(UsageLogFiles, AMissingDayIsZeroAndItsNeighboursKeepTheirs) {
  std::string log = Header("eth0");
  for (int day : {5, 6, 8, 9})
    for (int hour = 0; hour < 24; ++hour) log += Line(At(2026, 12, day, hour, 30), day, 1);
  const UsageTotals t = Read(Write("eth0", log), {2026, 12, 9});
  EXPECT_EQ(t.Day(0).sent, 24u * 9);
  EXPECT_EQ(t.Day(1).sent, 24u * 8);
  EXPECT_EQ(t.Day(2).Both(), 0u);
  EXPECT_EQ(t.Day(3).sent, 24u * 6);
  EXPECT_EQ(t.Month(0).received, 96u);
}

// The header goes only into a new file: a restart continues the lines, at any second, and a
// restart within a minute gives two lines for it.
TEST_F(UsageLogFiles, LinesAfterARestartFollowWithoutAHeaderAndAllCount) {
  const std::string log = Header("eth0") + Line(At(2026, 12, 9, 10, 20, 30), 5, 6) +
                          Line(At(2026, 12, 9, 10, 21, 30), 5, 6) + Line(At(2026, 12, 9, 10, 21, 47), 50, 60) +
                          Line(At(2026, 12, 9, 10, 22, 47), 500, 600);
  const UsageTotals t = Read(Write("eth0", log), {2026, 12, 9});
  EXPECT_EQ(t.lines, 4u);
  EXPECT_EQ(t.skipped, 0u);
  EXPECT_EQ(t.Hour(0, 10).sent, 560u);
  EXPECT_EQ(t.Day(0).received, 672u);
}

TEST_F(UsageLogFiles, TwoInterfacesKeepTheirOwnFiles) {
  const std::string lan = Write("LAN 1.0", Header("LAN 1.0") + Line(At(2026, 12, 9), 1, 2));
  const std::string wlan = Write("WLAN (USB)", Header("WLAN (USB)") + Line(At(2026, 12, 9), 30, 40));
  EXPECT_NE(lan, wlan);
  EXPECT_EQ(Read(lan, {2026, 12, 9}).Day(0).Both(), 3u);
  EXPECT_EQ(Read(wlan, {2026, 12, 9}).Day(0).Both(), 70u);
}

// Older versions wrote each minute's counts as signed 32-bit numbers.
TEST_F(UsageLogFiles, NegativeCountsOfOlderVersionsAreTakenModulo2To32) {
  const std::string log = Header("eth0") +
                          "2026,12,9,3,10,20,30,-1,-2147483648,\r\n"
                          "2026,12,9,3,10,21,30,2147483647,-2147483647,\r\n"
                          "2026,12,9,3,10,22,30,-0,0,\r\n";
  const UsageTotals t = Read(Write("eth0", log), {2026, 12, 9});
  EXPECT_EQ(t.lines, 3u);
  EXPECT_EQ(t.Day(0).sent, (kTwoTo32 - 1) + 2147483647u);
  EXPECT_EQ(t.Day(0).received, (kTwoTo32 / 2) + (kTwoTo32 / 2 + 1));
}

TEST_F(UsageLogFiles, DamagedLinesAreSkippedAndCountedAndTheRestStillCounts) {
  const char* const damaged[] = {
      "garbage",
      "2026,12,9,3,10,20,30,5,",            // a field missing
      "2026,12,9,3,10,20,30,5,6,7,",        // a field too many
      "2026,12,9,3,10,20,30,5,,",           // an empty field
      "2026,13,9,3,10,20,30,5,6,",          // no such month
      "2026,2,29,3,10,20,30,5,6,",          // no such day
      "2026,12,9,7,10,20,30,5,6,",          // no such weekday
      "2026,12,9,3,24,20,30,5,6,",          // no such hour
      "2026,12,9,3,10,60,30,5,6,",          // no such minute
      "2026,12,9,3,10,20,30,5 ,6,",         // a space
      "2026,12,9,3,10,20,30,+5,6,",         // a sign the log never writes
      "2026,12,9,3,10,20,30,-2147483649,6,",  // below 32 bits
      "2026,12,9,3,10,20,30,99999999999999999999999,6,",
      "2026;12;9;3;10;20;30;5;6;",
      "\x01\xff\xfe,,,,,,,,,",
      ",,,,,,,,,",
  };
  std::string log = Header("eth0");
  for (const char* line : damaged) log += std::string(line) + "\r\n";
  log += std::string(600, '7') + "\r\n";  // longer than any line
  log += Line(At(2026, 12, 9, 1), 11, 22);
  log += "2026,12,9,3,1,1,1,3,4\n";  // edited by hand: no trailing comma, a bare line feed
  log += "2026,12,9,3,1,2,1,1000,20";  // cut while it was written
  const UsageTotals t = Read(Write("eth0", log), {2026, 12, 9});
  EXPECT_EQ(t.skipped, sizeof damaged / sizeof damaged[0] + 2);
  EXPECT_EQ(t.lines, 2u);
  EXPECT_EQ(t.Day(0).sent, 14u);
  EXPECT_EQ(t.Day(0).received, 26u);
}

TEST_F(UsageLogFiles, ALastLineWithItsTrailingCommaButNoLineEndCounts) {
  const std::string log = Header("eth0") + "2026,12,9,3,1,2,1,1000,20,";
  const UsageTotals t = Read(Write("eth0", log), {2026, 12, 9});
  EXPECT_EQ(t.lines, 1u);
  EXPECT_EQ(t.Day(0).received, 20u);
}

TEST_F(UsageLogFiles, MinutesAfterTodayAreLeftOutAsTheClockWasSetBack) {
  const std::string log = Header("eth0") + Line(At(2026, 12, 9), 1, 1) + Line(At(2026, 12, 10), 50, 50) +
                          Line(At(2027, 1, 1), 70, 70) + Line(At(2026, 12, 9, 13), 2, 2);
  const UsageTotals t = Read(Write("eth0", log), {2026, 12, 9});
  EXPECT_EQ(t.later, 2u);
  EXPECT_EQ(t.Day(0).sent, 3u);
  EXPECT_EQ(t.Month(0).sent, 3u);
}

TEST_F(UsageLogFiles, AFileThatIsNotThereReadsAsFalse) {
  UsageTotals totals;
  totals.Reset({2026, 12, 9});
  EXPECT_FALSE(ReadUsageFile((folder + "/none_Quintrel.csv").c_str(), totals));
}

TEST(UsageTotalsFeed, PiecesOfAnySizeGiveTheSameSums) {
  std::string log = Header("eth0");
  for (int minute = 0; minute < 60; ++minute) log += Line(At(2026, 12, 9, 7, minute), minute, 2 * minute);
  log += "damaged\r\n";
  for (size_t piece : {size_t(1), size_t(2), size_t(7), size_t(64), log.size()}) {
    SCOPED_TRACE(piece);
    UsageTotals t;
    t.Reset({2026, 12, 9});
    for (size_t at = 0; at < log.size(); at += piece) t.Feed(log.data() + at, std::min(piece, log.size() - at));
    t.Finish();
    EXPECT_EQ(t.lines, 60u);
    EXPECT_EQ(t.skipped, 1u);
    EXPECT_EQ(t.Hour(0, 7).sent, 1770u);
    EXPECT_EQ(t.Hour(0, 7).received, 3540u);
  }
}

TEST(UsageAmount, SumsStopAtTheLargestValue) {
  UsageAmount a;
  a.Add(~uint64_t(0) - 1, 5);
  a.Add(7, 5);
  EXPECT_EQ(a.sent, ~uint64_t(0));
  EXPECT_EQ(a.received, 10u);
  EXPECT_EQ(a.Both(), ~uint64_t(0));
}

TEST(CalendarDays, DayNumbersRoundTripAndKnowLeapYears) {
  struct Row {
    CalendarDate date;
    int64_t number;
  };
  const Row rows[] = {
      {{1970, 1, 1}, 0},        {{2000, 3, 1}, 11017}, {{2026, 12, 31}, 20818},
      {{2027, 1, 1}, 20819},    {{1969, 12, 31}, -1},  {{2024, 2, 29}, 19782},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(DayNumber(row.date), row.number);
    const CalendarDate back = DateOfDayNumber(row.number);
    EXPECT_EQ(back.year * 10000 + back.month * 100 + back.day,
              row.date.year * 10000 + row.date.month * 100 + row.date.day);
  }
  EXPECT_EQ(DayNumber({2026, 13, 1}), DayNumber({2027, 1, 1}));
  EXPECT_EQ(DayNumber({2027, 0, 1}), DayNumber({2026, 12, 1}));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2100, 2), 28);
  EXPECT_EQ(DaysInMonth(2026, 12), 31);
}

}  // namespace
