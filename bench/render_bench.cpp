// The cost of one graph panel paint and one tray update, and proof that neither allocates.
#include <benchmark/benchmark.h>

#include "alloc_counter.h"
#include "render/graph_painter.h"
#include "render/tray_picture.h"
#include "support/recording_canvas.h"

namespace {

void FillBusyFigures(TrafficFigures& f) {
  for (int x = 0; x < TrafficFigures::kColumnSlots; ++x)
    f.sentColumns[x] = x % 50, f.receivedColumns[x] = x % 49;
  // At the tray's 1 kB a row: the received bar to row 7, the sent one to row 3, the received minute
  // mark above the top, the sent one on row 2.
  f.currentReceived = 7 * 1024 + 512;
  f.currentSent = 3 * 1024 + 200;
  f.avgReceivedMinute = 40 * 1024;
  f.avgSentMinute = 2 * 1024 + 100;
  f.totalSent = 5ull << 30;
  f.pctReceivedNow = 42.5f;
  f.autoScale = true;
  f.sentScaleTop = 100u << 10;
  f.receivedScaleTop = 1500u << 10;
  f.trayScaleKb = 16;
}

void ReportAllocations(benchmark::State& state, uint64_t before) {
  const double perCall = double(AllocationCount() - before) / double(state.iterations());
  state.counters["allocs_per_call"] = perCall;
  if (perCall > 0) state.SkipWithError("allocates per call");
}

// A paint from the figures: the snapshot taken, the panel drawn.
void BM_PaintGraphPanel(benchmark::State& state) {
  TrafficFigures figures;
  FillBusyFigures(figures);
  MonitorSettings settings;
  settings.graphStyle = static_cast<int32_t>(state.range(0));
  settings.columnRange = settings.graphStyle == kGraphStyleOverlapped ? 100 : 50;
  settings.receiveStatSelection = 0;
  settings.sendStatSelection = 3;
  RecordingPanelCanvas canvas;
  PanelSnapshot snapshot;
  TakePanelSnapshot(settings, figures, kBaseDpi, snapshot);
  PaintGraphPanel(snapshot, canvas);
  const uint64_t before = AllocationCount();
  for (auto _ : state) {
    TakePanelSnapshot(settings, figures, kBaseDpi, snapshot);
    PaintGraphPanel(snapshot, canvas);
    benchmark::DoNotOptimize(canvas.surface.bits);
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_PaintGraphPanel)->Arg(kGraphStyleMirror)->Arg(kGraphStyleNormal)->Arg(kGraphStyleOverlapped);

void BM_TrayUpdate(benchmark::State& state) {
  TrafficFigures figures;
  FillBusyFigures(figures);
  MemorySurface image(kTraySize, kTraySize);
  char tip[kTrayTipSize];
  const uint64_t before = AllocationCount();
  for (auto _ : state) {
    DrawTrayPicture(TrayBarsOf(figures), image);
    FormatTrayTip(figures.currentReceived, figures.currentSent, tip);
    benchmark::DoNotOptimize(image.bits);
    benchmark::DoNotOptimize(tip);
  }
  ReportAllocations(state, before);
}
BENCHMARK(BM_TrayUpdate);

}  // namespace
