// Traffic logs kept in memory, and a clock the test sets.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "log/log_sink.h"

// Everything appended to one log file; shared by the sink and the file it handed out.
struct RecordedLog {
  bool startsEmpty = true;
  int appendCount = 0;
  std::string text;  // only while the sink records text
};

class StubLogSink : public ILogSink {
 public:
  std::unique_ptr<ILogFile> OpenLogFile(const char* fileName) override;
  size_t MaxLogFileNameLength() override { return maxFileNameLength; }
  LocalDateTime Now() override;

  // A file that already holds an earlier run's lines.
  void SeedLog(const std::string& fileName, const std::string& contents);
  const RecordedLog* Log(const std::string& fileName) const;

  std::map<std::string, std::shared_ptr<RecordedLog>> files;
  std::vector<std::string> openedNames;
  bool refuseFiles = false;
  bool recordText = true;
  size_t maxFileNameLength = 259;
  LocalDateTime clock = {2003, 5, 14, 3, 10, 20, 30};
  int clockReadings = 0;
};
