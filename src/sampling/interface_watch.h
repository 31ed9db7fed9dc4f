// Which row the meter watches for the interface the profile names, while adapters come and go.
#pragma once

#include <cstdint>

#include "sampling/counter_source.h"
#include "sampling/interface_choice.h"

// The interface the profile names: by identity ("ethid") and by row ("eth", all an older version
// stores).
struct StoredInterface {
  bool stored;        // the profile names an interface at all
  uint64_t identity;  // a LUID, kAllLinksIdentity, or 0 when the profile holds no identity
  int32_t row;
};

enum class WatchState : uint8_t {
  kStored,      // the stored interface, at the row it holds now
  kWaiting,     // the stored interface is missing: nothing is watched while it may still come
  kStandIn,     // still missing after the wait: the first-start choice is watched meanwhile
  kFirstStart,  // nothing stored: the first-start choice
};

struct WatchChoice {
  WatchState state;
  int32_t row;  // kNoRow while waiting
};

// An identity finds its row wherever it stands now. A missing interface (a Wi-Fi adapter asleep, a
// dock not yet there at sign-in) is waited for at least kMissingWaitMs after the start, a resume or
// an interface change before another is watched; the stand-in stays while it is up, and the stored
// interface is watched again as soon as a table lists it. Where the table knows no identities
// (older systems) or the profile holds none, the stored row is watched, as it always was.
class InterfaceWatch {
 public:
  static constexpr uint32_t kMissingWaitMs = 30000;

  // The table as read now. `settling`: at the start, after a resume, or when an adapter came or
  // went; the wait for a missing interface starts again.
  WatchChoice TableRead(const InterfaceFacts* rows, uint32_t count, const StoredInterface& stored,
                        bool sumsAllLinks, bool settling, uint32_t nowMs);
  // Whether the wait for a missing interface is over at nowMs: time to read the table again.
  bool WaitOver(uint32_t nowMs) const;
  WatchChoice Current() const { return current; }

 private:
  WatchChoice current{WatchState::kFirstStart, kNoRow};
  uint32_t waitingSinceMs = 0;
};
