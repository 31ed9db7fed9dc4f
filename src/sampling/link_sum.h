// The traffic of all links together, as one pair of 64-bit counters that never falls.
#pragma once

#include <cstdint>

#include "sampling/counter_source.h"
#include "sampling/counter_tracker.h"

// The members are the rows JoinsAllLinks takes, followed by their LUIDs wherever they stand. Each
// member's counters go through a tracker of their own, so that its wraps, restarts and failed reads
// are judged on their own; a member that joins starts from its baseline, and one that leaves (down,
// or no longer hardware) counts what it moved up to the reading that saw it leave. Nothing spikes
// and the sum never falls, so the statistics read it as they read a row.
class LinkSum {
 public:
  static constexpr uint32_t kMaxMembers = 64;

  // One reading of the whole table, taken at readAtMs: every row with its counters. The sum's
  // reading; its link speed is what the members together could carry.
  CounterReading Take(const InterfaceFacts* rows, uint32_t count, uint32_t epoch, uint32_t readAtMs);
  // Links summed since the last reading.
  uint32_t MemberCount() const { return memberCount; }

 private:
  struct Member {
    uint64_t luid;
    CounterTracker tracker;
    uint64_t believedBytesPerSecond;
    bool seen;
    bool leaving;
  };

  Member* Find(uint64_t luid);
  Member* Join(uint64_t luid);
  void Count(Member& member, const InterfaceFacts& row, uint32_t epoch, uint32_t readAtMs);
  void DropGoneMembers();
  uint64_t BelievedBitsPerSecond() const;

  Member members[kMaxMembers];
  uint32_t memberCount = 0;
  uint64_t sent = 0;
  uint64_t received = 0;
};
