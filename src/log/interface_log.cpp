// An interface's log file and the bookkeeping of its minute lines.
#include "log/interface_log.h"

#include <algorithm>

#include "log/traffic_log.h"

bool InterfaceLog::OpenLog(ILogSink& sink, const char* description) {
  opened = true;
  if (description == nullptr) description = "";
  char fileName[512];
  MakeLogFileName(description, sink.MaxLogFileNameLength(), fileName, sizeof fileName);
  if (fileName[0] != '\0') logFile = sink.OpenLogFile(fileName);
  if (!logFile) return false;
  if (logFile->IsEmpty()) {
    char header[kLogHeaderSize];
    const size_t length = FormatLogHeader(description, header, sizeof header);
    logFile->Append(header, std::min(length, sizeof header - 1));
  }
  return true;
}

MinuteRecord InterfaceLog::TakeMinuteRecord(const LocalDateTime& now, uint64_t totalSent,
                                            uint64_t totalReceived, bool linkDown) {
  const MinuteRecord record{now, totalSent - logMarkSent, totalReceived - logMarkReceived, linkDown};
  logMarkSent = totalSent;
  logMarkReceived = totalReceived;
  return record;
}
