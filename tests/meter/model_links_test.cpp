// The interface the meter watches: the stored one found by its identity wherever its row now stands,
// waited for while it is missing and stood in for after the wait, "All links" with a log of its own,
// and Configure's choice stored by row and identity.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sampling/interface_rows.h"
#include "support/test_meter.h"

namespace {

using Strings = std::vector<std::string>;

constexpr uint64_t kLo = 0x18000000000000, kWired = 0x6000001000000, kWifi = 0x47000001000000,
                   kDock = 0x6000002000000, kVpn = 0x83000001000000;

struct Row {
  const char* description;
  uint64_t luid;
  uint32_t type;
  bool up;
  uint64_t traffic;  // in and out octets alike
  bool filter = false;
  bool present = true;  // false: the table read now no longer lists the row's interface
};

const Row kLoopback{"lo", kLo, kSoftwareLoopbackType, true, 0};
const Row kWiredUp{"Wired Adapter", kWired, kEthernetType, true, 4000};
const Row kWifiUp{"Wireless Adapter", kWifi, kWirelessType, true, 9000};
const Row kDockUp{"Docking Station NIC", kDock, kEthernetType, true, 0};

// A meter whose platform sums all links and whose clock moves with the test's seconds.
struct LinksMeter : TestMeter {
  LinksMeter() {
    counters.sumsAllLinks = true;
    counters.msPerReading = 0;
  }

  // The table as the platform lists it now; rows past it keep what they held, as rows never go.
  void Table(const std::vector<Row>& rows) {
    counters.rowCount = uint32_t(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      const Row& r = rows[i];
      InterfaceFacts& facts = counters.facts[i];
      facts = InterfaceFacts{r.type, r.up ? kOperStatusOperational : kOperStatusDisconnected, r.traffic, r.traffic,
                             r.filter};
      facts.luid = r.luid;
      facts.present = r.present;
      facts.hardware = r.type != kSoftwareLoopbackType && r.type != kTunnelType && !r.filter;
      counters.descriptions[i] = r.description;
      counters.rows[i] = CounterReading{r.traffic, r.traffic};
    }
  }
  // A start with this profile: "eth" and "ethid" when given.
  void Start(int32_t eth, const char* ethid) {
    if (eth != kNoRow) profile.ints["eth"] = eth;
    if (ethid != nullptr) profile.texts["ethid"] = ethid;
    model.LoadAllSettings();
    model.CreateInterfaceStats(counters.rowCount);
    model.StartWatching();
    model.ValidateSelectedInterface();
    model.WatchSelectedInterface();
  }
  void Seconds(int count) {
    for (int i = 0; i < count; ++i) {
      counters.clockMs += 1000;
      model.OnStatisticsTick();
    }
  }
  int32_t Watched() const { return model.settings.selectedInterface; }
};

// Each start reads "eth" (the row) and "ethid" (the identity) as some version stored them.
TEST(LinksModel, EachStartWatchesTheStoredInterfaceWhereverItsRowNowStands) {
  const std::vector<Row> moved = {kLoopback, kDockUp, kWiredUp, kWifiUp};
  const std::vector<Row> withoutIds = {{"lo", 0, kSoftwareLoopbackType, true, 0}, {"Wired Adapter", 0, 6, true, 9},
                                       {"Wireless Adapter", 0, kWirelessType, true, 9}};
  const struct {
    const char* what;
    std::vector<Row> rows;
    bool sums;
    int32_t eth;
    const char* ethid;
    int32_t watched;
    Strings logs;
  } cases[] = {
      {"rows moved: a dock listed before it", moved, true, 2, "0047000001000000", 3,
       {"Wireless_Adapter_Quintrel.csv"}},
      {"missing at sign-in: nothing watched", {kLoopback, kWiredUp}, true, 2, "0047000001000000", kNoRow, {}},
      {"all links", moved, true, -2, "all", kAllLinksRow, {"All_links_Quintrel.csv"}},
      {"all links where the table tells no hardware: the first row, as before", moved, false, -2, "all", 0,
       {"lo_Quintrel.csv"}},
      {"a damaged identity: the row", moved, true, 2, "47000001000000", 2, {"Wired_Adapter_Quintrel.csv"}},
      {"an older version's profile: the row", moved, true, 1, nullptr, 1, {"Docking_Station_NIC_Quintrel.csv"}},
      {"an older system, no identities: the row", withoutIds, false, 2, "0047000001000000", 2,
       {"Wireless_Adapter_Quintrel.csv"}},
      {"nothing stored: the first row that counted traffic", moved, true, kNoRow, nullptr, 2,
       {"Wired_Adapter_Quintrel.csv"}},
  };
  for (const auto& c : cases) {
    LinksMeter meter;
    meter.counters.sumsAllLinks = c.sums;
    meter.Table(c.rows);
    meter.Start(c.eth, c.ethid);
    meter.Seconds(2);
    EXPECT_EQ(meter.Watched(), c.watched) << c.what;
    EXPECT_EQ(meter.logs.openedNames, c.logs) << c.what;
    EXPECT_EQ(meter.view.messages, Strings{}) << c.what;
  }
}

// The Wi-Fi adapter is stored but not listed at sign-in, or goes while the meter runs. Nothing else is
// watched while it may still come (30 s after the start or the last notice of a change): nothing at
// all at sign-in, its own row, which counts nothing, when it went. Then the first-start choice stands
// in; once a table read lists it (in a row of its own after the others, when it is new), it is watched
// again.
TEST(LinksModel, AMissingInterfaceIsWaitedForThenStoodInForUntilItComes) {
  const std::vector<Row> before = {kLoopback, kWiredUp}, after = {kLoopback, kWiredUp, kWifiUp};
  Row wifiGone = kWifiUp;
  wifiGone.present = false;
  const std::vector<Row> gone = {kLoopback, kWiredUp, wifiGone};
  struct Step {
    int seconds;
    bool notice;  // an interface came or went
    const std::vector<Row>* table;
    int32_t watched;
    const char* what;
  };
  const Step waitThenStandIn[] = {
      {29, false, nullptr, kNoRow, "29 s after the start: waited for"},
      {1, false, nullptr, 1, "30 s: the wired link stands in"},
      {0, false, &after, 1, "listed now, not yet read"},
      {5, false, nullptr, 2, "the table read every 5 s finds it"},
  };
  const Step noticesRestartTheWait[] = {
      {20, true, nullptr, kNoRow, "a notice at 20 s"},
      {29, false, nullptr, kNoRow, "the wait starts again"},
      {1, false, nullptr, 1, "30 s after the notice: the stand-in"},
      {3, true, &after, 2, "a notice as it comes: watched at once"},
  };
  const Step goneWhileWatched[] = {
      {0, false, &after, 2, "there at the start"},
      {5, true, &gone, 2, "gone: its row stays, counting nothing"},
      {30, false, nullptr, 1, "30 s after: the stand-in"},
      {2, true, &after, 2, "back in its row"},
  };
  const struct {
    std::vector<Step> steps;
    Strings logs;
  } scenarios[] = {
      {{std::begin(waitThenStandIn), std::end(waitThenStandIn)},
       {"Wired_Adapter_Quintrel.csv", "Wireless_Adapter_Quintrel.csv"}},
      {{std::begin(noticesRestartTheWait), std::end(noticesRestartTheWait)},
       {"Wired_Adapter_Quintrel.csv", "Wireless_Adapter_Quintrel.csv"}},
      {{std::begin(goneWhileWatched), std::end(goneWhileWatched)},
       {"Wireless_Adapter_Quintrel.csv", "Wired_Adapter_Quintrel.csv"}},
  };
  for (const auto& scenario : scenarios) {
    LinksMeter meter;
    meter.profile.ints["DeviceSpeedIndex2"] = 4;
    meter.Table(scenario.steps[0].table != nullptr ? *scenario.steps[0].table : before);
    meter.Start(2, "0047000001000000");
    for (const Step& step : scenario.steps) {
      meter.Seconds(step.seconds);
      if (step.table != nullptr) meter.Table(*step.table);
      if (step.notice) meter.model.InterfacesChanged();
      EXPECT_EQ(meter.Watched(), step.watched) << step.what;
      if (step.watched == 2) EXPECT_EQ(meter.model.SelectedFigures()->currentReceived, 0u) << step.what;
    }
    EXPECT_EQ(meter.logs.openedNames, scenario.logs);
    EXPECT_EQ(meter.model.GetDeviceSpeedIndex(2), 4) << "the new row's preset, as stored for its number";
    EXPECT_EQ(meter.view.messages, Strings{}) << "no message box for an adapter not there yet";
  }
}

// Configure's choice goes to the profile as the row ("eth", all an older version reads) and the
// identity ("ethid"); a chosen interface that is missing stays as it was stored.
TEST(LinksModel, ClosingConfigureStoresTheChoiceByRowAndIdentity) {
  const std::vector<Row> moved = {kLoopback, kDockUp, kWiredUp, kWifiUp}, missing = {kLoopback, kWiredUp};
  const std::vector<Row> withoutIds = {{"lo", 0, kSoftwareLoopbackType, true, 0}, {"Wired Adapter", 0, 6, true, 9},
                                       {"Wireless Adapter", 0, kWirelessType, true, 9}};
  const struct {
    const char* what;
    const std::vector<Row>& rows;
    int32_t eth;
    const char* ethid;
    int seconds;
    std::vector<int32_t> clicks;
    int32_t shown;  // the entry Configure shows chosen before the clicks
    int32_t storedRow;
    const char* storedId;  // null: never written
  } cases[] = {
      {"a row clicked", moved, 3, "0047000001000000", 0, {2}, 3, 2, "0006000001000000"},
      {"All links clicked", moved, 3, "0047000001000000", 0, {kAllLinksRow}, 3, -2, "all"},
      {"missing, nothing clicked", missing, 2, "0047000001000000", 0, {}, kMissingRow, 2, "0047000001000000"},
      {"missing, a stand-in watched", missing, 2, "0047000001000000", 31, {}, kMissingRow, 2, "0047000001000000"},
      {"missing, a row clicked, then the missing entry", missing, 2, "0047000001000000", 0, {1, kMissingRow},
       kMissingRow, 2, "0047000001000000"},
      {"a first start", moved, kNoRow, nullptr, 0, {}, 2, 2, "0006000001000000"},
      {"an older system", withoutIds, 1, nullptr, 0, {2}, 1, 2, nullptr},
  };
  for (const auto& c : cases) {
    LinksMeter meter;
    meter.Table(c.rows);
    meter.Start(c.eth, c.ethid);
    meter.Seconds(c.seconds);
    EXPECT_EQ(meter.model.ChosenEntry(), c.shown) << c.what;
    for (const int32_t entry : c.clicks) meter.model.SelectInterface(entry);
    meter.model.WriteConfigureSettings();
    EXPECT_EQ(meter.profile.ints["eth"], c.storedRow) << c.what;
    const auto id = meter.profile.texts.find("ethid");
    EXPECT_EQ(id != meter.profile.texts.end() ? id->second : "(none)", c.storedId ? c.storedId : "(none)") << c.what;
  }
}

// While the stored Wi-Fi adapter is gone, Configure lists it first as missing and chosen, then "All
// links" and the rows, without the filter row and the row the adapter held.
TEST(LinksModel, ConfigureListsTheMissingInterfaceFirst) {
  LinksMeter meter;
  const Row filter{"Wireless Adapter-QoS Packet Scheduler-0000", 0x47000002000000, kWirelessType, true, 9000, true};
  meter.Table({kLoopback, kWiredUp, kWifiUp, filter});
  meter.counters.aliases[2] = "Wi-Fi";
  meter.Start(2, "0047000001000000");
  ASSERT_EQ(meter.Watched(), 2);
  int32_t entries[8] = {};
  EXPECT_EQ(std::vector<int32_t>(entries, entries + meter.model.ListInterfaces(false, entries, 8)),
            (std::vector<int32_t>{kAllLinksRow, 0, 1, 2}));

  meter.counters.facts[2].present = false;
  meter.model.InterfacesChanged();
  EXPECT_EQ(meter.model.ChosenEntry(), kMissingRow);
  EXPECT_EQ(std::vector<int32_t>(entries, entries + meter.model.ListInterfaces(false, entries, 8)),
            (std::vector<int32_t>{kMissingRow, kAllLinksRow, 0, 1}));
  EXPECT_EQ(std::vector<int32_t>(entries, entries + meter.model.ListInterfaces(true, entries, 8)),
            (std::vector<int32_t>{kMissingRow, kAllLinksRow, 0, 1, 2, 3}));
  EXPECT_STREQ(meter.model.InterfaceDescription(kMissingRow), "Wireless Adapter");
  EXPECT_STREQ(meter.model.InterfaceAlias(kMissingRow), "Wi-Fi");
  EXPECT_STREQ(meter.model.InterfaceDescription(kAllLinksRow), "All links");
}

// "All links" logs to the byte what its members moved: each from its own baseline, a link that joins
// from the reading it joins at, and neither the loopback's nor a VPN tunnel's traffic.
TEST(LinksModel, AllLinksLogsTheExactSumOfItsLinks) {
  LinksMeter meter;
  const Row vpn{"VPN Tunnel", kVpn, kTunnelType, true, 100};
  meter.Table({kLoopback, kWiredUp, kWifiUp, vpn, {"Docking Station NIC", kDock, 6, true, 50000}});
  meter.counters.rowCount = 4;
  meter.Start(-2, "all");
  ASSERT_EQ(meter.Watched(), kAllLinksRow);
  const struct {
    int32_t row;
    uint64_t in, out;
  } perSecond[] = {{0, 7, 7}, {1, 1000, 100}, {2, 3000, 300}, {3, 500, 500}, {4, 200, 20}};
  for (int second = 1; second <= 60; ++second) {
    if (second == 21) meter.counters.rowCount = 5;  // the dock is listed
    for (const auto& link : perSecond) {
      meter.counters.facts[link.row].inOctets += link.in;
      meter.counters.facts[link.row].outOctets += link.out;
    }
    meter.Seconds(1);
  }
  const RecordedLog* log = meter.logs.Log("All_links_Quintrel.csv");
  ASSERT_NE(log, nullptr);
  EXPECT_EQ(log->text.rfind("Quintrel V1.33 Log file for interface: All links\r\n", 0), 0u) << log->text;
  // The first second is the baseline; the dock counts from its second one.
  const std::string line = log->text.substr(log->text.find("\r\n\r\n") + 4);
  EXPECT_EQ(line, "2003,5,14,3,10,20,30," + std::to_string(59 * 400 + 39 * 20) + "," +
                      std::to_string(59 * 4000 + 39 * 200) + ",\r\n");
}

}  // namespace
