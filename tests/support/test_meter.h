// The portable meter over its test stubs: a model with counters, logs, view and profile in memory.
#pragma once

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
  // The stored "DeviceSpeedIndex" of an interface, or -1 when none was written.
  int32_t StoredDeviceSpeedIndex(int interfaceIndex) const;

  MonitorSettings& settings = model.settings;
};
