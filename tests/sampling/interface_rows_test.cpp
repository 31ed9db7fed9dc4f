// Which rows Configure lists and which links "All links" sums, over a table as Windows lists it: an
// adapter, its filter rows, a VPN, a tunnel.
#include "sampling/interface_rows.h"

#include <gtest/gtest.h>

#include <vector>

#include "sampling/counter_source.h"

namespace {

constexpr uint32_t kUp = kOperStatusOperational, kDown = 2, kPpp = 23;

InterfaceFacts Row(uint32_t type, uint64_t luid, uint64_t in, uint64_t out, bool hardware, bool filter = false,
                   uint32_t status = kUp) {
  InterfaceFacts row{type, status, in, out, filter};
  row.luid = luid;
  row.hardware = hardware;
  return row;
}

// A machine as Windows lists it: loopback, a Wi-Fi adapter, its two filter rows and another view of
// it that is no filter row, a VPN, a Teredo tunnel, an idle wired port and its filter row.
const std::vector<InterfaceFacts> kMachine = {
    Row(kSoftwareLoopbackType, 0x18000000000000, 0, 0, false),
    Row(kWirelessType, 0x47000001000000, 90000, 8000, true),
    Row(kWirelessType, 0x47000002000000, 90000, 8000, false, true),
    Row(kWirelessType, 0x47000003000000, 90000, 8000, false, true),
    Row(kEthernetType, 0x06000004000000, 90000, 8000, false),  // the same counters again
    Row(kPpp, 0x17000001000000, 5000, 700, false),             // the VPN
    Row(kTunnelType, 0x83000001000000, 12, 12, false),
    Row(kEthernetType, 0x06000001000000, 0, 0, true, false, kDown),
    Row(kEthernetType, 0x06000002000000, 0, 0, false, true, kDown),
};

TEST(InterfaceRows, FilterRowsAndRowsRepeatingAnAdaptersCountersAreLeftOut) {
  std::vector<bool> repeats;
  for (uint32_t i = 0; i < kMachine.size(); ++i)
    repeats.push_back(RepeatsAnotherRow(kMachine.data(), uint32_t(kMachine.size()), i));
  EXPECT_EQ(repeats, (std::vector<bool>{false, false, true, true, true, false, false, false, true}));

  // Without the 64-bit table nothing is known to be hardware: the first of equal rows stays, and
  // rows that counted only one way are never taken for repeats.
  const std::vector<InterfaceFacts> narrow = {Row(kEthernetType, 0, 300, 200, false), Row(kEthernetType, 0, 300, 200, false),
                                              Row(kEthernetType, 0, 0, 684, false), Row(kEthernetType, 0, 0, 684, false)};
  EXPECT_FALSE(RepeatsAnotherRow(narrow.data(), 4, 0));
  EXPECT_TRUE(RepeatsAnotherRow(narrow.data(), 4, 1));
  EXPECT_FALSE(RepeatsAnotherRow(narrow.data(), 4, 3));
}

TEST(InterfaceRows, AllLinksSumsHardwareThatIsUpAndNoFilterLoopbackOrTunnel) {
  std::vector<bool> joins;
  for (const InterfaceFacts& row : kMachine) joins.push_back(JoinsAllLinks(row));
  EXPECT_EQ(joins, (std::vector<bool>{false, true, false, false, false, false, false, false, false}));

  InterfaceFacts gone = kMachine[1], hardwareTunnel = kMachine[6], connected = kMachine[7];
  gone.present = false;
  hardwareTunnel.hardware = true;
  connected.operStatus = kOperStatusConnected;
  EXPECT_FALSE(JoinsAllLinks(gone)) << "an adapter the table no longer lists";
  EXPECT_FALSE(JoinsAllLinks(hardwareTunnel));
  EXPECT_TRUE(JoinsAllLinks(connected)) << "a wired port that came up";
}

TEST(InterfaceRows, ConfigureListsEachAdapterOnceAndEverythingWithShowAll) {
  struct Case {
    InterfaceListOptions options;
    std::vector<int32_t> entries;
    const char* what;
  };
  const Case cases[] = {
      {{false, false, false, 0}, {0, 1, 5, 6, 7}, "each adapter once"},
      {{true, false, false, 0}, {0, 1, 2, 3, 4, 5, 6, 7, 8}, "Show all"},
      {{false, true, false, 1}, {kAllLinksRow, 0, 1, 5, 6, 7}, "All links first"},
      {{false, true, true, 2}, {kMissingRow, kAllLinksRow, 0, 1, 2, 5, 6, 7}, "a missing choice, a chosen filter row"},
  };
  for (const Case& c : cases) {
    int32_t entries[16] = {};
    const uint32_t n = ListInterfaces(kMachine.data(), uint32_t(kMachine.size()), c.options, entries, 16);
    EXPECT_EQ(std::vector<int32_t>(entries, entries + n), c.entries) << c.what;
  }
  std::vector<InterfaceFacts> vpnEnded = kMachine;
  vpnEnded[5].present = false;
  for (const Case& c : {Case{{false, false, false, 0}, {0, 1, 6, 7}, "an interface gone in this run"},
                        Case{{false, false, false, 5}, {0, 1, 5, 6, 7}, "unless it is the one chosen"},
                        Case{{true, false, false, 0}, {0, 1, 2, 3, 4, 5, 6, 7, 8}, "or with Show all"}}) {
    int32_t entries[16] = {};
    const uint32_t n = ListInterfaces(vpnEnded.data(), uint32_t(vpnEnded.size()), c.options, entries, 16);
    EXPECT_EQ(std::vector<int32_t>(entries, entries + n), c.entries) << c.what;
  }
  int32_t few[2] = {};
  EXPECT_EQ(ListInterfaces(kMachine.data(), uint32_t(kMachine.size()), {true, true, true, 0}, few, 2), 2u)
      << "no more than the room given";
}

}  // namespace
