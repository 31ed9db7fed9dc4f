// One finished minute of an interface's traffic, as the statistics hand it to the log.
#pragma once

#include <cstdint>

#include "log/log_sink.h"

// Fixed when the minute ends, so its line is the same whenever it reaches the file.
struct MinuteRecord {
  LocalDateTime time;
  uint64_t sent;
  uint64_t received;
  bool linkDown;  // the link was disconnected when the minute ended
};
