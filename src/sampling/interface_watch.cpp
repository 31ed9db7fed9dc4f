// Following the stored interface by its identity, waiting for it when it is missing.
#include "sampling/interface_watch.h"

#include "sampling/interface_rows.h"

namespace {

bool AnyIdentity(const InterfaceFacts* rows, uint32_t count) {
  for (uint32_t i = 0; rows != nullptr && i < count; ++i)
    if (rows[i].luid != 0) return true;
  return false;
}

bool FollowsIdentity(const InterfaceFacts* rows, uint32_t count, const StoredInterface& stored,
                     bool sumsAllLinks) {
  if (stored.identity == kAllLinksIdentity) return sumsAllLinks;
  return stored.identity != 0 && AnyIdentity(rows, count);
}

// A stored row outside the table watches the first row, as it always did.
int32_t ValidRow(int32_t row, uint32_t count) {
  return row >= 0 && uint32_t(row) < count ? row : 0;
}

}  // namespace

WatchChoice InterfaceWatch::TableRead(const InterfaceFacts* rows, uint32_t count,
                                      const StoredInterface& stored, bool sumsAllLinks, bool settling,
                                      uint32_t nowMs) {
  if (!stored.stored) return current = {WatchState::kFirstStart, ChooseFirstInterface(rows, count)};
  if (!FollowsIdentity(rows, count, stored, sumsAllLinks))
    return current = {WatchState::kStored, ValidRow(stored.row, count)};
  const int32_t row = FindInterfaceRow(rows, count, stored.identity, sumsAllLinks);
  if (row != kNoRow) return current = {WatchState::kStored, row};

  const bool standInUp = current.state == WatchState::kStandIn && current.row >= 0 &&
                         uint32_t(current.row) < count && IsUp(rows[current.row]);
  if (standInUp) return current;
  if (current.state != WatchState::kWaiting || settling) {
    waitingSinceMs = nowMs;
    return current = {WatchState::kWaiting, kNoRow};
  }
  if (!WaitOver(nowMs)) return current;
  return current = {WatchState::kStandIn, ChooseFirstInterface(rows, count)};
}

bool InterfaceWatch::WaitOver(uint32_t nowMs) const {
  return current.state == WatchState::kWaiting && nowMs - waitingSinceMs >= kMissingWaitMs;
}
