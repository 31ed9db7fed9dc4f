// Opening an interface's traffic log and the per-minute bookkeeping of its lines.
#include <gtest/gtest.h>

#include <string>

#include "app/monitor_model.h"
#include "log/traffic_log.h"
#include "stats/traffic_stats.h"
#include "support/fake_platform.h"
#include "support/memory_profile.h"

namespace {

class StatsLogTest : public ::testing::Test {
 protected:
  std::string FileNameOf(int row) {
    char name[512];
    MakeLogFileName(platform.descriptions[row].c_str(), platform.maxLogFileNameLength, name, sizeof name);
    return name;
  }

  CTrafficStats& Create(uint32_t count = 1) {
    model.CreateInterfaceStats(count);
    return *model.statsTable[0];
  }

  FakePlatform platform;
  MemoryProfile profile;
  MonitorModel model{platform, profile};
};

TEST_F(StatsLogTest, NewFileGetsTheHeaderOnce) {
  platform.descriptions[0] = "Fast Ethernet Adapter (PCI) 2.1";
  platform.maxLogFileNameLength = 120;
  Create();
  ASSERT_EQ(platform.openedNames.size(), 1u);
  EXPECT_EQ(platform.openedNames[0], "Fast_Ethernet_Adapter__PCI__2 1_Quintrel.csv");
  EXPECT_EQ(platform.openedNames[0], FileNameOf(0));
  const RecordedLog* log = platform.Log(FileNameOf(0));
  ASSERT_NE(log, nullptr);
  EXPECT_EQ(log->appendCount, 1);
  char header[kLogHeaderSize];
  const size_t length = FormatLogHeader(platform.descriptions[0].c_str(), header, sizeof header);
  EXPECT_EQ(log->text, std::string(header, length));
  EXPECT_EQ(log->text,
            "Quintrel V1.33 Log file for interface: Fast Ethernet Adapter (PCI) 2.1\r\n"
            "Year,Month,Day,DayOfWeek,Hour,Minute,Second,Bytes Sent,Bytes Received\r\n\r\n");
  EXPECT_TRUE(platform.messages.empty());
}

TEST_F(StatsLogTest, ExistingContentGetsNoSecondHeader) {
  const std::string name = FileNameOf(0);
  platform.SeedLog(name, "earlier run\r\n");
  Create();
  EXPECT_EQ(platform.Log(name)->appendCount, 0);
  EXPECT_EQ(platform.Log(name)->text, "earlier run\r\n");
}

TEST_F(StatsLogTest, ExistingEmptyFileGetsTheHeader) {
  const std::string name = FileNameOf(0);
  platform.SeedLog(name, "");
  Create();
  EXPECT_EQ(platform.Log(name)->appendCount, 1);
}

TEST_F(StatsLogTest, UnopenableFileIsReportedAndNeverWritten) {
  platform.refuseLogFiles = true;
  CTrafficStats& stats = Create(2);
  EXPECT_EQ(platform.messages, (std::vector<std::string>{"Can not open file, check permissions",
                                                         "Can not open file, check permissions"}));
  EXPECT_EQ(stats.logFile, nullptr);
  stats.totalSent = 10;
  stats.WriteLogLine();
  EXPECT_EQ(stats.logSent, 10u);
  EXPECT_EQ(stats.logMarkSent, 10u);
}

TEST_F(StatsLogTest, NameThatCannotBeMadeIsReportedLikeAFailedOpen) {
  platform.maxLogFileNameLength = 5;  // not even the suffix fits
  CTrafficStats& stats = Create();
  EXPECT_TRUE(platform.openedNames.empty());
  EXPECT_EQ(platform.messages, std::vector<std::string>{"Can not open file, check permissions"});
  EXPECT_EQ(stats.logFile, nullptr);
}

TEST_F(StatsLogTest, EachLineCoversTheBytesSinceThePreviousOne) {
  CTrafficStats& stats = Create();
  const RecordedLog* log = platform.Log(FileNameOf(0));
  stats.totalSent = 1000;
  stats.totalReceived = 5000;
  stats.WriteLogLine();
  EXPECT_EQ(stats.logSent, 1000u);
  EXPECT_EQ(stats.logReceived, 5000u);
  EXPECT_EQ(stats.logMarkSent, 1000u);
  EXPECT_EQ(stats.logMarkReceived, 5000u);
  EXPECT_EQ(log->appendCount, 2);

  stats.WriteLogLine();  // a quiet minute
  EXPECT_EQ(stats.logSent, 0u);
  EXPECT_EQ(stats.logReceived, 0u);
  EXPECT_EQ(log->appendCount, 3);
}

TEST_F(StatsLogTest, IntervalsAcrossFourGibibytesStayExact) {
  CTrafficStats& stats = Create();
  stats.totalSent = 4294966296u;
  stats.totalReceived = 4294966296u;
  stats.WriteLogLine();
  stats.totalSent += 2000;            // crosses 2^32
  stats.totalReceived += 5ull << 30;  // a minute of more than 4 GiB
  stats.WriteLogLine();
  EXPECT_EQ(stats.logSent, 2000u);
  EXPECT_EQ(stats.logReceived, 5ull << 30);
  EXPECT_EQ(stats.logMarkReceived, 4294966296u + (5ull << 30));
}

TEST_F(StatsLogTest, DisconnectedInterfaceShowsCableThenWritesTheLine) {
  platform.operStatus[0] = 2;
  CTrafficStats& stats = Create();
  platform.ClearCalls();
  stats.WriteLogLine();
  ASSERT_EQ(platform.callCount, 2);
  EXPECT_EQ(platform.calls[0], PlatformCall::Now);
  EXPECT_EQ(platform.calls[1], PlatformCall::ShowMessage);
  EXPECT_EQ(platform.messages, std::vector<std::string>{"cable"});
  EXPECT_EQ(platform.Log(FileNameOf(0))->appendCount, 2);

  platform.operStatus[0] = 1;
  stats.WriteLogLine();
  EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(StatsLogTest, LineCarriesTheClockAndTheInterval) {
  platform.clock = {2003, 5, 14, 3, 10, 20, 30};
  CTrafficStats& stats = Create();
  const RecordedLog* log = platform.Log(FileNameOf(0));
  const size_t headerLength = log->text.size();
  stats.totalSent = 12345;
  stats.totalReceived = 67890;
  stats.WriteLogLine();
  EXPECT_EQ(log->text.substr(headerLength), "2003,5,14,3,10,20,30,12345,67890,\r\n");
}

}  // namespace
