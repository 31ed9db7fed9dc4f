// The traffic log on disk: a file kept open, shared for reading, written at its end.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>

#include "sampling/monitor_platform.h"

class CLogFileWin : public ILogFile {
 public:
  explicit CLogFileWin(HANDLE openFile);
  ~CLogFileWin() override;
  CLogFileWin(const CLogFileWin&) = delete;
  CLogFileWin& operator=(const CLogFileWin&) = delete;

  bool IsEmpty() override;
  void Append(const char* text, size_t length) override;

 private:
  HANDLE file;
};

// Opens the file in the current directory, creating it when absent; null when it cannot be opened.
std::unique_ptr<ILogFile> OpenLogFileForAppend(const char* name);
// The longest file name that still fits the path limit together with the current directory.
size_t MaxLogFileNameLength();
LocalDateTime Now();
