// Discovery and counters inside a network namespace that namespace_discovery.sh builds; skipped
// unless that script tells what to expect.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "sampling/ip_helper_win.h"
#include "support/udp_socket_win.h"

namespace {

std::vector<std::string> Words(const char* text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// QUINTREL_NETNS_INTERFACES: every interface name of the namespace, separated by blanks.
// QUINTREL_NETNS_TRAFFIC: interface, its address, the peer's address, the port where the peer answers
// each datagram with its first bytes, and how many bytes those are.
const char* Expectation(const char* name) {
  const char* value = getenv(name);
  return value != nullptr && value[0] != '\0' ? value : nullptr;
}

std::vector<std::string> Descriptions(const CIpHelper& helper) {
  std::vector<std::string> descriptions;
  for (uint32_t i = 0; i < helper.Count(); ++i) descriptions.push_back(helper.Description(int32_t(i)));
  return descriptions;
}

int32_t FindRow(const CIpHelper& helper, const std::string& description) {
  const std::vector<std::string> all = Descriptions(helper);
  const auto found = std::find(all.begin(), all.end(), description);
  return found == all.end() ? -1 : int32_t(found - all.begin());
}

TEST(NamespaceDiscovery, ListsEveryInterfaceUnderItsOwnNameInAStableOrder) {
  const char* expected = Expectation("QUINTREL_NETNS_INTERFACES");
  if (expected == nullptr) GTEST_SKIP() << "run by namespace_discovery.sh";
  std::vector<std::string> names = Words(expected);
  ASSERT_GT(names.size(), 10u);

  CIpHelper helper;
  ASSERT_EQ(helper.DiscoverInterfaces(), nullptr);
  const std::vector<std::string> firstOrder = Descriptions(helper);
  std::vector<std::string> found = firstOrder;
  std::sort(found.begin(), found.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(found, names);

  ASSERT_EQ(helper.DiscoverInterfaces(), nullptr);
  EXPECT_EQ(Descriptions(helper), firstOrder) << "row i stays interface i";
}

TEST(NamespaceDiscovery, TrafficAcrossOneVethPairShowsInThatInterfacesCountersOnly) {
  const char* traffic = Expectation("QUINTREL_NETNS_TRAFFIC");
  if (traffic == nullptr) GTEST_SKIP() << "run by namespace_discovery.sh";
  const std::vector<std::string> words = Words(traffic);
  ASSERT_EQ(words.size(), 5u);
  const std::string& name = words[0];
  const std::string& localAddress = words[1];
  const std::string& peerAddress = words[2];
  const uint16_t answerPort = uint16_t(atoi(words[3].c_str()));
  const uint32_t answerSize = uint32_t(atoi(words[4].c_str()));

  CIpHelper helper;
  ASSERT_EQ(helper.DiscoverInterfaces(), nullptr);
  const int32_t row = FindRow(helper, name);
  ASSERT_GE(row, 0) << name;
  const int32_t quietRow = row == 0 ? 1 : 0;  // the loopback or another pair, which this traffic avoids
  UdpSocket socket(localAddress.c_str());
  ASSERT_TRUE(socket.Valid());

  constexpr int kCount = 100, kSize = 1000;
  // Each datagram crosses the pair as an Ethernet frame: 14 bytes of Ethernet, 20 of IPv4, 8 of UDP.
  constexpr uint32_t kFrameOverhead = 14 + 20 + 8;
  const uint32_t sentBytes = kCount * (kSize + kFrameOverhead);
  const uint32_t receivedBytes = kCount * (answerSize + kFrameOverhead);
  // Room for one address resolution exchange and little else; IPv6 is off in the namespace.
  constexpr uint32_t kSlack = 256;
  const CounterReading before = helper.ReadCounters(row);
  const CounterReading quietBefore = helper.ReadCounters(quietRow);
  ASSERT_EQ(socket.SendEachAndAwaitReturn(peerAddress.c_str(), answerPort, kSize, kCount), kCount);
  const CounterReading after = helper.ReadCounters(row);
  const CounterReading quietAfter = helper.ReadCounters(quietRow);

  const uint32_t sent = after.sent - before.sent, received = after.received - before.received;
  EXPECT_GE(sent, sentBytes);
  EXPECT_LE(sent, sentBytes + kSlack);
  EXPECT_GE(received, receivedBytes);
  EXPECT_LE(received, receivedBytes + kSlack);
  EXPECT_LE(uint32_t(quietAfter.sent - quietBefore.sent), kSlack) << helper.Description(quietRow);
  EXPECT_LE(uint32_t(quietAfter.received - quietBefore.received), kSlack) << helper.Description(quietRow);
}

}  // namespace
