// Where the traffic logs go: files opened for appending, and the clock of their lines.
#pragma once

#include <cstddef>
#include <memory>

struct LocalDateTime {
  int year, month, day, dayOfWeek, hour, minute, second;
};

// An open traffic log positioned at its end.
class ILogFile {
 public:
  virtual ~ILogFile() = default;
  virtual bool IsEmpty() = 0;
  virtual void Append(const char* text, size_t length) = 0;
};

class ILogSink {
 public:
  virtual ~ILogSink() = default;
  // Opens or creates the file for appending; null when it cannot be opened.
  virtual std::unique_ptr<ILogFile> OpenLogFile(const char* fileName) = 0;
  // The longest file name that can still be created in the current directory.
  virtual size_t MaxLogFileNameLength() = 0;
  virtual LocalDateTime Now() = 0;
};
