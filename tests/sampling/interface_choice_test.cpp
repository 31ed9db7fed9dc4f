// The interface a first start watches, over rows as a current machine lists them.
#include "sampling/interface_choice.h"

#include <gtest/gtest.h>

#include <vector>

#include "settings/settings_store.h"
#include "support/memory_profile.h"

namespace {

constexpr uint32_t kEthernet = 6, kTunnel = 131, kUp = kOperStatusOperational, kDown = 2;

InterfaceFacts Row(uint32_t type, uint32_t status, uint32_t in, uint32_t out) {
  return InterfaceFacts{type, status, in, out};
}

TEST(InterfaceChoice, TheFirstRowThatIsUpNoLoopbackAndCountedTraffic) {
  const InterfaceFacts loopback = Row(kSoftwareLoopbackType, kUp, 500, 500);
  const InterfaceFacts down = Row(kEthernet, kDown, 9000, 9000);
  const InterfaceFacts idle = Row(kTunnel, kUp, 0, 0);
  const InterfaceFacts dialUp = Row(23, kOperStatusConnected, 0, 40);
  const InterfaceFacts wired = Row(kEthernet, kUp, 123456, 0);
  struct Case {
    std::vector<InterfaceFacts> rows;
    int32_t chosen;
    const char* what;
  };
  const Case cases[] = {
      {{loopback, idle, down, wired, dialUp}, 3, "loopback first, then links that are idle or down"},
      {{loopback, dialUp, wired}, 1, "a connected dial-up link counts as up"},
      {{loopback, idle, down}, 2, "none counted traffic: the first Ethernet or wireless row"},
      {{wired}, 0, "a single live link"},
      {{}, 0, "no rows"},
  };
  for (const Case& c : cases) EXPECT_EQ(ChooseFirstInterface(c.rows.data(), uint32_t(c.rows.size())), c.chosen) << c.what;
}

// The default route's interface comes first; and with only dial-up or mobile-broadband links, or
// only tunnels, the loopback is still not chosen.
TEST(InterfaceChoice, TheDefaultRouteFirstAndNeverALoopbackWhileAnotherRowIsThere) {
  constexpr uint32_t kPpp = 23, kMobileBroadband = 243;
  const InterfaceFacts loopback = Row(kSoftwareLoopbackType, kUp, 500, 500);
  const InterfaceFacts wired = Row(kEthernet, kUp, 123456, 99);
  InterfaceFacts routedIdle = Row(kWirelessType, kUp, 0, 0);
  routedIdle.defaultRoute = true;
  InterfaceFacts routedDown = routedIdle;
  routedDown.operStatus = kDown;
  InterfaceFacts routedFilter = Row(kEthernet, kUp, 7, 7);
  routedFilter.defaultRoute = routedFilter.filter = true;
  const InterfaceFacts dialUpIdle = Row(kPpp, kOperStatusConnected, 0, 0);
  const InterfaceFacts mobileDown = Row(kMobileBroadband, kDown, 0, 0);
  const InterfaceFacts tunnelDown = Row(kTunnel, kDown, 0, 0);
  InterfaceFacts filterOnly = Row(kEthernet, kDown, 0, 0);
  filterOnly.filter = true;
  struct Case {
    std::vector<InterfaceFacts> rows;
    int32_t chosen;
    const char* what;
  };
  const Case cases[] = {
      {{loopback, wired, routedIdle}, 2, "the default route's link, though idle, before a busy one"},
      {{loopback, wired, routedDown}, 1, "a default route through a link that is down counts for nothing"},
      {{loopback, routedFilter, wired}, 2, "nor one through a filter row"},
      {{loopback, mobileDown, dialUpIdle}, 2, "only dial-up and mobile broadband: the one that is up"},
      {{loopback, mobileDown}, 1, "only mobile broadband, down: still not the loopback"},
      {{loopback, tunnelDown}, 1, "only a tunnel"},
      {{loopback, filterOnly}, 0, "only a loopback and a filter row: row 0"},
  };
  for (const Case& c : cases) EXPECT_EQ(ChooseFirstInterface(c.rows.data(), uint32_t(c.rows.size())), c.chosen) << c.what;
}

TEST(InterfaceChoice, OnlyAProfileWithoutEthPicks) {
  MemoryProfile fresh;
  MonitorSettings settings;
  LoadSettings(settings, fresh);
  EXPECT_FALSE(settings.interfaceStored);

  MemoryProfile stored;
  stored.ints["eth"] = 0;  // even the first row, once chosen, is kept
  LoadSettings(settings, stored);
  EXPECT_TRUE(settings.interfaceStored);
  EXPECT_EQ(settings.selectedInterface, 0);
}

}  // namespace
