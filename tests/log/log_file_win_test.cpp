// The traffic log file on a real disk: creation, appending, sharing and the name length limit.
#include "log/log_file_win.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_directory_win.h"

namespace {

std::string ReadWholeFile(const char* name) {
  HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<cannot open>";
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

void WriteWholeFile(const char* name, const std::string& text) {
  HANDLE file = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
  CloseHandle(file);
}

void Append(ILogFile& log, const std::string& text) {
  log.Append(text.data(), text.size());
}

class LogFileOnDisk : public ::testing::Test {
 protected:
  TempDirectory directory;
};

TEST_F(LogFileOnDisk, NewFileStartsEmptyAndTakesEachAppendAtItsEnd) {
  std::unique_ptr<ILogFile> log = CLogSinkWin().OpenLogFile("new.csv");
  ASSERT_NE(log, nullptr);
  EXPECT_TRUE(log->IsEmpty());
  Append(*log, "header\r\n");
  EXPECT_FALSE(log->IsEmpty());
  Append(*log, "1,2,\r\n");
  // Each write reaches the file at once: a reader sees it while the log stays open.
  EXPECT_EQ(ReadWholeFile("new.csv"), "header\r\n1,2,\r\n");
  log.reset();
  EXPECT_EQ(ReadWholeFile("new.csv"), "header\r\n1,2,\r\n");
}

TEST_F(LogFileOnDisk, ExistingContentIsKeptAndNewLinesFollowIt) {
  WriteWholeFile("old.csv", "earlier run\r\n");
  std::unique_ptr<ILogFile> log = CLogSinkWin().OpenLogFile("old.csv");
  ASSERT_NE(log, nullptr);
  EXPECT_FALSE(log->IsEmpty());
  Append(*log, "a\r\n");
  Append(*log, "b\r\n");
  log.reset();
  EXPECT_EQ(ReadWholeFile("old.csv"), "earlier run\r\na\r\nb\r\n");
}

TEST_F(LogFileOnDisk, ExistingEmptyFileCountsAsEmpty) {
  WriteWholeFile("empty.csv", "");
  std::unique_ptr<ILogFile> log = CLogSinkWin().OpenLogFile("empty.csv");
  ASSERT_NE(log, nullptr);
  EXPECT_TRUE(log->IsEmpty());
}

TEST_F(LogFileOnDisk, OtherProgramsMayReadButNotWriteWhileTheLogIsOpen) {
  std::unique_ptr<ILogFile> log = CLogSinkWin().OpenLogFile("shared.csv");
  ASSERT_NE(log, nullptr);

  HANDLE reader = CreateFileA("shared.csv", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);

  HANDLE writer = CreateFileA("shared.csv", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);

  // Nor can a second log: two interfaces with the same description cannot share one file.
  EXPECT_EQ(CLogSinkWin().OpenLogFile("shared.csv"), nullptr);
}

TEST_F(LogFileOnDisk, ClosingTheLogLetsOthersWriteAgain) {
  CLogSinkWin().OpenLogFile("closed.csv").reset();
  HANDLE writer =
      CreateFileA("closed.csv", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
}

TEST_F(LogFileOnDisk, NamesThatCannotBeOpenedGiveNoLog) {
  EXPECT_EQ(CLogSinkWin().OpenLogFile("no such folder\\x.csv"), nullptr);
  ASSERT_TRUE(CreateDirectoryA("a folder", nullptr));
  EXPECT_EQ(CLogSinkWin().OpenLogFile("a folder"), nullptr);
  EXPECT_EQ(CLogSinkWin().OpenLogFile(""), nullptr);
}

TEST_F(LogFileOnDisk, LongestAllowedNameFitsThePathLimitAndCanBeCreated) {
  char current[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, current);
  ASSERT_GT(length, 0u);
  const size_t longest = CLogSinkWin().MaxLogFileNameLength();
  EXPECT_EQ(longest, size_t(MAX_PATH - 1 - length - 1));

  // The limit counts the directory, a separator and the terminating zero.
  EXPECT_EQ(length + 1 + longest + 1, size_t(MAX_PATH));
  const std::string name(longest < 200 ? longest : 200, 'n');
  EXPECT_NE(CLogSinkWin().OpenLogFile(name.c_str()), nullptr);
}

// A disk that takes this many more bytes, then part of a write, then nothing, as a full one does.
size_t diskRoom = 0;

BOOL WINAPI WriteToLimitedDisk(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED) {
  const DWORD taken = size < diskRoom ? size : DWORD(diskRoom);
  *written = 0;
  if (taken > 0 && !WriteFile(file, data, taken, written, nullptr)) return FALSE;
  diskRoom -= *written;
  if (taken == 0 && size > 0) {
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
  }
  return TRUE;
}

std::unique_ptr<CLogFileWin> OpenOnLimitedDisk(const char* name, size_t room) {
  diskRoom = room;
  HANDLE file = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<CLogFileWin>(file, WriteToLimitedDisk);
}

TEST_F(LogFileOnDisk, LinesTheFullDiskRefusedAreFinishedInOrderWhenSpaceReturns) {
  WriteWholeFile("full.csv", "earlier run\r\n");
  std::unique_ptr<CLogFileWin> log = OpenOnLimitedDisk("full.csv", 12);
  ASSERT_NE(log, nullptr);
  Append(*log, "1,100,\r\n");  // 8 bytes: taken whole
  Append(*log, "2,200,\r\n");  // 4 taken, 4 held back
  Append(*log, "3,300,\r\n");  // nothing taken
  EXPECT_EQ(ReadWholeFile("full.csv"), "earlier run\r\n1,100,\r\n2,20");
  EXPECT_EQ(log->HeldBackLength(), 12u);
  EXPECT_FALSE(log->IsEmpty());

  diskRoom = 1000;
  Append(*log, "4,400,\r\n");
  EXPECT_EQ(ReadWholeFile("full.csv"), "earlier run\r\n1,100,\r\n2,200,\r\n3,300,\r\n4,400,\r\n");
  EXPECT_EQ(log->HeldBackLength(), 0u);
}

TEST_F(LogFileOnDisk, ALongOutageKeepsTheOldestLinesWholeAndDropsNewerOnesWhole) {
  std::unique_ptr<CLogFileWin> log = OpenOnLimitedDisk("long.csv", 0);
  ASSERT_NE(log, nullptr);
  EXPECT_TRUE(log->IsEmpty());
  Append(*log, "header\r\n");
  EXPECT_FALSE(log->IsEmpty()) << "a refused header is not written twice";
  const std::string line = "2003,5,14,3,10,20,30,12345,67890,\r\n";
  std::string kept = "header\r\n";
  for (int minute = 0; minute < 200; ++minute) {
    if (kept.size() + line.size() <= CLogFileWin::kHeldBackSize) kept += line;
    Append(*log, line);
  }
  EXPECT_EQ(ReadWholeFile("long.csv"), "");
  diskRoom = 1 << 20;
  Append(*log, line);
  EXPECT_EQ(ReadWholeFile("long.csv"), kept + line);
}

TEST_F(LogFileOnDisk, HeldBackTextIsWrittenWhenTheLogCloses) {
  std::unique_ptr<CLogFileWin> log = OpenOnLimitedDisk("exit.csv", 3);
  ASSERT_NE(log, nullptr);
  Append(*log, "9,900,\r\n");
  diskRoom = 100;
  log.reset();
  EXPECT_EQ(ReadWholeFile("exit.csv"), "9,900,\r\n");
}

TEST(LocalClock, NowIsTheLocalDateAndTimeFieldByField) {
  SYSTEMTIME before = {}, after = {};
  LocalDateTime now = {};
  // Retry across a minute boundary so all fields come from the same minute.
  for (int attempt = 0; attempt < 3; ++attempt) {
    GetLocalTime(&before);
    now = CLogSinkWin().Now();
    GetLocalTime(&after);
    if (before.wMinute == after.wMinute) break;
  }
  EXPECT_EQ(now.year, before.wYear);
  EXPECT_EQ(now.month, before.wMonth);
  EXPECT_EQ(now.day, before.wDay);
  EXPECT_EQ(now.dayOfWeek, before.wDayOfWeek);
  EXPECT_EQ(now.hour, before.wHour);
  EXPECT_EQ(now.minute, before.wMinute);
  EXPECT_GE(now.second, before.wSecond);
  EXPECT_LE(now.second, after.wSecond);
}

}  // namespace
