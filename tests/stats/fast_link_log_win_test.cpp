// A link faster than 4 GiB a second each way, through the IP helper's 64-bit counters: the
// statistics count every byte although both 32-bit counters wrap between two seconds, and the
// minute's line in the real log file on disk holds exactly what the counters moved.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "log/interface_log.h"
#include "log/log_file_win.h"
#include "log/log_writer.h"
#include "sampling/ip_helper_win.h"
#include "stats/traffic_stats.h"

namespace {

// What the library beside the tests adds to both counters at each reading of a row.
constexpr uint64_t kFastStepBytes = (uint64_t(5) << 30) + 12345;

std::string LibraryBesideTests(const char* name) {
  char self[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string path(self, length);
  return path.substr(0, path.find_last_of('\\') + 1) + name;
}

class NoNotice final : public ILogNotice {
 public:
  void ShowNotice(const char*) override { ++shown; }
  int shown = 0;
};

std::string LastLine(const char* fileName) {
  FILE* file = fopen(fileName, "rb");
  if (file == nullptr) return "";
  char buffer[4096];
  std::string last;
  while (fgets(buffer, sizeof buffer, file) != nullptr)
    if (buffer[0] != '\0') last = buffer;
  fclose(file);
  return last;
}

TEST(FastLink, MoreThanFourGibibytesASecondBothWaysIsCountedAndLoggedExactly) {
  char previous[MAX_PATH] = {}, temp[MAX_PATH] = {}, directory[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof previous, previous);
  GetTempPathA(sizeof temp, temp);
  snprintf(directory, sizeof directory, "%squintrel-fast-%lu", temp, GetCurrentProcessId());
  CreateDirectoryA(directory, nullptr);
  ASSERT_TRUE(SetCurrentDirectoryA(directory));

  CIpHelper counters(LibraryBesideTests("fast_iphlpapi.dll").c_str());
  ASSERT_EQ(counters.DiscoverInterfaces(), nullptr);
  ASSERT_TRUE(counters.HasWideCounters());
  int32_t row = -1;
  for (uint32_t i = 0; i < counters.Count(); ++i)
    if (strcmp(counters.Description(int32_t(i)), "lo") == 0) row = int32_t(i);
  ASSERT_GE(row, 0);

  MonitorSettings settings;
  CTrafficStats stats(settings, counters, row);
  CLogSinkWin sink;
  InterfaceLog log;
  ASSERT_TRUE(log.OpenLog(sink, counters.Description(row)));
  NoNotice notice;
  TrafficLogWriter writer(notice);
  constexpr int kCountedSeconds = 3;
  stats.UpdateStatistics();  // the baseline
  for (int second = 0; second < kCountedSeconds; ++second) {
    Sleep(1000);
    stats.UpdateStatistics();
  }
  const uint64_t expected = kCountedSeconds * kFastStepBytes;
  const TrafficFigures& figures = stats.Figures();
  EXPECT_EQ(figures.totalSent, expected);
  EXPECT_EQ(figures.totalReceived, expected);
  writer.Write(log.File(), log.TakeMinuteRecord(sink.Now(), figures.totalSent, figures.totalReceived, false));
  writer.Flush();
  log = InterfaceLog();

  const std::string line = LastLine("lo_Quintrel.csv");
  const std::string amounts = "," + std::to_string(expected) + "," + std::to_string(expected) + ",";
  EXPECT_NE(line.find(amounts), std::string::npos) << line;
  EXPECT_EQ(notice.shown, 0);

  DeleteFileA("lo_Quintrel.csv");
  SetCurrentDirectoryA(previous);
  RemoveDirectoryA(directory);
}

}  // namespace
