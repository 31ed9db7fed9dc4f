// The traffic log written by the statistics engine into real files in a fresh current directory.
#include <gtest/gtest.h>

#include <string>

#include "meter/monitor_model.h"
#include "log/log_file_win.h"
#include "stats/traffic_stats.h"
#include "support/memory_profile.h"
#include "support/stub_counter_source.h"
#include "support/stub_meter_view.h"
#include "support/temp_directory_win.h"

namespace {

// The program's own log files on disk, with a clock the test sets.
class DiskLogs : public CLogSinkWin {
 public:
  LocalDateTime Now() override { return clock; }
  LocalDateTime clock = {2003, 5, 14, 3, 10, 20, 30};
};

const std::string kHeaderTail =
    "\r\nYear,Month,Day,DayOfWeek,Hour,Minute,Second,Bytes Sent,Bytes Received\r\n\r\n";

std::string Header(const std::string& description) {
  return "Quintrel V1.33 Log file for interface: " + description + kHeaderTail;
}

std::string ReadWholeFile(const std::string& name) {
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<cannot open " + name + ">";
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

bool FileExists(const std::string& name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// One run of the program: the statistics of every interface, their logs open until the run ends;
// the first interface is watched and past its baseline second.
struct ProgramRun {
  ProgramRun(StubCounters& counters, DiskLogs& logs, StubMeterView& view, uint32_t interfaces = 1)
      : counters(counters), model(counters, logs, view, profile) {
    model.CreateInterfaceStats(interfaces);
    model.WatchSelectedInterface();
    model.OnStatisticsTick();
  }
  void Watch(int row) { model.SelectInterface(row); }
  // One second of the watched interface that counts these bytes.
  void Count(uint32_t sent, uint32_t received) {
    counters.AddTraffic(model.settings.selectedInterface, sent, received);
    model.OnStatisticsTick();
  }
  void WriteLogLine() { model.WriteLogLine(); }

  StubCounters& counters;
  MemoryProfile profile;
  MonitorModel model;
};

class TrafficLogOnDisk : public ::testing::Test {
 protected:
  TempDirectory directory;
  StubCounters counters;
  DiskLogs logs;
  StubMeterView view;
};

TEST_F(TrafficLogOnDisk, HeaderIsWrittenOnceAndEachRunAppendsItsLines) {
  counters.descriptions[0] = "Fast Ethernet Adapter (PCI) 2.1";
  const std::string name = "Fast_Ethernet_Adapter__PCI__2 1_Quintrel.csv";
  {
    ProgramRun first(counters, logs, view);
    first.Count(12345, 67890);
    first.WriteLogLine();
    // The file is readable by others while the run goes on, a whole line at a time.
    EXPECT_EQ(ReadWholeFile(name),
              Header("Fast Ethernet Adapter (PCI) 2.1") + "2003,5,14,3,10,20,30,12345,67890,\r\n");
    first.Count(0, 500);
    logs.clock.minute = 21;
    first.WriteLogLine();
  }
  {
    ProgramRun second(counters, logs, view);
    second.Count(7, 0);
    logs.clock = LocalDateTime{2003, 12, 31, 3, 23, 59, 0};
    second.WriteLogLine();
  }
  EXPECT_EQ(ReadWholeFile(name), Header("Fast Ethernet Adapter (PCI) 2.1") +
                                     "2003,5,14,3,10,20,30,12345,67890,\r\n"
                                     "2003,5,14,3,10,21,30,0,500,\r\n"
                                     "2003,12,31,3,23,59,0,7,0,\r\n");
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(TrafficLogOnDisk, ExistingEmptyFileGetsTheHeader) {
  counters.descriptions[0] = "Loopback";
  CloseHandle(CreateFileA("Loopback_Quintrel.csv", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_EQ(ReadWholeFile("Loopback_Quintrel.csv"), "");
  { ProgramRun run(counters, logs, view); }
  EXPECT_EQ(ReadWholeFile("Loopback_Quintrel.csv"), Header("Loopback"));
}

TEST_F(TrafficLogOnDisk, EveryInterfaceGetsItsOwnFileNamedAfterItsDescription) {
  counters.descriptions[0] = "Realtek RTL8139 Family PCI Fast Ethernet NIC 5.0";
  counters.descriptions[1] = "WAN Miniport (PPP/SLIP)";
  {
    ProgramRun run(counters, logs, view, 2);
    run.Watch(1);
  }
  // The dots become spaces; the header keeps the description as the system reports it.
  EXPECT_EQ(ReadWholeFile("Realtek_RTL8139_Family_PCI_Fast_Ethernet_NIC_5 0_Quintrel.csv"),
            Header("Realtek RTL8139 Family PCI Fast Ethernet NIC 5.0"));
  EXPECT_EQ(ReadWholeFile("WAN_Miniport__PPP_SLIP__Quintrel.csv"), Header("WAN Miniport (PPP/SLIP)"));
}

TEST_F(TrafficLogOnDisk, FileThatCannotBeOpenedIsReportedOnceAndNothingIsWritten) {
  counters.descriptions[0] = "Blocked";
  ASSERT_TRUE(CreateDirectoryA("Blocked_Quintrel.csv", nullptr));
  ProgramRun run(counters, logs, view);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0], "Can not open file, check permissions");
  run.Count(100, 0);
  run.WriteLogLine();
  EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(TrafficLogOnDisk, LongDescriptionIsCutToAFileNameThatFitsTheCurrentDirectory) {
  // A description of 255 characters, longer than any file name may be here.
  std::string description;
  while (description.size() < 255) description += "Adapter ";
  description.resize(255);
  counters.descriptions[0] = description;
  { ProgramRun run(counters, logs, view); }
  EXPECT_TRUE(view.messages.empty());

  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("*_Quintrel.csv", &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE) << "no log file was made";
  FindClose(search);
  char current[MAX_PATH];
  const size_t directoryLength = GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_LE(directoryLength + 1 + strlen(found.cFileName) + 1, size_t(MAX_PATH));
  EXPECT_EQ(ReadWholeFile(found.cFileName), Header(description));
}

}  // namespace
