// The IP helper's newer entry points through a library whose table the test writes: a row read by
// its LUID when rows move and its index goes to another adapter, the rows Configure lists, the
// default route, all links summed to the byte into the real log file, and notices of interfaces that
// come and go. Without the newer entry points nothing of this is offered.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "log/interface_log.h"
#include "log/log_file_win.h"
#include "log/log_writer.h"
#include "sampling/interface_rows.h"
#include "sampling/ip_helper_win.h"
#include "stats/traffic_stats.h"
#include "support/temp_directory_win.h"

namespace {

std::string LibraryBesideTests(const char* name) {
  char self[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string path(self, length);
  return path.substr(0, path.find_last_of('\\') + 1) + name;
}

struct Link {
  unsigned index;
  uint64_t luid;
  unsigned type;
  const char* flags;
  uint64_t in, out;
  const char* description;
  const char* alias;
  bool up = true;
};

// The table the library beside the tests reads, in a folder of the test's own.
class LinksTable {
 public:
  LinksTable() : path(folder.path + "\\links.txt") { SetEnvironmentVariableA("QUINTREL_LINKS", path.c_str()); }
  ~LinksTable() { SetEnvironmentVariableA("QUINTREL_LINKS", nullptr); }

  // Written beside and moved in place, so that the library never reads half a table.
  void Write(const std::vector<Link>& links) const {
    const std::string next = path + ".next";
    FILE* file = fopen(next.c_str(), "w");
    ASSERT_NE(file, nullptr);
    for (const Link& l : links)
      fprintf(file, "%u|%016llx|%u|%s|%s|%llu|%llu|1000000000|%s|%s\n", l.index, (unsigned long long)l.luid, l.type,
              l.up ? "up" : "down", l.flags, (unsigned long long)l.in, (unsigned long long)l.out, l.description,
              l.alias);
    fclose(file);
    ASSERT_TRUE(MoveFileExA(next.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
  }

  TempDirectory folder;

 private:
  std::string path;
};

constexpr uint64_t kLo = 0x18000000000000, kWired = 0x6000001000000, kWifi = 0x47000001000000,
                   kWifiFilter = 0x47000002000000, kDock = 0x6000002000000;
constexpr unsigned kEthernet = 6, kWireless = 71, kLoopback = 24;

Link Loopback(uint64_t traffic = 0) {
  return {1, kLo, kLoopback, "-", traffic, traffic, "lo", "Loopback Pseudo-Interface 1"};
}
Link Wired(uint64_t in, uint64_t out) {
  return {7, kWired, kEthernet, "h", in, out, "Wired Adapter", "Ethernet"};
}
Link Wifi(unsigned index, uint64_t in, uint64_t out, bool up = true) {
  return {index, kWifi, kWireless, "h", in, out, "Wireless Adapter", "Wi-Fi", up};
}
Link WifiFilter(unsigned index, uint64_t in, uint64_t out) {
  return {index, kWifiFilter, kWireless, "f", in, out, "Wireless Adapter-QoS Packet Scheduler-0000", "Wi-Fi-QoS"};
}
Link Dock(unsigned index, uint64_t in, uint64_t out) {
  return {index, kDock, kEthernet, "h", in, out, "Docking Station NIC", "Ethernet 2"};
}

class Links : public ::testing::Test {
 protected:
  void Discover(const std::vector<Link>& links) {
    table.Write(links);
    ASSERT_EQ(helper.DiscoverInterfaces(), nullptr);
  }
  std::vector<InterfaceFacts> Facts() {
    std::vector<InterfaceFacts> facts(helper.Count() + 4);
    facts.resize(helper.ReadInterfaceFacts(facts.data(), uint32_t(facts.size())));
    return facts;
  }

  LinksTable table;
  CIpHelper helper{LibraryBesideTests("links_iphlpapi.dll").c_str()};
};

TEST_F(Links, AnAdaptersRowIsReadByItsLuidWhenRowsMoveAndItsIndexGoesToAnother) {
  Discover({Loopback(), Wired(1000, 100), Wifi(9, 5000, 500), WifiFilter(10, 5000, 500)});
  ASSERT_EQ(helper.Count(), 4u);
  EXPECT_EQ(helper.InterfaceIdentity(2), kWifi);
  EXPECT_STREQ(helper.InterfaceAlias(2), "Wi-Fi");
  CounterReading wifi = helper.ReadCounters(2);
  EXPECT_TRUE(wifi.ok && wifi.wide);
  EXPECT_EQ(wifi.received, 5000u);

  // After sleep the Wi-Fi adapter is listed first under index 14, and index 9 names a dock.
  table.Write({Wifi(14, 6000, 600), Loopback(), Wired(1000, 100), Dock(9, 900000000, 9000000), WifiFilter(15, 6000, 600)});
  wifi = helper.ReadCounters(2);
  EXPECT_TRUE(wifi.ok);
  EXPECT_EQ(wifi.received, 6000u) << "never the dock's counters";
  EXPECT_EQ(wifi.interfaceIndex, 14u) << "its new index: a new baseline";
  std::vector<InterfaceFacts> facts = Facts();
  ASSERT_EQ(facts.size(), 4u) << "rows keep their numbers";
  EXPECT_EQ(FindInterfaceRow(facts.data(), 4, kWifi, true), 2);
  EXPECT_EQ(FindInterfaceRow(facts.data(), 4, kDock, true), kNoRow) << "not in the table yet";

  EXPECT_EQ(helper.InterfacesChanged(), 5u) << "the dock gets a row after the others";
  EXPECT_STREQ(helper.Description(4), "Docking Station NIC");
  EXPECT_EQ(helper.InterfaceIdentity(4), kDock);
  EXPECT_EQ(helper.ReadCounters(4).received, 900000000u);
  EXPECT_STREQ(helper.Description(2), "Wireless Adapter");

  table.Write({Loopback(), Wired(1000, 100), Dock(9, 900000000, 9000000)});
  EXPECT_FALSE(helper.ReadCounters(2).ok) << "gone: no reading at all";
  facts = Facts();
  EXPECT_FALSE(facts[2].present);
  EXPECT_EQ(FindInterfaceRow(facts.data(), uint32_t(facts.size()), kWifi, true), kNoRow);
  table.Write({Loopback(), Wired(1000, 100), Dock(9, 900000000, 9000000), Wifi(16, 7000, 700)});
  EXPECT_EQ(helper.ReadCounters(2).received, 7000u) << "back";
}

// The list Configure shows, and what a first start watches: the default route's interface, here a
// virtual switch's, before a busier adapter.
TEST_F(Links, ConfigureLeavesOutFilterRowsAndAFirstStartTakesTheDefaultRoute) {
  Discover({Loopback(), Wifi(9, 5000, 500), WifiFilter(10, 5000, 500),
            {11, 0x47000003000000, kWireless, "f", 5000, 500, "Wireless Adapter-WFP Native MAC Layer-0000", ""},
            {12, 0x6000009000000, kEthernet, "r", 800, 80, "Hyper-V Virtual Ethernet Adapter", "vEthernet (WSL)"}});
  const std::vector<InterfaceFacts> facts = Facts();
  EXPECT_EQ(ChooseFirstInterface(facts.data(), uint32_t(facts.size())), 4);
  int32_t entries[8] = {};
  const InterfaceListOptions options{false, helper.SumsAllLinks(), false, 1};
  const uint32_t listed = ListInterfaces(facts.data(), uint32_t(facts.size()), options, entries, 8);
  EXPECT_EQ(std::vector<int32_t>(entries, entries + listed), (std::vector<int32_t>{kAllLinksRow, 0, 1, 4}));
  EXPECT_STREQ(helper.InterfaceAlias(4), "vEthernet (WSL)");
  EXPECT_STREQ(helper.InterfaceDescription(kAllLinksRow), "All links");
}

std::string LastLine(const char* fileName) {
  FILE* file = fopen(fileName, "rb");
  if (file == nullptr) return "";
  char buffer[4096];
  std::string last;
  while (fgets(buffer, sizeof buffer, file) != nullptr)
    if (buffer[0] != '\0') last = buffer;
  fclose(file);
  return last;
}

class NoNotice final : public ILogNotice {
 public:
  void ShowNotice(const char*) override { ++shown; }
  int shown = 0;
};

// Two hardware links, one of them with a filter row, a virtual switch, a tunnel and the loopback,
// all moving; a third link that joins with counters of its own and the Wi-Fi link that leaves.
TEST_F(Links, AllLinksSumsTheHardwareLinksToTheByteAndLogsItUnderItsOwnName) {
  const Link vSwitch{12, 0x6000009000000, kEthernet, "-", 0, 0, "Hyper-V Virtual Ethernet Adapter", "vEthernet"};
  const Link tunnel{13, 0x83000001000000, 131, "h", 0, 0, "Teredo Tunneling Pseudo-Interface", "Teredo"};
  Link spare{20, 0x6000003000000, kEthernet, "h", 50000000, 4000000, "USB Ethernet", "Ethernet 3", false};
  auto moved = [](Link link, uint64_t in, uint64_t out) {
    link.in += in;
    link.out += out;
    return link;
  };
  Discover({Loopback(), Wired(1000, 100), WifiFilter(10, 5000, 500), Wifi(9, 5000, 500), vSwitch, tunnel, spare});
  ASSERT_TRUE(helper.SumsAllLinks());
  MonitorSettings settings;
  CTrafficStats stats(settings, helper, kAllLinksRow);
  const TrafficFigures& figures = stats.Figures();
  CLogSinkWin sink;
  InterfaceLog log;
  ASSERT_TRUE(log.OpenLog(sink, helper.InterfaceDescription(kAllLinksRow)));
  stats.UpdateStatistics();  // the baselines

  table.Write({Loopback(999), Wired(3000, 400), WifiFilter(10, 25000, 3500), Wifi(9, 25000, 3500), moved(vSwitch, 5000, 5000),
               moved(tunnel, 777, 777), spare});
  stats.UpdateStatistics();
  EXPECT_EQ(figures.totalReceived, 22000u);
  EXPECT_EQ(figures.totalSent, 3300u);

  spare.up = true;
  table.Write({Loopback(999), Wired(3000, 400), WifiFilter(10, 25500, 3600), Wifi(9, 25500, 3600, false), vSwitch, tunnel,
               spare});
  stats.UpdateStatistics();
  EXPECT_EQ(figures.totalReceived, 22500u) << "the Wi-Fi link's last growth; the USB link's counters are its baseline";
  table.Write({Loopback(999), Wired(3000, 400), WifiFilter(10, 99999, 9999), Wifi(9, 99999, 9999, false), vSwitch, tunnel,
               moved(spare, 4000, 40)});
  stats.UpdateStatistics();
  EXPECT_EQ(figures.totalReceived, 26500u);
  EXPECT_EQ(figures.totalSent, 3440u);
  EXPECT_EQ(helper.InterfaceOperStatus(kAllLinksRow), uint32_t(MIB_IF_OPER_STATUS_OPERATIONAL));

  NoNotice notice;
  TrafficLogWriter writer(notice);
  writer.Write(log.File(), log.TakeMinuteRecord(sink.Now(), figures.totalSent, figures.totalReceived, false));
  writer.Flush();
  log = InterfaceLog();
  EXPECT_NE(LastLine("All_links_Quintrel.csv").find(",3440,26500,"), std::string::npos)
      << LastLine("All_links_Quintrel.csv");
  EXPECT_EQ(notice.shown, 0);
}

int WaitingNotices(HWND window, UINT message) {
  for (int i = 0; i < 40; ++i) {
    MSG msg;
    if (PeekMessageA(&msg, window, message, message, PM_NOREMOVE)) break;
    Sleep(50);
  }
  Sleep(300);  // time for a second notice that should not come
  int count = 0;
  MSG msg;
  while (PeekMessageA(&msg, window, message, message, PM_REMOVE)) ++count;
  return count;
}

TEST_F(Links, InterfacesThatComeAndGoPostOneMessageUntilItIsTaken) {
  constexpr UINT kChanged = WM_APP + 21;
  Discover({Loopback(), Wired(1, 1)});
  HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(helper.FollowInterfaceChanges(window, kChanged));

  table.Write({Loopback(), Wired(1, 1), Wifi(9, 5, 5)});
  Sleep(200);
  table.Write({Loopback(), Wired(1, 1), Wifi(9, 5, 5), Dock(12, 5, 5)});
  EXPECT_EQ(WaitingNotices(window, kChanged), 1);
  EXPECT_EQ(helper.InterfacesChanged(), 4u);

  table.Write({Loopback(), Wired(1, 1), Dock(12, 5, 5)});
  EXPECT_EQ(WaitingNotices(window, kChanged), 1) << "taken, so the next change posts again";
  helper.InterfacesChanged();
  EXPECT_FALSE(helper.ReadCounters(2).ok);

  helper.Release();
  table.Write({Loopback(), Wired(1, 1)});
  EXPECT_EQ(WaitingNotices(window, kChanged), 0) << "no notice once the library is let go";
  DestroyWindow(window);
}

TEST(LinksNarrow, WithoutTheNewerEntryPointsNothingOfThisIsOffered) {
  CIpHelper narrow(LibraryBesideTests("narrow_iphlpapi.dll").c_str());
  ASSERT_EQ(narrow.DiscoverInterfaces(), nullptr);
  EXPECT_FALSE(narrow.SumsAllLinks() || narrow.ReadCounters(kAllLinksRow).ok);
  EXPECT_EQ(narrow.InterfaceIdentity(0) + narrow.InterfaceIdentity(kAllLinksRow), 0u);
  EXPECT_FALSE(narrow.FollowInterfaceChanges(GetDesktopWindow(), WM_APP));
}

}  // namespace
