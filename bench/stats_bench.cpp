// The cost of one statistics update and one graph update, and proof that neither allocates.
#include <benchmark/benchmark.h>

#include <memory>

#include "alloc_counter.h"
#include "support/test_meter.h"

namespace {

struct Engine : TestMeter {
  Engine() {
    logs.recordText = false;
    model.CreateInterfaceStats(1);
    model.WatchSelectedInterface();
  }

};

void ReportAllocations(benchmark::State& state, uint64_t before) {
  const double perCall = double(AllocationCount() - before) / double(state.iterations());
  state.counters["allocs_per_call"] = perCall;
  if (perCall > 0) state.SkipWithError("allocates per call");
}

void BM_UpdateStatistics(benchmark::State& state) {
  StatsRig e;
  e.stats.UpdateStatistics();
  uint32_t step = 0;
  const uint64_t before = AllocationCount();
  for (auto _ : state) {
    e.counters.AddTraffic(0, 1000 + (++step & 1023), 50000 + step);
    e.stats.UpdateStatistics();
    benchmark::DoNotOptimize(e.figures.avgReceivedHour);
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_UpdateStatistics);

// The same statistics over "All links": sixteen hardware links, each through a counter tracker of
// its own, summed and read as one row.
void BM_UpdateStatisticsAllLinks(benchmark::State& state) {
  MonitorSettings settings;
  StubCounters counters;
  counters.sumsAllLinks = true;
  for (int row = 0; row < StubCounters::kRows; ++row) {
    InterfaceFacts& link = counters.facts[row];
    link = InterfaceFacts{kEthernetType, kOperStatusOperational, 0, 0, false};
    link.luid = 0x0006000000000000u | uint64_t(row + 1) << 24;
    link.index = uint32_t(row + 1);
    link.hardware = link.wide = true;
    link.linkBitsPerSecond = 1000000000u;
  }
  auto stats = std::make_unique<CTrafficStats>(settings, counters, kAllLinksRow);
  stats->UpdateStatistics();
  uint32_t step = 0;
  uint64_t moved = 0;
  const uint64_t before = AllocationCount();
  for (auto _ : state) {
    ++step;
    for (InterfaceFacts& link : counters.facts) {
      link.inOctets += 50000 + (step & 1023);
      moved += 50000 + (step & 1023);
    }
    stats->UpdateStatistics();
    benchmark::DoNotOptimize(stats->Figures().avgReceivedHour);
  }
  ReportAllocations(state, before);
  if (stats->Figures().totalReceived != moved) state.SkipWithError("the sum lost or invented traffic");
  state.counters["links"] = double(counters.allLinks.MemberCount());
}
BENCHMARK(BM_UpdateStatisticsAllLinks);

// The graph tick: the column update and the panel it paints. Arg 0: manual scale. Arg 1: auto-scale
// with steady traffic. Arg 2: auto-scale whose top changes on every tick, so every call also
// rescales all columns.
void BM_UpdateGraph(benchmark::State& state) {
  Engine e;
  e.model.SetInterfaceAutoScale(state.range(0) != 0 ? 1 : 0);
  const bool rescaleEveryTick = state.range(0) == 2;
  e.model.OnGraphTick();
  uint32_t step = 0;
  const uint64_t before = AllocationCount();
  for (auto _ : state) {
    ++step;
    const uint32_t sent = rescaleEveryTick ? 100000 + (step & 1) * 50000 : 3000 + (step & 255);
    // The largest raw value keeps growing with the rescaling variant, so its top moves every time.
    e.counters.AddTraffic(0, rescaleEveryTick ? sent + step * 64 : sent, 2 * sent);
    e.model.OnGraphTick();
    benchmark::DoNotOptimize(e.model.SelectedFigures()->sentColumns[0]);
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_UpdateGraph)->Arg(0)->Arg(1)->Arg(2);

// The whole once-a-second tick: statistics, tray picture, panel paint, tooltip and the log minute.
void BM_StatisticsTick(benchmark::State& state) {
  Engine e;
  uint32_t step = 0;
  const uint64_t before = AllocationCount();
  for (auto _ : state) {
    e.counters.AddTraffic(0, 2000 + (++step & 511), 90000);
    e.model.OnStatisticsTick();
  }
  ReportAllocations(state, before);
  state.counters["log_lines"] = double(e.logs.files.begin()->second->appendCount - 1);
}
BENCHMARK(BM_StatisticsTick);

}  // namespace
