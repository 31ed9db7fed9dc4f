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
  const bool sameCounters = reading.interfaceIndex == last.interfaceIndex && reading.epoch == last.epoch &&
                            reading.wide == last.wide;
  // A new interface's counters may well all be zero: they are its baseline.
  if (!sameCounters) return TakeBaseline(reading);
  if (AllZero(reading) && !AllZero(last)) {
    if (!zeroRead) zeroReadAtMs = reading.readAtMs;
    zeroRead = true;
    return CounterStep{CounterStepKind::kFailedRead, 0, 0};
  }
  const bool fell = reading.sent < last.sent || reading.received < last.received;
  if (zeroRead) {
    zeroRead = false;
    // Counters begun again from zero after the zero ones: all they hold was counted since.
    if (StartedAgainSinceZero(reading)) return TakeSinceZero(reading);
  }
  // 64-bit counters never wrap: lower ones started again.
  if (reading.wide && fell) return TakeBaseline(reading);

  const uint64_t sent = Difference(reading.sent, last.sent, reading.wide);
  const uint64_t received = Difference(reading.received, last.received, reading.wide);
  if (!Plausible(sent, reading) || !Plausible(received, reading)) return TakeBaseline(reading);
  last = reading;
  return CounterStep{CounterStepKind::kCounted, sent, received};
}

CounterStep CounterTracker::TakeSinceZero(const CounterReading& reading) {
  CounterReading zero = reading;
  zero.sent = zero.received = 0;
  // Counted since the zeros, and never over more time than since the baseline, whatever the clock
  // did meanwhile.
  const uint32_t sinceZerosMs = reading.readAtMs - zeroReadAtMs;
  const uint32_t sinceBaselineMs = reading.readAtMs - last.readAtMs;
  zero.readAtMs = sinceZerosMs < sinceBaselineMs ? zeroReadAtMs : last.readAtMs;
  last = zero;
  if (!Plausible(reading.sent, reading) || !Plausible(reading.received, reading))
    return TakeBaseline(reading);
  last = reading;
  return CounterStep{CounterStepKind::kCounted, reading.sent, reading.received};
}

// Only the reading as a whole says the counters started again: every counter lower, or one lower
// by more than a wrap could be. A single 32-bit counter that fell a believable wrap's worth wrapped
// while the other counted on, and each is counted on its own. Both lower is taken as begun again
// even when two wraps would fit the time: that counts what they hold, never gigabytes unseen.
bool CounterTracker::StartedAgainSinceZero(const CounterReading& reading) const {
  const bool sentFell = reading.sent < last.sent;
  const bool receivedFell = reading.received < last.received;
  if (sentFell && receivedFell) return true;
  if (reading.wide) return sentFell || receivedFell;
  const auto noWrap = [&](bool fell, uint64_t now, uint64_t before) {
    return fell && !Plausible(Difference(now, before, false), reading);
  };
  return noWrap(sentFell, reading.sent, last.sent) || noWrap(receivedFell, reading.received, last.received);
}

CounterStep CounterTracker::TakeBaseline(const CounterReading& reading) {
  hasBaseline = true;
  zeroRead = false;
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
