// Rows that repeat an adapter, the members of "All links", an interface's row by identity, and
// Configure's list.
#include "sampling/interface_rows.h"

#include "sampling/counter_source.h"

namespace {

bool SameCounters(const InterfaceFacts& a, const InterfaceFacts& b) {
  return a.inOctets == b.inOctets && a.outOctets == b.outOctets;
}

// Two links that both received and sent never count the same to the byte; idle ones may.
bool CountedBothWays(const InterfaceFacts& row) {
  return row.inOctets != 0 && row.outOctets != 0;
}

}  // namespace

bool RepeatsAnotherRow(const InterfaceFacts* rows, uint32_t count, uint32_t row) {
  if (rows == nullptr || row >= count) return false;
  const InterfaceFacts& facts = rows[row];
  if (facts.filter) return true;
  // A hardware adapter is never a repeat.
  if (facts.hardware || !CountedBothWays(facts)) return false;
  for (uint32_t other = 0; other < count; ++other)
    if (other != row && !rows[other].filter && SameCounters(rows[other], facts) &&
        (rows[other].hardware || other < row))
      return true;
  return false;
}

bool JoinsAllLinks(const InterfaceFacts& row) {
  return IsUp(row) && row.hardware && !row.filter && row.type != kSoftwareLoopbackType &&
         row.type != kTunnelType;
}

int32_t FindInterfaceRow(const InterfaceFacts* rows, uint32_t count, uint64_t identity, bool sumsAllLinks) {
  if (identity == kAllLinksIdentity) return sumsAllLinks ? kAllLinksRow : kNoRow;
  for (uint32_t i = 0; rows != nullptr && identity != 0 && i < count && i <= uint32_t(INT32_MAX); ++i)
    if (rows[i].luid == identity && rows[i].present) return int32_t(i);
  return kNoRow;
}

uint32_t ListInterfaces(const InterfaceFacts* rows, uint32_t count, const InterfaceListOptions& options,
                        int32_t* entries, uint32_t capacity) {
  uint32_t listed = 0;
  auto add = [&](int32_t entry) {
    if (entries != nullptr && listed < capacity) entries[listed++] = entry;
  };
  if (options.storedMissing) add(kMissingRow);
  if (options.offerAllLinks) add(kAllLinksRow);
  for (uint32_t i = 0; rows != nullptr && i < count && i <= uint32_t(INT32_MAX); ++i)
    if (options.showAll || int32_t(i) == options.selectedRow ||
        (rows[i].present && !RepeatsAnotherRow(rows, count, i)))
      add(int32_t(i));
  return listed;
}
