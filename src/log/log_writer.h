// The order of the traffic log's lines, and the "cable" notice of a minute whose link was down.
#pragma once

#include "log/log_sink.h"
#include "log/minute_record.h"
#include "log/traffic_log.h"

// A modal notice: returns when the user has answered it, while the ticks go on.
class ILogNotice {
 public:
  virtual ~ILogNotice() = default;
  virtual void ShowNotice(const char* text) = 0;
};

// Every minute handed to Write reaches its file once, in the order the minutes ended, however the
// "cable" box and the ending of the program interleave.
class TrafficLogWriter {
 public:
  explicit TrafficLogWriter(ILogNotice& notice) : notice(notice) {}
  TrafficLogWriter(const TrafficLogWriter&) = delete;
  TrafficLogWriter& operator=(const TrafficLogWriter&) = delete;

  // Appends the minute's line to the file (none when null). A minute whose link was down first
  // shows "cable", and its line waits until the box is answered. A minute that ends while the box
  // is open is written at once, after the waiting line, and opens no second box.
  void Write(ILogFile* file, const MinuteRecord& record);
  // Writes the waiting line now, before its file goes away or the program ends; the box, still
  // open, then writes nothing more when it is answered.
  void Flush();

 private:
  void WaitForNotice(ILogFile* file, const LogLine& line);

  ILogNotice& notice;
  bool noticeOpen = false;
  bool lineWaiting = false;
  ILogFile* waitingFile = nullptr;
  LogLine waitingLine = {};
};
