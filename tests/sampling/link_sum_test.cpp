// "All links" over tables of readings: links joining and leaving, a member's wrap and restart and a
// resume; the sum never spikes, never falls and loses nothing.
#include "sampling/link_sum.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t kUp = kOperStatusOperational, kDown = 2;
constexpr uint64_t kGigabit = 1000000000u;

struct Link {
  uint64_t luid;
  uint64_t in, out;
  uint32_t status = kUp;
  bool wide = true;
  uint32_t index = 0;  // the LUID when 0
};

InterfaceFacts FactsOf(const Link& link) {
  InterfaceFacts row{kEthernetType, link.status, link.in, link.out, false};
  row.luid = link.luid;
  row.hardware = true;
  row.wide = link.wide;
  row.index = link.index != 0 ? link.index : uint32_t(link.luid);
  row.linkBitsPerSecond = kGigabit;
  return row;
}

struct Reading {
  uint32_t atMs;
  std::vector<Link> table;
  uint64_t totalReceived, totalSent;  // what the sum holds after this reading
  const char* what;
  uint32_t epoch = 0;
};

void RunSum(const char* name, const std::vector<Reading>& readings) {
  LinkSum sum;
  uint64_t lastReceived = 0;
  for (const Reading& r : readings) {
    std::vector<InterfaceFacts> rows;
    for (const Link& link : r.table) rows.push_back(FactsOf(link));
    const CounterReading reading = sum.Take(rows.data(), uint32_t(rows.size()), r.epoch, r.atMs);
    EXPECT_TRUE(reading.ok && reading.wide) << name << ": " << r.what;
    EXPECT_EQ(reading.received, r.totalReceived) << name << ": " << r.what;
    EXPECT_EQ(reading.sent, r.totalSent) << name << ": " << r.what;
    EXPECT_GE(reading.received, lastReceived) << name << ": the sum never falls";
    lastReceived = reading.received;
  }
}

TEST(LinkSum, JoiningAndLeavingLinksNeitherSpikeNorLoseTraffic) {
  RunSum("join and leave",
      {
          {1000, {{1, 1000, 100}, {2, 5000, 500}}, 0, 0, "two baselines"},
          {2000, {{1, 1600, 160}, {2, 5400, 540}}, 1000, 100, "both counted"},
          {3000, {{1, 2000, 200}, {2, 5800, 580}, {3, 900000000, 7000000}}, 1800, 180, "a dock joins at its baseline"},
          {4000, {{1, 2100, 210}, {2, 6000, 600, kDown}, {3, 900000050, 7000005}}, 2150, 215,
           "the wired link goes down: what it moved until then counts"},
          {5000, {{1, 2200, 220}, {2, 9000, 900, kDown}, {3, 900000100, 7000010}}, 2300, 230, "and nothing after"},
          {6000, {{1, 2300, 230}, {2, 9100, 910}}, 2400, 240, "the dock unplugged; the wired link back at its baseline"},
          {7000, {{1, 2300, 230}, {2, 9200, 920}, {3, 900000200, 7000020}}, 2500, 250, "the dock back: a new baseline"},
      });
}

TEST(LinkSum, EachMembersWrapsAndRestartsAreJudgedOnTheirOwn) {
  constexpr uint64_t k2To32 = uint64_t(1) << 32;
  RunSum("wrap and restart",
      {
          {1000, {{1, k2To32 - 100, 10, kUp, false}, {2, 800000, 900}}, 0, 0, "baselines"},
          {2000, {{1, 50, 20, kUp, false}, {2, 801000, 950}}, 1150, 60, "a 32-bit member wraps"},
          {3000, {{1, 150, 30, kUp, false}, {2, 300, 5}}, 1250, 70, "the other restarts: a new baseline, not a fall"},
          {4000, {{1, 250, 40, kUp, false}, {2, 400, 15}}, 1450, 90, "both counted again"},
          {5000, {{1, 350, 50, kUp, false, 9}, {2, 500, 25}}, 1550, 100, "a new index for the same LUID: a baseline"},
          {6000, {{1, 450, 60, kUp, false, 9}, {2, 600, 35}}, 1750, 120, ""},
          {7000, {{1, 550, 70, kUp, false, 9}, {2, 700, 45}}, 1750, 120, "after a resume", 1},
          {8000, {{1, 650, 80, kUp, false, 9}, {2, 800, 55}}, 1950, 140, "", 1},
      });
}

// The statistics read the sum with a tracker of their own, less often than the members are read:
// sixteen links each at full speed are counted whole, and a full 64-bit sum is believed.
TEST(LinkSum, TheSumsOwnReaderBelievesEveryStepTheMembersMade) {
  LinkSum sum;
  CounterTracker statistics;
  std::vector<InterfaceFacts> rows;
  for (uint64_t i = 1; i <= 16; ++i) rows.push_back(FactsOf({i, 0, 0}));
  uint64_t counted = 0, moved = 0;
  for (uint32_t tick = 0; tick <= 50; ++tick) {
    const uint32_t atMs = tick * 200;
    if (tick > 0)
      for (InterfaceFacts& row : rows) row.inOctets += kGigabit / 8 * 2 / 5, moved += kGigabit / 8 * 2 / 5;
    const CounterReading reading = sum.Take(rows.data(), uint32_t(rows.size()), 0, atMs);
    if (tick % 5 != 0) continue;
    const CounterStep step = statistics.Take(reading);
    if (step.kind == CounterStepKind::kCounted) counted += step.received;
  }
  EXPECT_EQ(counted, moved);
  EXPECT_EQ(sum.MemberCount(), 16u);
}

}  // namespace
