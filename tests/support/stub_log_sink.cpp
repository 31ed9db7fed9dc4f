// The test's traffic logs in memory.
#include "support/stub_log_sink.h"

namespace {

class RecordingLogFile : public ILogFile {
 public:
  RecordingLogFile(std::shared_ptr<RecordedLog> log, bool recordText) : log(std::move(log)), recordText(recordText) {}
  bool IsEmpty() override { return log->startsEmpty && log->appendCount == 0; }
  void Append(const char* text, size_t length) override {
    ++log->appendCount;
    if (recordText) log->text.append(text, length);
  }

 private:
  std::shared_ptr<RecordedLog> log;
  bool recordText;
};

}  // namespace

std::unique_ptr<ILogFile> StubLogSink::OpenLogFile(const char* fileName) {
  openedNames.emplace_back(fileName);
  if (refuseFiles) return nullptr;
  std::shared_ptr<RecordedLog>& log = files[fileName];
  if (!log) log = std::make_shared<RecordedLog>();
  return std::make_unique<RecordingLogFile>(log, recordText);
}

LocalDateTime StubLogSink::Now() {
  ++clockReadings;
  return clock;
}

void StubLogSink::SeedLog(const std::string& fileName, const std::string& contents) {
  auto log = std::make_shared<RecordedLog>();
  log->startsEmpty = contents.empty();
  log->text = contents;
  files[fileName] = log;
}

const RecordedLog* StubLogSink::Log(const std::string& fileName) const {
  auto found = files.find(fileName);
  return found == files.end() ? nullptr : found->second.get();
}
