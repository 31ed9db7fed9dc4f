// The cost of one graph panel paint and one tray update, and proof that neither allocates.
#include <benchmark/benchmark.h>

#include "alloc_counter.h"
#include "render/graph_painter.h"
#include "support/test_meter.h"
#include "render/tray_picture.h"

namespace {

void FillBusyStats(CTrafficStats& s) {
  for (int x = 0; x < CTrafficStats::kColumnSlots; ++x)
    s.sentColumns[x] = x % 50, s.receivedColumns[x] = x % 49;
  s.currentReceived = 123456;
  s.currentSent = 7890;
  s.totalSent = 5ull << 30;
  s.pctReceivedNow = 42.5f;
  s.autoScale = 1;
  s.sentScaleTop = 100u << 10;
  s.receivedScaleTop = 1500u << 10;
  s.trayReceivedLevel = 7;
  s.traySentLevel = 3;
  s.trayReceivedMinuteLevel = 40;
  s.traySentMinuteLevel = 2;
}

void ReportAllocations(benchmark::State& state, uint64_t before) {
  const double perCall = double(AllocationCount() - before) / double(state.iterations());
  state.counters["allocs_per_call"] = perCall;
  if (perCall > 0) state.SkipWithError("allocates per call");
}

void BM_PaintGraphPanel(benchmark::State& state) {
  StatsRig owner;
  FillBusyStats(owner.stats);
  owner.settings.graphStyle = static_cast<int32_t>(state.range(0));
  owner.settings.columnRange = owner.settings.graphStyle == kGraphStyleOverlapped ? 100 : 50;
  owner.settings.receiveStatSelection = 0;
  owner.settings.sendStatSelection = 3;
  RecordingPanelCanvas canvas;
  PaintGraphPanel(owner.settings, owner.stats, canvas);
  const uint64_t before = AllocationCount();
  for (auto _ : state) {
    canvas.Forget();
    PaintGraphPanel(owner.settings, owner.stats, canvas);
    benchmark::DoNotOptimize(canvas.surface.bits);
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_PaintGraphPanel)->Arg(kGraphStyleMirror)->Arg(kGraphStyleNormal)->Arg(kGraphStyleOverlapped);

void BM_TrayUpdate(benchmark::State& state) {
  StatsRig owner;
  FillBusyStats(owner.stats);
  MemorySurface image(kTraySize, kTraySize);
  char tip[kTrayTipSize];
  const uint64_t before = AllocationCount();
  for (auto _ : state) {
    DrawTrayPicture(owner.stats, image);
    FormatTrayTip(owner.stats.currentReceived, owner.stats.currentSent, tip);
    benchmark::DoNotOptimize(image.bits);
    benchmark::DoNotOptimize(tip);
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_TrayUpdate);

}  // namespace
