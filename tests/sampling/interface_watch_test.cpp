// The stored interface followed by its identity over tables read at start, after resumes and
// interface changes: rows moved, an index handed to another adapter, an adapter missing and back.
#include "sampling/interface_watch.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t kUp = kOperStatusOperational, kDown = 2;
constexpr uint64_t kWifi = 0x47000001000000, kDock = 0x06000002000000, kWired = 0x06000001000000;

InterfaceFacts Row(uint64_t luid, uint32_t index, uint32_t status = kUp, uint32_t type = kEthernetType) {
  InterfaceFacts row{type, status, 0, 0, false};
  row.luid = luid;
  row.index = index;
  row.hardware = luid != 0;
  return row;
}

const InterfaceFacts kLoopback = Row(0x18000000000000, 1, kUp, kSoftwareLoopbackType);
using Table = std::vector<InterfaceFacts>;

struct Event {
  uint32_t atMs;
  Table rows;
  bool settling;
  WatchState state;
  int32_t row;
  const char* what;
};

void RunWatch(const char* name, const StoredInterface& stored, const std::vector<Event>& events,
              bool sumsAllLinks = true) {
  InterfaceWatch watch;
  for (const Event& e : events) {
    const WatchChoice choice =
        watch.TableRead(e.rows.data(), uint32_t(e.rows.size()), stored, sumsAllLinks, e.settling, e.atMs);
    EXPECT_EQ(int(choice.state), int(e.state)) << name << " at " << e.atMs << " ms: " << e.what;
    EXPECT_EQ(choice.row, e.row) << name << " at " << e.atMs << " ms: " << e.what;
    EXPECT_EQ(watch.WaitOver(e.atMs + InterfaceWatch::kMissingWaitMs), e.state == WatchState::kWaiting)
        << name << " at " << e.atMs << " ms: " << e.what;
  }
}

// The Wi-Fi adapter was row 2 with index 12 when it was chosen.
const StoredInterface kStoredWifi{true, kWifi, 2};

TEST(InterfaceWatch, AnIdentityFindsItsAdapterWhereverItsRowNowStands) {
  const Table moved = {kLoopback, Row(kWired, 5), Row(kDock, 9), Row(kWifi, 12, kUp, kWirelessType)};
  // Index 12 went to the dock; the Wi-Fi adapter came back under 14 in another place.
  const Table reused = {kLoopback, Row(kWired, 5), Row(kDock, 12), Row(kWifi, 14, kUp, kWirelessType)};
  RunWatch("moved", kStoredWifi,
           {{0, moved, true, WatchState::kStored, 3, "a dock listed before it at start"},
            {5000, reused, true, WatchState::kStored, 3, "its index handed to the dock"}});
}

TEST(InterfaceWatch, AMissingAdapterIsWaitedForThenStoodInForUntilItIsBack) {
  const Table without = {kLoopback, Row(kWired, 5)};
  const Table indexTaken = {kLoopback, Row(kWired, 5), Row(kDock, 12)};
  const Table back = {kLoopback, Row(kWired, 5), Row(kDock, 12), Row(kWifi, 15, kUp, kWirelessType)};
  const Table wiredDown = {kLoopback, Row(kWired, 5, kDown), Row(kDock, 12)};
  RunWatch("sign-in", kStoredWifi,
           {{0, without, true, WatchState::kWaiting, kNoRow, "not there yet at sign-in: nothing watched"},
            {20000, indexTaken, true, WatchState::kWaiting, kNoRow, "its row and index now the dock's"},
            {49999, indexTaken, false, WatchState::kWaiting, kNoRow, "30 s after the last change: not yet"},
            {50000, indexTaken, false, WatchState::kStandIn, 1, "the first-start choice stands in"},
            {60000, indexTaken, true, WatchState::kStandIn, 1, "a change elsewhere keeps the stand-in"},
            {70000, back, true, WatchState::kStored, 3, "back under a new index"},
            {80000, indexTaken, true, WatchState::kWaiting, kNoRow, "gone again: waited for again"},
            {90000, wiredDown, false, WatchState::kWaiting, kNoRow, ""},
            {110000, wiredDown, false, WatchState::kStandIn, 2, "the first-start choice of now"},
            {120000, {kLoopback, Row(kWired, 5), Row(kDock, 12, kDown)}, true, WatchState::kWaiting, kNoRow,
             "the stand-in went down: waited again before another"}});
}

TEST(InterfaceWatch, WithoutIdentitiesTheStoredRowIsWatchedAsItAlwaysWas) {
  const Table narrow = {Row(0, 1, kUp, kSoftwareLoopbackType), Row(0, 5), Row(0, 12)};
  RunWatch("older system", kStoredWifi, {{0, narrow, true, WatchState::kStored, 2, "no LUIDs: the row"}});
  RunWatch("row outside", {true, kWifi, 7}, {{0, narrow, true, WatchState::kStored, 0, "row 0, as always"}});
  const Table wide = {kLoopback, Row(kWired, 5), Row(kWifi, 12, kUp, kWirelessType)};
  RunWatch("older profile", {true, 0, 1}, {{0, wide, true, WatchState::kStored, 1, "no identity: the row"}});
  RunWatch("first start", {false, 0, 0},
           {{0, wide, true, WatchState::kFirstStart, 1, "the first-start rules"}});
  RunWatch("all links", {true, kAllLinksIdentity, 2}, {{0, wide, true, WatchState::kStored, kAllLinksRow, ""}});
  RunWatch("all links on an older system", {true, kAllLinksIdentity, 2},
           {{0, narrow, true, WatchState::kStored, 2, "the row it was written with"}}, false);
}

}  // namespace
