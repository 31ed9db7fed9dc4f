// Feeds arbitrary runs of counter readings to the tracker: what it counts must always be what the
// link could have carried since the previous reading, and never more than the counters moved.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "sampling/counter_tracker.h"

namespace {

// The most a difference may be, by the tracker's own rule: the link's believed rate over the
// elapsed time and its slack.
unsigned __int128 MostBelievable(const CounterReading& before, const CounterReading& now) {
  uint64_t rate = CounterTracker::kUnknownLinkBytesPerSecond;
  if (now.linkBitsPerSecond != 0) {
    const uint64_t doubled = now.linkBitsPerSecond / 8 * 2;
    rate = doubled > CounterTracker::kLowestBelievedBytesPerSecond
               ? doubled
               : CounterTracker::kLowestBelievedBytesPerSecond;
  }
  const uint64_t elapsedMs = uint64_t(uint32_t(now.readAtMs - before.readAtMs)) + 100u;
  return (unsigned __int128)(rate / 1000 + 1) * elapsedMs;
}

uint64_t Moved(uint64_t now, uint64_t before, bool wide) {
  return wide ? now - before : uint32_t(now - before);
}

// After zero counters, only the reading as a whole says the counters began again: both lower, or
// one lower by more than a wrap (which 64-bit counters never do) could be in the time.
bool BeganAgain(const CounterReading& before, const CounterReading& now) {
  const bool sentFell = now.sent < before.sent;
  const bool receivedFell = now.received < before.received;
  if (sentFell && receivedFell) return true;
  if (now.wide) return sentFell || receivedFell;
  const unsigned __int128 most = MostBelievable(before, now);
  return (sentFell && Moved(now.sent, before.sent, false) >= most) ||
         (receivedFell && Moved(now.received, before.received, false) >= most);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  CounterTracker tracker;
  CounterReading baseline;
  bool hasBaseline = false;
  bool zerosSinceBaseline = false;
  while (in.remaining_bytes() > 0) {
    CounterReading reading;
    reading.wide = in.ConsumeBool();
    reading.sent = reading.wide ? in.ConsumeIntegral<uint64_t>() : in.ConsumeIntegral<uint32_t>();
    reading.received = reading.wide ? in.ConsumeIntegral<uint64_t>() : in.ConsumeIntegral<uint32_t>();
    reading.epoch = in.ConsumeIntegralInRange<uint32_t>(0, 2);
    reading.ok = in.ConsumeIntegralInRange<int>(0, 9) != 0;
    reading.interfaceIndex = in.ConsumeIntegralInRange<uint32_t>(1, 3);
    reading.readAtMs = in.ConsumeIntegral<uint32_t>();
    reading.linkBitsPerSecond = in.ConsumeBool() ? 0 : in.ConsumeIntegral<uint64_t>();
    if (in.ConsumeIntegralInRange<int>(0, 30) == 0) tracker.Restart(), hasBaseline = false;

    const CounterStep step = tracker.Take(reading);
    switch (step.kind) {
      case CounterStepKind::kFailedRead:
        if (step.sent != 0 || step.received != 0) abort();
        // The only readings that fail while the platform answered are all-zero ones.
        if (reading.ok) zerosSinceBaseline = true;
        break;
      case CounterStepKind::kBaseline:
        if (step.sent != 0 || step.received != 0 || !reading.ok) abort();
        baseline = reading;
        hasBaseline = true;
        zerosSinceBaseline = false;
        break;
      case CounterStepKind::kCounted: {
        if (!hasBaseline || !reading.ok) abort();
        const unsigned __int128 most = MostBelievable(baseline, reading);
        if (step.sent > most || step.received > most) abort();
        // Both against zero for counters begun again after zero ones, else each counter against the
        // baseline (modulo 2^32 for 32-bit ones).
        const bool sinceBaseline = step.sent == Moved(reading.sent, baseline.sent, reading.wide) &&
                                   step.received == Moved(reading.received, baseline.received, reading.wide);
        const bool sinceZero = step.sent == reading.sent && step.received == reading.received;
        if (zerosSinceBaseline && BeganAgain(baseline, reading) ? !sinceZero : !sinceBaseline) abort();
        baseline = reading;
        zerosSinceBaseline = false;
        break;
      }
    }
    if (tracker.HasBaseline() != hasBaseline) abort();
  }
  return 0;
}
