// Summing the links that are up and hardware, each through its own counter tracker.
#include "sampling/link_sum.h"

#include <algorithm>

#include "sampling/interface_rows.h"

namespace {

CounterReading ReadingOf(const InterfaceFacts& row, uint32_t epoch, uint32_t readAtMs) {
  CounterReading reading;
  reading.sent = row.outOctets;
  reading.received = row.inOctets;
  reading.epoch = epoch;
  reading.wide = row.wide;
  reading.interfaceIndex = row.index;
  reading.readAtMs = readAtMs;
  reading.linkBitsPerSecond = row.linkBitsPerSecond;
  return reading;
}

// What the member's own tracker believes the link can carry.
uint64_t BelievedBytesPerSecond(uint64_t linkBitsPerSecond) {
  if (linkBitsPerSecond == 0) return CounterTracker::kUnknownLinkBytesPerSecond;
  return std::max(linkBitsPerSecond / 8 * 2, CounterTracker::kLowestBelievedBytesPerSecond);
}

uint64_t SaturatingAdd(uint64_t a, uint64_t b) {
  return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

}  // namespace

CounterReading LinkSum::Take(const InterfaceFacts* rows, uint32_t count, uint32_t epoch, uint32_t readAtMs) {
  for (uint32_t m = 0; m < memberCount; ++m) members[m].seen = members[m].leaving = false;
  for (uint32_t i = 0; rows != nullptr && i < count; ++i) {
    const InterfaceFacts& row = rows[i];
    if (row.luid == 0) continue;
    const bool joins = JoinsAllLinks(row);
    Member* member = Find(row.luid);
    if (member == nullptr && joins) member = Join(row.luid);
    if (member == nullptr || member->seen) continue;
    member->seen = true;
    member->leaving = !joins;
    Count(*member, row, epoch, readAtMs);
  }
  CounterReading sum;
  sum.sent = sent;
  sum.received = received;
  sum.wide = true;
  sum.readAtMs = readAtMs;
  sum.linkBitsPerSecond = BelievedBitsPerSecond();
  DropGoneMembers();
  return sum;
}

LinkSum::Member* LinkSum::Find(uint64_t luid) {
  for (uint32_t m = 0; m < memberCount; ++m)
    if (members[m].luid == luid) return &members[m];
  return nullptr;
}

LinkSum::Member* LinkSum::Join(uint64_t luid) {
  if (memberCount == kMaxMembers) return nullptr;
  Member& member = members[memberCount++];
  member = Member{luid, CounterTracker(), 0, false, false};
  return &member;
}

void LinkSum::Count(Member& member, const InterfaceFacts& row, uint32_t epoch, uint32_t readAtMs) {
  member.believedBytesPerSecond = BelievedBytesPerSecond(row.linkBitsPerSecond);
  const CounterStep step = member.tracker.Take(ReadingOf(row, epoch, readAtMs));
  if (step.kind != CounterStepKind::kCounted) return;
  sent += step.sent;
  received += step.received;
}

// A member no longer listed moved nothing we could read since; one that left was counted last now.
void LinkSum::DropGoneMembers() {
  uint32_t kept = 0;
  for (uint32_t m = 0; m < memberCount; ++m)
    if (members[m].seen && !members[m].leaving) members[kept++] = members[m];
  memberCount = kept;
}

// Each member's growth was judged by its own tracker; the sum's reader must never undo that, even
// when the members were read more often than it reads the sum, so it believes twice their total.
uint64_t LinkSum::BelievedBitsPerSecond() const {
  uint64_t total = 0;
  for (uint32_t m = 0; m < memberCount; ++m)
    if (members[m].seen) total = SaturatingAdd(total, members[m].believedBytesPerSecond);
  // A tracker believes a link of b bits a second carries b / 8 * 2 bytes a second.
  return total > UINT64_MAX / 8 ? UINT64_MAX : total * 8;
}
