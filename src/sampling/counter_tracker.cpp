// Differences, wraps, restarts and failed reads of one interface's octet counters.
#include "sampling/counter_tracker.h"

#include <algorithm>

namespace {

// Timers fire late and counters move between the reading and its time stamp.
constexpr uint64_t kTimeSlackMs = 100;

uint64_t Difference(uint64_t now, uint64_t before, bool wide) {
  return wide ? now - before : uint32_t(now - before);
}

bool AllZero(const CounterReading& reading) {
  return reading.sent == 0 && reading.received == 0;
}

}  // namespace

CounterStep CounterTracker::Take(const CounterReading& reading) {
  if (!reading.ok) return CounterStep{CounterStepKind::kFailedRead, 0, 0};
  if (!hasBaseline) return TakeBaseline(reading);
  if (AllZero(reading) && !AllZero(last)) return CounterStep{CounterStepKind::kFailedRead, 0, 0};
  const bool sameCounters = reading.interfaceIndex == last.interfaceIndex && reading.epoch == last.epoch &&
                            reading.wide == last.wide;
  // 64-bit counters never wrap: lower ones started again.
  const bool fell = reading.wide && (reading.sent < last.sent || reading.received < last.received);
  if (!sameCounters || fell) return TakeBaseline(reading);

  const uint64_t sent = Difference(reading.sent, last.sent, reading.wide);
  const uint64_t received = Difference(reading.received, last.received, reading.wide);
  if (!Plausible(sent, reading) || !Plausible(received, reading)) return TakeBaseline(reading);
  last = reading;
  return CounterStep{CounterStepKind::kCounted, sent, received};
}

CounterStep CounterTracker::TakeBaseline(const CounterReading& reading) {
  hasBaseline = true;
  last = reading;
  return CounterStep{CounterStepKind::kBaseline, 0, 0};
}

bool CounterTracker::Plausible(uint64_t bytes, const CounterReading& reading) const {
  uint64_t bytesPerSecond = kUnknownLinkBytesPerSecond;
  if (reading.linkBitsPerSecond != 0)
    bytesPerSecond = std::max(reading.linkBitsPerSecond / 8 * 2, kLowestBelievedBytesPerSecond);
  const uint64_t elapsedMs = uint32_t(reading.readAtMs - last.readAtMs) + kTimeSlackMs;
  // Even 49 days at 2^64 / 2^32 bytes a second stay within 64 bits after the division.
  return bytes / elapsedMs <= bytesPerSecond / 1000;
}
