// Interface discovery through the real IP helper library, and its failure messages.
#include "sampling/ip_helper_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fw/system_library_win.h"
#include "support/udp_socket_win.h"

namespace {

int32_t FindRow(const CIpHelper& helper, const char* description) {
  for (uint32_t i = 0; i < helper.Count(); ++i)
    if (strcmp(helper.Description(int32_t(i)), description) == 0) return int32_t(i);
  return -1;
}

TEST(IpHelper, FindsTheMachinesInterfacesWithDescriptionsAndCounters) {
  CIpHelper helper;
  ASSERT_EQ(helper.DiscoverInterfaces(), nullptr);
  ASSERT_GE(helper.Count(), 1u);
  for (uint32_t i = 0; i < helper.Count(); ++i) {
    const char* description = helper.Description(int32_t(i));
    EXPECT_GT(strlen(description), 0u) << "row " << i;
    EXPECT_LT(strlen(description), 256u) << "row " << i;
    helper.ReadCounters(int32_t(i));
  }
  EXPECT_GE(FindRow(helper, "lo"), 0) << "the loopback interface is listed under its system name";
}

TEST(IpHelper, LoopbackCountersSeeUdpTrafficSentToOurselves) {
  CIpHelper helper;
  ASSERT_EQ(helper.DiscoverInterfaces(), nullptr);
  const int32_t lo = FindRow(helper, "lo");
  ASSERT_GE(lo, 0);
  UdpSocket socket("127.0.0.1");
  ASSERT_TRUE(socket.Valid());

  constexpr int kCount = 200, kSize = 1000;
  const CounterReading before = helper.ReadCounters(lo);
  ASSERT_EQ(socket.SendEachAndAwaitReturn("127.0.0.1", socket.Port(), kSize, kCount), kCount);
  const CounterReading after = helper.ReadCounters(lo);

  // Other programs may use the loopback too, so only the lower bound is ours.
  EXPECT_GE(uint32_t(after.sent - before.sent), uint32_t(kCount * kSize));
  EXPECT_GE(uint32_t(after.received - before.received), uint32_t(kCount * kSize));
}

// The library beside this test program that has only the 32-bit entry points.
std::string NarrowLibraryPath() {
  char self[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self, length);
  return path.substr(0, path.find_last_of('\\') + 1) + "narrow_iphlpapi.dll";
}

// The system's library has the 64-bit counters; an older one only the 32-bit ones. Both count
// the same loopback traffic, and the rows stay the same interfaces in the same order.
TEST(IpHelper, CountsThroughTheWideCountersAndFallsBackToTheNarrowOnes) {
  CIpHelper wide;
  ASSERT_EQ(wide.DiscoverInterfaces(), nullptr);
  EXPECT_TRUE(wide.HasWideCounters());
  CIpHelper narrow(NarrowLibraryPath().c_str());
  ASSERT_EQ(narrow.DiscoverInterfaces(), nullptr) << NarrowLibraryPath();
  EXPECT_FALSE(narrow.HasWideCounters());
  ASSERT_EQ(narrow.Count(), wide.Count());
  for (uint32_t i = 0; i < wide.Count(); ++i) EXPECT_STREQ(narrow.Description(int32_t(i)), wide.Description(int32_t(i)));

  const int32_t lo = FindRow(wide, "lo");
  ASSERT_GE(lo, 0);
  UdpSocket socket("127.0.0.1");
  ASSERT_TRUE(socket.Valid());
  constexpr int kCount = 100, kSize = 1200;
  const CounterReading wideBefore = wide.ReadCounters(lo), narrowBefore = narrow.ReadCounters(lo);
  ASSERT_EQ(socket.SendEachAndAwaitReturn("127.0.0.1", socket.Port(), kSize, kCount), kCount);
  const CounterReading wideAfter = wide.ReadCounters(lo), narrowAfter = narrow.ReadCounters(lo);

  for (const CounterReading* reading : {&wideBefore, &narrowBefore, &wideAfter, &narrowAfter})
    EXPECT_TRUE(reading->ok);
  EXPECT_TRUE(wideAfter.wide);
  EXPECT_FALSE(narrowAfter.wide);
  EXPECT_EQ(wideAfter.interfaceIndex, narrowAfter.interfaceIndex);
  EXPECT_GE(wideAfter.received - wideBefore.received, uint64_t(kCount * kSize));
  EXPECT_GE(uint32_t(narrowAfter.received - narrowBefore.received), uint32_t(kCount * kSize));
}

TEST(IpHelper, ReleaseKeepsTheRowsAndTheLastReading) {
  CIpHelper helper;
  ASSERT_EQ(helper.DiscoverInterfaces(), nullptr);
  const int32_t lo = FindRow(helper, "lo");
  ASSERT_GE(lo, 0);
  const CounterReading last = helper.ReadCounters(lo);
  helper.Release();
  EXPECT_FALSE(helper.IsLoaded());
  EXPECT_TRUE(last.ok);
  EXPECT_FALSE(helper.ReadCounters(lo).ok) << "no library, no reading";
  EXPECT_STREQ(helper.Description(lo), "lo");

  ASSERT_EQ(helper.DiscoverInterfaces(), nullptr) << "discovery can run again";
  EXPECT_EQ(FindRow(helper, "lo"), lo);
}

void ExpectFailure(const char* library, const char* message) {
  CIpHelper helper(library);
  const char* result = helper.DiscoverInterfaces();
  ASSERT_NE(result, nullptr) << library;
  EXPECT_STREQ(result, message) << library;
  EXPECT_EQ(helper.Count(), 0u);
  EXPECT_FALSE(helper.IsLoaded());
  EXPECT_FALSE(helper.ReadCounters(0).ok);
}

TEST(IpHelper, EachMissingPieceHasItsOwnMessage) {
  ExpectFailure("quintrel-no-such-library.dll", "Unsupported OS!");
  ExpectFailure("kernel32.dll", "address2 error");
  // This program exports a "GetIfEntry" of its own, but no "GetIfTable".
  char self[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
  ExpectFailure(self, "getinfo addr error");
}

}  // namespace

namespace {

// A library of that name beside the program, as in a downloads folder, must not be the one loaded.
TEST(IpHelper, TheLibraryComesFromTheSystemDirectory) {
  char system[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(system, MAX_PATH);
  ASSERT_GT(length, 0u);
  const std::string expected = std::string(system, length) + "\\iphlpapi.dll";
  EXPECT_EQ(SystemLibraryPath("iphlpapi.dll"), expected);

  CIpHelper helper;
  ASSERT_EQ(helper.DiscoverInterfaces(), nullptr);
  char loaded[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameA(GetModuleHandleA("iphlpapi.dll"), loaded, MAX_PATH), 0u);
  EXPECT_EQ(_stricmp(loaded, expected.c_str()), 0) << loaded;
}

}  // namespace
