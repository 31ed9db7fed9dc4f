// Turns successive readings of one interface's octet counters into the bytes moved between them.
#pragma once

#include <cstdint>

#include "sampling/counter_source.h"

enum class CounterStepKind {
  kCounted,     // the bytes moved since the previous reading
  kBaseline,    // the first reading, or counters that started again: nothing counted
  kFailedRead,  // no usable reading: nothing counted, the baseline kept
};

struct CounterStep {
  CounterStepKind kind;
  uint64_t sent;
  uint64_t received;
};

// One baseline of an interface's counters. 32-bit counters wrap, and one wrap in an interval is
// still a right difference, even of both counters at once (a 10 Gbit/s link wraps every few
// seconds). The counters started again when the interface's index changed, when the platform says
// so, or when a difference is more than the link could carry in the time since the last reading.
// A reading of all-zero counters after non-zero ones is a failed read, not a restart: the next
// reading may well carry the old counters again. When it carries lower ones instead, the counters
// started again from zero, and what they hold is what moved since; but a single 32-bit counter
// that fell no more than a wrap allows wrapped meanwhile, and each counter counts on its own.
class CounterTracker {
 public:
  CounterStep Take(const CounterReading& reading);
  // The next good reading becomes the baseline.
  void Restart() { hasBaseline = false; }
  bool HasBaseline() const { return hasBaseline; }

  // Without a known link speed a difference is believed up to this many bytes a second.
  static constexpr uint64_t kUnknownLinkBytesPerSecond = 2500000000u;
  // A link's speed can be reported too low (virtual adapters); below this it is not believed.
  static constexpr uint64_t kLowestBelievedBytesPerSecond = 250000000u;

 private:
  CounterStep TakeBaseline(const CounterReading& reading);
  bool StartedAgainSinceZero(const CounterReading& reading) const;
  CounterStep TakeSinceZero(const CounterReading& reading);
  bool Plausible(uint64_t bytes, const CounterReading& reading) const;

  bool hasBaseline = false;
  CounterReading last;
  // Zero counters were read since the baseline, first at zeroReadAtMs.
  bool zeroRead = false;
  uint32_t zeroReadAtMs = 0;
};
