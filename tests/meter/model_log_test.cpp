// The model's traffic logs: each watched interface's file, its header, and the minute lines with
// the bytes counted since the previous one, through the "cable" box and the program's end.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "log/traffic_log.h"
#include "support/test_meter.h"

namespace {

class StatsLogTest : public ::testing::Test, protected TestMeter {
 protected:
  std::string FileNameOf(int row) {
    char name[512];
    MakeLogFileName(counters.descriptions[row].c_str(), logs.maxFileNameLength, name, sizeof name);
    return name;
  }

  // The interfaces, the first of them watched, its statistics past their baseline second.
  void Create(uint32_t count = 1) {
    counters.MakeFast(0);
    model.CreateInterfaceStats(count);
    model.WatchSelectedInterface();
    model.OnStatisticsTick();
  }
  // One statistics tick that counts these bytes.
  void Count(uint64_t sent, uint64_t received) {
    counters.AddTraffic(0, sent, received);
    model.OnStatisticsTick();
  }
  // The log's lines after its header.
  std::vector<std::string> DataLines(int row = 0) {
    const std::string& text = logs.Log(FileNameOf(row))->text;
    std::vector<std::string> lines;
    size_t start = text.find("\r\n\r\n") + 4;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(text.substr(start, end - start));
    return lines;
  }
};

TEST_F(StatsLogTest, NewFileGetsTheHeaderOnce) {
  counters.descriptions[0] = "Fast Ethernet Adapter (PCI) 2.1";
  logs.maxFileNameLength = 120;
  Create();
  ASSERT_EQ(logs.openedNames.size(), 1u);
  EXPECT_EQ(logs.openedNames[0], "Fast_Ethernet_Adapter__PCI__2 1_Quintrel.csv");
  EXPECT_EQ(logs.openedNames[0], FileNameOf(0));
  const RecordedLog* log = logs.Log(FileNameOf(0));
  ASSERT_NE(log, nullptr);
  EXPECT_EQ(log->appendCount, 1);
  char header[kLogHeaderSize];
  const size_t length = FormatLogHeader(counters.descriptions[0].c_str(), header, sizeof header);
  EXPECT_EQ(log->text, std::string(header, length));
  EXPECT_EQ(log->text,
            "Quintrel V1.33 Log file for interface: Fast Ethernet Adapter (PCI) 2.1\r\n"
            "Year,Month,Day,DayOfWeek,Hour,Minute,Second,Bytes Sent,Bytes Received\r\n\r\n");
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(StatsLogTest, ExistingContentGetsNoSecondHeader) {
  const std::string name = FileNameOf(0);
  logs.SeedLog(name, "earlier run\r\n");
  Create();
  EXPECT_EQ(logs.Log(name)->appendCount, 0);
  EXPECT_EQ(logs.Log(name)->text, "earlier run\r\n");
}

TEST_F(StatsLogTest, ExistingEmptyFileGetsTheHeader) {
  const std::string name = FileNameOf(0);
  logs.SeedLog(name, "");
  Create();
  EXPECT_EQ(logs.Log(name)->appendCount, 1);
}

TEST_F(StatsLogTest, UnopenableFileIsReportedOncePerInterfaceAndNeverWritten) {
  logs.refuseFiles = true;
  Create(2);
  EXPECT_EQ(view.messages, std::vector<std::string>{"Can not open file, check permissions"});
  model.WatchSelectedInterface();
  EXPECT_EQ(view.messages.size(), 1u) << "watched again: no second message";
  model.settings.selectedInterface = 1;
  model.WatchSelectedInterface();
  model.settings.selectedInterface = 0;
  model.WatchSelectedInterface();
  EXPECT_EQ(view.messages, (std::vector<std::string>{"Can not open file, check permissions",
                                                     "Can not open file, check permissions"}));
  Count(10, 0);
  model.WriteLogLine();
  EXPECT_TRUE(logs.files.empty());
}

TEST_F(StatsLogTest, NameThatCannotBeMadeIsReportedLikeAFailedOpen) {
  logs.maxFileNameLength = 5;  // not even the suffix fits
  Create();
  EXPECT_TRUE(logs.openedNames.empty());
  EXPECT_EQ(view.messages, std::vector<std::string>{"Can not open file, check permissions"});
}

TEST_F(StatsLogTest, EachLineCoversTheBytesSinceThePreviousOne) {
  Create();
  Count(1000, 5000);
  model.WriteLogLine();
  model.WriteLogLine();  // a quiet minute
  Count(4294966296u, 4294966296u);
  model.WriteLogLine();
  Count(2000, 5ull << 30);  // more than 4 GiB in a minute
  model.WriteLogLine();
  EXPECT_EQ(DataLines(), (std::vector<std::string>{"2003,5,14,3,10,20,30,1000,5000,", "2003,5,14,3,10,20,30,0,0,",
                                                   "2003,5,14,3,10,20,30,4294966296,4294966296,",
                                                   "2003,5,14,3,10,20,30,2000,5368709120,"}));
}

// The line carries the time its minute ended, whenever the box lets it reach the file.
TEST_F(StatsLogTest, DisconnectedInterfaceShowsCableThenWritesTheLine) {
  counters.operStatus[0] = kOperStatusDisconnected;
  Create();
  Count(12345, 67890);
  logs.clock = {2003, 5, 14, 3, 10, 20, 30};
  view.whileMessageOpen = [&](const char*) {
    logs.clock.minute = 59;
    EXPECT_TRUE(DataLines().empty()) << "the line waits for the box";
  };
  model.WriteLogLine();
  EXPECT_EQ(view.messages, std::vector<std::string>{"cable"});
  EXPECT_EQ(DataLines(), std::vector<std::string>{"2003,5,14,3,10,20,30,12345,67890,"});

  counters.operStatus[0] = kOperStatusOperational;
  Count(0, 0);
  model.WriteLogLine();
  EXPECT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(DataLines().size(), 2u);
}

// The ticks go on inside the "cable" box. Minute 1 received 59000 bytes (its first second is the
// baseline), minute 2 3000; the box stays open through minute 2 and more.
class CableBoxTest : public StatsLogTest {
 protected:
  void Start() {
    model.CreateInterfaceStats(1);
    model.WatchSelectedInterface();
  }
  void Minute(int seconds, uint32_t receivedEachSecond) {
    for (int i = 0; i < seconds; ++i) Count(0, receivedEachSecond);
  }
};

TEST_F(CableBoxTest, LinesOfMinutesUnderAnOpenBoxAreWrittenOnceEachInTimeOrder) {
  counters.operStatus[0] = kOperStatusDisconnected;
  Start();
  // The user is away while the first box is open; any box on top of it is answered at once.
  int boxesOpen = 0, mostOpen = 0;
  view.whileMessageOpen = [&](const char*) {
    mostOpen = std::max(mostOpen, ++boxesOpen);
    if (boxesOpen > 1) {
      --boxesOpen;
      return;
    }
    logs.clock.minute = 22;
    Minute(60, 50);  // minute 2, inside the box: its line is due at the 120th tick
    logs.clock.minute = 23;
    Minute(75, 0);   // the user is away for longer still
    --boxesOpen;
  };
  logs.clock.minute = 21;
  Minute(60, 1000);

  EXPECT_EQ(view.messages, std::vector<std::string>{"cable"}) << "one box, none stacked on it";
  EXPECT_EQ(mostOpen, 1);
  EXPECT_EQ(DataLines(), (std::vector<std::string>{"2003,5,14,3,10,21,30,0,59000,",
                                                   "2003,5,14,3,10,22,30,0,3000,",
                                                   "2003,5,14,3,10,23,30,0,0,"}));
}

TEST_F(CableBoxTest, AfterTheBoxClosesTheNextMinuteAsksAgain) {
  counters.operStatus[0] = kOperStatusDisconnected;
  Start();
  Minute(60, 1000);
  Minute(60, 10);
  EXPECT_EQ(view.messages, (std::vector<std::string>{"cable", "cable"}));
  EXPECT_EQ(DataLines(), (std::vector<std::string>{"2003,5,14,3,10,20,30,0,59000,",
                                                   "2003,5,14,3,10,20,30,0,600,"}));
}

// How the window ends while the box of minute 21 is open: the line waiting in it is in the file
// when the ending returns, since Exit ends the process there and the session's end may too.
struct EndingInTheBox {
  const char* name;
  std::function<void(MonitorModel&)> end;
};

void PrintTo(const EndingInTheBox& ending, std::ostream* out) {
  *out << ending.name;
}

class CableBoxEndingTest : public CableBoxTest, public ::testing::WithParamInterface<EndingInTheBox> {};

TEST_P(CableBoxEndingTest, WaitingLineIsWrittenOnceBeforeTheEndingReturns) {
  counters.operStatus[0] = kOperStatusDisconnected;
  Start();
  std::vector<std::string> writtenAtTheEnd;
  view.whileMessageOpen = [&](const char*) {
    GetParam().end(model);
    writtenAtTheEnd = DataLines();
  };
  logs.clock.minute = 21;
  Minute(60, 1000);

  const std::vector<std::string> expected = {"2003,5,14,3,10,21,30,0,59000,"};
  EXPECT_EQ(writtenAtTheEnd, expected);
  EXPECT_EQ(DataLines(), expected) << "written again when the box was answered";
}

INSTANTIATE_TEST_SUITE_P(
    Model, CableBoxEndingTest,
    ::testing::Values(EndingInTheBox{"Exit", [](MonitorModel& m) { m.FreeInterfaceStats(); }},
                      EndingInTheBox{"EndOfSessionEnterEscapeClose", [](MonitorModel& m) { m.FlushLog(); }},
                      EndingInTheBox{"InterfacesReadAgain",
                                     [](MonitorModel& m) { m.CreateInterfaceStats(1); }}),
    [](const ::testing::TestParamInfo<EndingInTheBox>& info) { return std::string(info.param.name); });

TEST_F(CableBoxTest, MinuteOfALinkBackWhileTheBoxIsOpenFollowsTheWaitingOne) {
  counters.operStatus[0] = kOperStatusDisconnected;
  Start();
  view.whileMessageOpen = [&](const char*) {
    counters.operStatus[0] = 1;
    logs.clock.minute = 22;
    Minute(60, 50);
  };
  logs.clock.minute = 21;
  Minute(60, 1000);
  EXPECT_EQ(view.messages, std::vector<std::string>{"cable"});
  EXPECT_EQ(DataLines(),
            (std::vector<std::string>{"2003,5,14,3,10,21,30,0,59000,", "2003,5,14,3,10,22,30,0,3000,"}));
}

}  // namespace
