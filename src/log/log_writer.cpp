// The traffic log's writer: the line waiting in the "cable" box, and the order of the lines.
#include "log/log_writer.h"

#include <algorithm>

namespace {

constexpr const char* kCableNotice = "cable";

LogLine LineOf(const MinuteRecord& record) {
  LogLine line;
  line.length =
      std::min(FormatLogLine(record.time, record.sent, record.received, line.text, sizeof line.text),
               sizeof line.text - 1);
  return line;
}

void Append(ILogFile* file, const LogLine& line) {
  if (file != nullptr) file->Append(line.text, line.length);
}

}  // namespace

void TrafficLogWriter::Write(ILogFile* file, const MinuteRecord& record) {
  const LogLine line = LineOf(record);
  if (record.linkDown && !noticeOpen) {
    WaitForNotice(file, line);
    return;
  }
  Flush();
  Append(file, line);
}

// The ticks go on inside the box and may write later minutes, or end the program, meanwhile.
void TrafficLogWriter::WaitForNotice(ILogFile* file, const LogLine& line) {
  lineWaiting = true;
  waitingFile = file;
  waitingLine = line;
  noticeOpen = true;
  notice.ShowNotice(kCableNotice);
  noticeOpen = false;
  Flush();
}

void TrafficLogWriter::Flush() {
  if (!lineWaiting) return;
  lineWaiting = false;
  Append(waitingFile, waitingLine);
  waitingFile = nullptr;
}
