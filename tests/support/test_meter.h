// The portable meter over its test stubs: a model with counters, logs, view and profile in memory.
#pragma once

#include "app/dialog_ports.h"
#include "meter/monitor_model.h"
#include "support/memory_profile.h"
#include "support/stub_counter_source.h"
#include "support/stub_log_sink.h"
#include "support/stub_meter_view.h"

struct TestMeter {
  StubCounters counters;
  StubLogSink logs;
  StubMeterView view;
  MemoryProfile profile;
  MonitorModel model{counters, logs, view, profile};
};

// One interface's statistics over stub counters, with no model around them.
struct StatsRig {
  MonitorSettings settings;
  StubCounters counters;
  CTrafficStats stats{settings, counters, 0};
  const TrafficFigures& figures = stats.Figures();
};

// A meter whose model has loaded its settings and made a few named interfaces, as the dialog
// tests start it; the profile's accesses so far are forgotten.
struct StartedMeter : TestMeter {
  explicit StartedMeter(uint32_t interfaces);
  // The profile holds this preset index for the row, as from an earlier run; the interfaces are made
  // again so that their objects read it.
  void StorePresetIndex(int32_t row, int32_t index);
  // The "DeviceSpeedIndex" of an interface written since the start, or -1 when none was.
  int32_t StoredDeviceSpeedIndex(int interfaceIndex) const;
  // Whether the selected interface's next graph tick only takes a new baseline (after a graph tick
  // that did take one): the panel is not painted.
  bool GraphStartsAgain();

  const uint32_t interfaces;

  MonitorSettings& settings = model.settings;
  // The ports Configure and Usage talk to, as the main window gives them.
  ConfigurePort configure{model};
  UsagePort usage{model, logs};
};
