// The counter tracker over tables of readings, each taken at its own time: wraps, restarts, failed
// reads and baselines, for 32-bit and 64-bit counters.
#include "sampling/counter_tracker.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint64_t k2To32 = uint64_t(1) << 32;
constexpr uint64_t kTenGigabit = 10000000000u;
constexpr uint64_t kGigabit = 1000000000u;
using Kind = CounterStepKind;

struct Step {
  uint32_t atMs;
  uint64_t sent, received;
  Kind kind;
  uint64_t countedSent, countedReceived;
  const char* what;
  uint32_t index = 7;
  uint32_t epoch = 0;
  bool ok = true;
};

struct Case {
  const char* name;
  bool wide;
  uint64_t linkBitsPerSecond;
  std::vector<Step> steps;
};

void RunCase(const Case& c) {
  CounterTracker tracker;
  for (const Step& step : c.steps) {
    CounterReading reading;
    reading.sent = step.sent;
    reading.received = step.received;
    reading.epoch = step.epoch;
    reading.ok = step.ok;
    reading.wide = c.wide;
    reading.interfaceIndex = step.index;
    reading.readAtMs = step.atMs;
    reading.linkBitsPerSecond = c.linkBitsPerSecond;
    const CounterStep taken = tracker.Take(reading);
    EXPECT_EQ(taken.kind, step.kind) << c.name << " at " << step.atMs << " ms: " << step.what;
    EXPECT_EQ(taken.sent, step.countedSent) << c.name << " at " << step.atMs << " ms: " << step.what;
    EXPECT_EQ(taken.received, step.countedReceived) << c.name << " at " << step.atMs << " ms: " << step.what;
  }
}

// 1.25 GB a second each way, as a 10 Gbit/s link carries it at full duplex.
constexpr uint64_t kFull10G = 1250000000u;

const Case kCases[] = {
    {"both 32-bit counters wrap in one interval on a 10 Gbit/s link",
     false,
     kTenGigabit,
     {
         {1000, 4000000000u, 3900000000u, Kind::kBaseline, 0, 0, "the first reading"},
         {2000, (4000000000u + kFull10G) % k2To32, (3900000000u + kFull10G) % k2To32, Kind::kCounted, kFull10G,
          kFull10G, "both wrapped"},
         {3000, (4000000000u + 2 * kFull10G) % k2To32, (3900000000u + 2 * kFull10G) % k2To32, Kind::kCounted,
          kFull10G, kFull10G, "and count on"},
     }},
    {"one counter wraps, with the link speed unknown",
     false,
     0,
     {
         {0, 4294967000u, 100, Kind::kBaseline, 0, 0, ""},
         {1000, 200, 300, Kind::kCounted, 496, 200, "4294967000 to 200 is 496 bytes"},
     }},
    {"counters reset to small values",
     false,
     kGigabit,
     {
         {0, 1000000000u, 2000000000u, Kind::kBaseline, 0, 0, ""},
         {1000, 1000050000u, 2000090000u, Kind::kCounted, 50000, 90000, ""},
         {2000, 70, 90, Kind::kBaseline, 0, 0, "far below what a second allows: started again"},
         {3000, 170, 290, Kind::kCounted, 100, 200, "counting on from the new counters"},
         {4000, 100, 290, Kind::kBaseline, 0, 0, "one counter fell a little: no wrap is that small"},
     }},
    {"an all-zero reading is a failed read",
     false,
     kGigabit,
     {
         {0, 500000, 800000, Kind::kBaseline, 0, 0, ""},
         {1000, 0, 0, Kind::kFailedRead, 0, 0, "a row read once with zero counters"},
         {2000, 500100, 800200, Kind::kCounted, 100, 200, "the old counters again: no spike"},
         {3000, 0, 0, Kind::kFailedRead, 0, 0, "gone: the platform answers with zero counters"},
         {4000, 0, 0, Kind::kFailedRead, 0, 0, "still gone"},
         {5000, 30, 40, Kind::kCounted, 30, 40, "back, counters begun at zero: all they hold moved since"},
         {6000, 130, 240, Kind::kCounted, 100, 200, ""},
         {7000, 0, 0, Kind::kFailedRead, 0, 0, ""},
         {7200, 3000000000u, 3000000000u, Kind::kBaseline, 0, 0, "more than a link carries since the zeros"},
     }},
    {"after an all-zero reading one 32-bit counter wrapped, the other counted on",
     false,
     kGigabit,
     {
         {1000, 4294000000u, 200000000u, Kind::kBaseline, 0, 0, ""},
         {2000, 0, 0, Kind::kFailedRead, 0, 0, ""},
         {3000, 100000, 200100000u, Kind::kCounted, 1067296, 100000, "a wrap, not counters begun again"},
         {4000, 0, 0, Kind::kFailedRead, 0, 0, ""},
         {5000, 200000, 5000, Kind::kCounted, 200000, 5000, "received fell further than a wrap: begun again"},
         {6000, 0, 0, Kind::kFailedRead, 0, 0, ""},
         {30000, 100, 200, Kind::kCounted, 100, 200, "both lower: begun again, though two wraps fit 25 s"},
     }},
    {"zeros stamped before the baseline do not widen what counters begun again may hold",
     false,
     kGigabit,
     {
         {100000, 0, 400, Kind::kBaseline, 0, 0, ""},
         {50000, 0, 0, Kind::kFailedRead, 0, 0, "a clock set back: fifty seconds earlier"},
         {100100, 2000000000u, 0, Kind::kBaseline, 0, 0, "two gigabytes in 0.1 s since the baseline"},
     }},
    {"64-bit counters that started again from zero under the same index",
     true,
     kGigabit,
     {
         {0, 70000000000u, 90000000000u, Kind::kBaseline, 0, 0, ""},
         {1000, 0, 0, Kind::kFailedRead, 0, 0, "the interface is gone, its row still answers"},
         {9000, 0, 0, Kind::kFailedRead, 0, 0, ""},
         {10000, 0, 0, Kind::kFailedRead, 0, 0, "back, and no traffic yet"},
         {11000, 5000, 200000, Kind::kCounted, 5000, 200000, "its first traffic"},
         {12000, 6000, 300000, Kind::kCounted, 1000, 100000, ""},
     }},
    {"a failed read keeps the baseline and its time",
     true,
     kGigabit,
     {
         {0, 1000, 1000, Kind::kBaseline, 0, 0, ""},
         {1000, 0, 0, Kind::kFailedRead, 0, 0, "no answer", 7, 0, false},
         {2000, 250001000u, 250001000u, Kind::kCounted, 250000000u, 250000000u,
          "two seconds at a gigabit: more than one second allows, counted over two"},
     }},
    {"all-zero counters from the start are a baseline",
     false,
     0,
     {
         {0, 0, 0, Kind::kBaseline, 0, 0, "an idle loopback"},
         {1000, 0, 0, Kind::kCounted, 0, 0, ""},
         {2000, 10, 20, Kind::kCounted, 10, 20, ""},
     }},
    {"an interface index that changed, or the platform's epoch",
     true,
     0,
     {
         {0, 5000, 6000, Kind::kBaseline, 0, 0, ""},
         {1000, 5100, 6100, Kind::kBaseline, 0, 0, "another index: other counters", 9},
         {2000, 5200, 6200, Kind::kCounted, 100, 100, "", 9},
         {3000, 5300, 6300, Kind::kBaseline, 0, 0, "resumed from sleep", 9, 1},
         {4000, 5400, 6400, Kind::kCounted, 100, 100, "", 9, 1},
         {5000, 0, 0, Kind::kBaseline, 0, 0, "back under a new index with counters begun at zero", 12, 1},
         {6000, 300, 700, Kind::kCounted, 300, 700, "its first traffic counts", 12, 1},
     }},
    {"a long pause counts everything moved meanwhile",
     true,
     kGigabit,
     {
         {0, 1000, 1000, Kind::kBaseline, 0, 0, ""},
         {3600000, 1000 + 300000000000u, 1000 + 5000000u, Kind::kCounted, 300000000000u, 5000000u,
          "an hour unwatched: 300 GB is within the hour of a gigabit link"},
     }},
    {"32-bit counters after a long pause wrap once",
     false,
     0,
     {
         {0, 2000000000u, 0, Kind::kBaseline, 0, 0, ""},
         {3600000, (2000000000u + 3000000000u) % k2To32, 500000, Kind::kCounted, 3000000000u, 500000,
          "3 GB sent while unwatched, the counter a little below where it was"},
     }},
    {"64-bit counters far above 2^32",
     true,
     40 * kTenGigabit,
     {
         {0, 50000000000000u, 90000000000000u, Kind::kBaseline, 0, 0, ""},
         {1000, 50000000000000u + 6000000000u, 90000000000000u + 9000000000u, Kind::kCounted, 6000000000u,
          9000000000u, "more than 2^32 in one second on a 400 Gbit/s link"},
         {2000, 50000000000000u + 6000000000u - 1, 90000000000000u + 9000000000u, Kind::kBaseline, 0, 0,
          "a 64-bit counter that fell started again"},
     }},
    {"more than the link can carry is no traffic",
     true,
     kGigabit,
     {
         {0, 1000, 1000, Kind::kBaseline, 0, 0, ""},
         {1000, 1000 + 100000000000u, 2000, Kind::kBaseline, 0, 0, "100 GB in a second of a gigabit link"},
         {1000, 1000 + 100000000000u, 2000, Kind::kCounted, 0, 0, "read twice in one millisecond"},
     }},
    {"a reported speed too low for the traffic is not believed",
     true,
     10000000,
     {
         {0, 0, 0, Kind::kBaseline, 0, 0, ""},
         {1000, 0, 200000000u, Kind::kCounted, 0, 200000000u, "a virtual adapter that says 10 Mbit/s"},
     }},
    {"the clock wraps at 2^32 ms",
     false,
     kGigabit,
     {
         {4294966796u, 100, 100, Kind::kBaseline, 0, 0, ""},
         {500, 100 + 200000000u, 100, Kind::kCounted, 200000000u, 0, "one second later"},
     }},
};

TEST(CounterTracker, TablesOfReadings) {
  for (const Case& c : kCases) RunCase(c);
}

TEST(CounterTracker, RestartMakesTheNextReadingTheBaseline) {
  CounterTracker tracker;
  CounterReading reading;
  EXPECT_FALSE(tracker.HasBaseline());
  reading.ok = false;
  EXPECT_EQ(tracker.Take(reading).kind, Kind::kFailedRead);
  EXPECT_FALSE(tracker.HasBaseline()) << "a failed read is no baseline";
  reading.ok = true;
  reading.sent = 10;
  EXPECT_EQ(tracker.Take(reading).kind, Kind::kBaseline);
  reading.sent = 20;
  reading.readAtMs = 1000;
  EXPECT_EQ(tracker.Take(reading).sent, 10u);
  tracker.Restart();
  reading.sent = 30;
  reading.readAtMs = 2000;
  EXPECT_EQ(tracker.Take(reading).kind, Kind::kBaseline);
}

}  // namespace
