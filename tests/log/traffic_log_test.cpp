// The traffic log's file names, header and data lines.
#include "log/traffic_log.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string LogName(const char* description, size_t maxLength = 259) {
  char name[300];
  MakeLogFileName(description, maxLength, name, sizeof name);
  return name;
}

TEST(LogFileName, ReplacesSeparatorsAndDotsInOnePass) {
  EXPECT_EQ(LogName("Fast Ethernet Adapter (PCI) 2.1"), "Fast_Ethernet_Adapter__PCI__2 1_Quintrel.csv");
  EXPECT_EQ(LogName("NDIS 5.0"), "NDIS_5 0_Quintrel.csv");
  EXPECT_EQ(LogName("PRO/100 VE"), "PRO_100_VE_Quintrel.csv");
  EXPECT_EQ(LogName("..."), "   _Quintrel.csv");
  EXPECT_EQ(LogName(""), "_Quintrel.csv");
  EXPECT_EQ(LogName(nullptr), "_Quintrel.csv");
}

TEST(LogFileName, CharactersThatWouldMakeAPathOrStreamBecomeUnderscores) {
  EXPECT_EQ(LogName("..\\..\\Windows\\x"), "  _  _Windows_x_Quintrel.csv");
  EXPECT_EQ(LogName("C:evil*?\"<>|\t\x01"), "C_evil_________Quintrel.csv");
  EXPECT_EQ(LogName("Caf\xe9 LAN"), "Caf\xe9_LAN_Quintrel.csv");
}

TEST(LogFileName, LongDescriptionIsShortenedAndKeepsTheSuffix) {
  const std::string description(255, 'a');
  const std::string name = LogName(description.c_str(), 259);
  EXPECT_EQ(name.size(), 259u);
  EXPECT_EQ(name, std::string(246, 'a') + "_Quintrel.csv");
  // Exactly fitting: nothing cut.
  EXPECT_EQ(LogName("abc", 16), "abc_Quintrel.csv");
  EXPECT_EQ(LogName("abcd", 16), "abc_Quintrel.csv");
}

TEST(LogFileName, NeverWritesPastTheBuffer) {
  char name[20];
  memset(name, '#', sizeof name);
  MakeLogFileName("Fast Ethernet Adapter", 259, name, sizeof name);
  EXPECT_STREQ(name, "Fast_E_Quintrel.csv");
  // Not even the suffix fits: no name, and opening it fails visibly.
  char tiny[8] = "stale";
  MakeLogFileName("x", 259, tiny, sizeof tiny);
  EXPECT_STREQ(tiny, "");
  strcpy(name, "stale");
  MakeLogFileName("x", 12, name, sizeof name);
  EXPECT_STREQ(name, "");
  MakeLogFileName("x", 259, nullptr, 0);
}

TEST(LogHeader, TitleWithTheDescriptionAsReportedThenColumnsAndAnEmptyLine) {
  char header[kLogHeaderSize];
  const size_t length = FormatLogHeader("Fast Ethernet Adapter (PCI) 2.1", header, sizeof header);
  const std::string expected =
      "Quintrel V1.33 Log file for interface: Fast Ethernet Adapter (PCI) 2.1\r\n"
      "Year,Month,Day,DayOfWeek,Hour,Minute,Second,Bytes Sent,Bytes Received\r\n\r\n";
  EXPECT_EQ(std::string(header), expected);
  EXPECT_EQ(length, expected.size());
}

TEST(LogHeader, LongestDescriptionFitsAndATooSmallBufferGetsNothing) {
  const std::string description(255, 'd');
  char header[kLogHeaderSize];
  EXPECT_GT(FormatLogHeader(description.c_str(), header, sizeof header), 255u);
  char small[40];
  EXPECT_EQ(FormatLogHeader("x", small, sizeof small), 0u);
  EXPECT_STREQ(small, "");
}

LocalDateTime Time(int year, int month, int day, int dayOfWeek, int hour, int minute, int second) {
  return LocalDateTime{year, month, day, dayOfWeek, hour, minute, second};
}

TEST(LogLine, CommaSeparatedFieldsWithATrailingCommaAndCrLf) {
  char line[kLogLineSize];
  const char* expected = "2003,5,14,3,10,20,30,12345,67890,\r\n";
  EXPECT_EQ(FormatLogLine(Time(2003, 5, 14, 3, 10, 20, 30), 12345, 67890, line, sizeof line),
            strlen(expected));
  EXPECT_STREQ(line, expected);
  FormatLogLine(Time(2024, 12, 31, 0, 0, 0, 0), 0, 0, line, sizeof line);
  EXPECT_STREQ(line, "2024,12,31,0,0,0,0,0,0,\r\n");
}

TEST(LogLine, AmountsAbove2GiBAnd4GiBPrintAsPositiveNumbers) {
  char line[kLogLineSize];
  FormatLogLine(Time(2003, 5, 14, 3, 10, 20, 30), 3000000000u, 5ull << 30, line, sizeof line);
  EXPECT_STREQ(line, "2003,5,14,3,10,20,30,3000000000,5368709120,\r\n");
  const size_t length =
      FormatLogLine(Time(-2147483647 - 1, -1, -1, -1, -1, -1, -1), UINT64_MAX, UINT64_MAX, line, sizeof line);
  EXPECT_EQ(length, strlen(line));
  EXPECT_STREQ(line, "-2147483648,-1,-1,-1,-1,-1,-1,18446744073709551615,18446744073709551615,\r\n");
}

TEST(LogLine, ALineThatDoesNotFitIsNotWrittenInPart) {
  char line[20] = "stale";
  EXPECT_EQ(FormatLogLine(Time(2003, 5, 14, 3, 10, 20, 30), 12345, 67890, line, sizeof line), 0u);
  EXPECT_STREQ(line, "");
  EXPECT_EQ(FormatLogLine(Time(2003, 5, 14, 3, 10, 20, 30), 1, 2, nullptr, 0), 0u);
}

}  // namespace

TEST(LogLineRead, ReadsBackWhatTheLogWrites) {
  struct Row {
    LocalDateTime time;
    uint64_t sent;
    uint64_t received;
  };
  const Row rows[] = {
      {Time(2003, 5, 14, 3, 10, 20, 30), 12345, 67890},
      {Time(2024, 2, 29, 4, 23, 59, 59), 0, 0},
      {Time(2026, 12, 31, 4, 0, 0, 0), 3000000000u, 5ull << 30},
  };
  for (const Row& row : rows) {
    char line[kLogLineSize];
    size_t length = FormatLogLine(row.time, row.sent, row.received, line, sizeof line);
    ASSERT_GT(length, 2u);
    length -= 2;  // without CR LF
    LoggedMinute read{};
    ASSERT_TRUE(ParseLogLine(line, length, read)) << line;
    EXPECT_EQ(read.time.year, row.time.year);
    EXPECT_EQ(read.time.month, row.time.month);
    EXPECT_EQ(read.time.day, row.time.day);
    EXPECT_EQ(read.time.dayOfWeek, row.time.dayOfWeek);
    EXPECT_EQ(read.time.hour, row.time.hour);
    EXPECT_EQ(read.time.minute, row.time.minute);
    EXPECT_EQ(read.time.second, row.time.second);
    EXPECT_EQ(read.sent, row.sent);
    EXPECT_EQ(read.received, row.received);
    // A line cut short reads, if at all, as the same minute with fewer digits received.
    for (size_t cut = 0; cut + 1 < length; ++cut) {
      LoggedMinute part{};
      if (ParseLogLine(line, cut, part)) {
        EXPECT_EQ(part.sent, row.sent);
        EXPECT_LE(part.received, row.received);
      }
    }
  }
  LoggedMinute none{};
  EXPECT_FALSE(ParseLogLine(nullptr, 5, none));
  EXPECT_FALSE(ParseLogLine("", 0, none));
}
