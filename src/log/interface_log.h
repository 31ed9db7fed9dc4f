// One interface's traffic log: its file, opened the first time the interface is watched in a run,
// and the totals its last line ended at.
#pragma once

#include <cstdint>
#include <memory>

#include "log/log_sink.h"
#include "log/minute_record.h"

class InterfaceLog {
 public:
  // Opens or creates the file named after the description, with a header when the file is new or
  // empty. False when the file cannot be opened; the log then stays closed for the run.
  bool OpenLog(ILogSink& sink, const char* description);
  // Whether the log was opened, or tried, this run.
  bool Opened() const { return opened; }
  // Null when the file could not be opened.
  ILogFile* File() const { return logFile.get(); }

  // The minute that ends now: the bytes counted since the previous record, from the statistics'
  // totals now. The next record counts from here.
  MinuteRecord TakeMinuteRecord(const LocalDateTime& now, uint64_t totalSent, uint64_t totalReceived,
                                bool linkDown);
  // Sent plus received as the totals stood when the last record was taken.
  uint64_t MarkedBytes() const { return logMarkSent + logMarkReceived; }

 private:
  std::unique_ptr<ILogFile> logFile;
  bool opened = false;
  uint64_t logMarkSent = 0;
  uint64_t logMarkReceived = 0;
};
