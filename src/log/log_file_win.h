// The traffic log on disk: a file kept open, shared for reading, written at its end.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>

#include "fw/owned_handle_win.h"
#include "log/log_sink.h"

using WriteFileFn = BOOL(WINAPI*)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                                  LPOVERLAPPED overlapped);

// Text the disk refuses (a full disk takes part of a line, then nothing) is held back and written
// first when the next text comes, so every line that was begun is finished and the order is kept.
class CLogFileWin : public ILogFile {
 public:
  // Holds an hour and more of lines; newer text that does not fit is dropped whole.
  static constexpr size_t kHeldBackSize = 4096;

  explicit CLogFileWin(HANDLE openFile, WriteFileFn writeFile = WriteFile);
  ~CLogFileWin() override;
  CLogFileWin(const CLogFileWin&) = delete;
  CLogFileWin& operator=(const CLogFileWin&) = delete;

  bool IsEmpty() override;
  void Append(const char* text, size_t length) override;
  size_t HeldBackLength() const { return heldBackLength; }

 private:
  // Returns how much the disk took.
  size_t WriteAtEnd(const char* data, size_t length);
  void WriteHeldBack();

  COwnedFile file;
  WriteFileFn writeFile;
  char heldBack[kHeldBackSize];
  size_t heldBackLength = 0;
};

// The logs in the current directory and the local clock.
class CLogSinkWin : public ILogSink {
 public:
  // Opens the file, creating it when absent, shared for reading only.
  std::unique_ptr<ILogFile> OpenLogFile(const char* fileName) override;
  // What still fits the path limit together with the current directory.
  size_t MaxLogFileNameLength() override;
  LocalDateTime Now() override;
};
