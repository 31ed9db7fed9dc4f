// Loads the settings from a profile whose every answer comes from the input, then runs the meter's
// ticks with those settings, with counter readings and Configure-like changes from the input too.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "meter/monitor_model.h"
#include "dialogs/preset_text.h"
#include "render/axis_labels.h"
#include "render/panel_canvas.h"
#include "settings/profile_number.h"
#include "support/stub_counter_source.h"
#include "support/stub_log_sink.h"
#include "support/stub_meter_view.h"

namespace {

// Answers as the INI profile would: absent or too long a value gives the default, any other text
// goes through the profile's own parser; preset names are cut to the caller's room.
class FuzzProfile : public IProfile {
 public:
  explicit FuzzProfile(FuzzedDataProvider& in) : in_(in) {}

  int32_t ReadInt(const char*, int32_t defaultValue) override {
    std::string text;
    switch (in_.ConsumeIntegralInRange(0, 2)) {
      case 0:
        return defaultValue;
      case 1:
        text = in_.ConsumeRandomLengthString(80);
        break;
      default:
        text = std::to_string(in_.ConsumeIntegral<int32_t>());
    }
    const size_t length = strlen(text.c_str());
    int32_t value = defaultValue;
    if (length == 0 || length >= kValueTextRoom - 1 || !ParseProfileInt(text.c_str(), value))
      return defaultValue;
    return value;
  }
  bool Holds(const char*) override { return in_.ConsumeBool(); }
  void WriteInt(const char*, int32_t) override {}
  bool ReadText(const char*, char* out, size_t size) override {
    const std::string text = in_.ConsumeRandomLengthString(40);
    if (size == 0) return false;
    snprintf(out, size, "%s", text.c_str());
    return !text.empty();
  }
  void WriteText(const char*, const char*) override {}
  void ReadSystemString(const char*, const char* defaultValue, char* out, size_t size) override {
    const std::string text =
        in_.ConsumeBool() ? in_.ConsumeRandomLengthString(120) : std::string(defaultValue);
    if (size == 0) return;
    snprintf(out, size, "%s", text.c_str());
  }

 private:
  static constexpr size_t kValueTextRoom = 64;
  FuzzedDataProvider& in_;
};

// Checks what the painter hands to GDI: texts wholly readable, points not wildly off the panel.
class CheckingCanvas : public IPanelCanvas {
 public:
  PixelSurface& Pixels() override { return pixels; }
  void ClearBlack() override { pixels.ZeroPixels(); }
  void SelectPen(PanelPen) override {}
  void MoveTo(int32_t x, int32_t y) override { CheckPoint(x, y); }
  void PolylineTo(const CanvasPoint* points, int32_t count) override {
    if (count < 0 || count > TrafficFigures::kColumnSlots) abort();
    for (int32_t i = 0; i < count; ++i) CheckPoint(points[i].x, points[i].y);
  }
  void WriteText(int32_t x, int32_t y, const char* text, int32_t length) override {
    CheckPoint(x, y);
    if (length < 0 || length > 200) abort();
    if (memchr(text, 0, size_t(length)) != nullptr) abort();  // GDI would draw the zero too
  }

  MemorySurface pixels{160, 100};

 private:
  static void CheckPoint(int32_t x, int32_t y) {
    if (x < 0 || x >= 200 || y < -2 || y > 2 * 100 + 2) abort();
  }
};

class FuzzView : public StubMeterView {
 public:
  IPanelCanvas* GraphCanvas() override { return &checking; }
  void ShowMessage(const char*) override { ++messageCount; }
  CheckingCanvas checking;
  int messageCount = 0;
};

void ChangeLikeConfigure(FuzzedDataProvider& in, MonitorModel& model) {
  switch (in.ConsumeIntegralInRange(0, 7)) {
    case 0:
      model.SetRefreshPeriod(in.ConsumeIntegralInRange(1, 10000));
      break;
    case 1:
      model.SetGraphStyle(in.ConsumeIntegralInRange(0, 2));
      break;
    case 2:
      model.settings.autoScale = in.ConsumeBool();
      model.SetInterfaceAutoScale(model.settings.autoScale);
      break;
    case 3:
      model.settings.traySeparateScaleEnabled = in.ConsumeBool();
      model.settings.trayScaleValue = in.ConsumeIntegralInRange(1, 256);
      break;
    case 4:
      model.settings.presetIndex = in.ConsumeIntegralInRange(0, kPresetCount - 1);
      model.WriteDeviceSpeedIndex();
      break;
    case 5:  // a row, "All links", the missing choice, or an entry that is none
      model.SelectInterface(in.ConsumeIntegralInRange<int32_t>(-4, int32_t(model.InterfaceCount())));
      model.WriteDeviceSpeedIndex();
      break;
    case 6:
      model.settings.receiveStatSelection = in.ConsumeIntegralInRange(0, 6);
      model.settings.sendStatSelection = in.ConsumeIntegralInRange(0, 6);
      break;
    default: {
      // The preset editor: digits only, as many as its edits hold.
      SpeedPreset& preset = model.settings.presets[in.ConsumeIntegralInRange(0, kPresetCount - 1)];
      int32_t SpeedPreset::*fields[] = {&SpeedPreset::min, &SpeedPreset::max, &SpeedPreset::def,
                                        &SpeedPreset::bandd, &SpeedPreset::bandu};
      const std::string digits = in.ConsumeRandomLengthString(12);
      if (IsAllDigits(digits.c_str()))
        preset.*fields[in.ConsumeIntegralInRange(0, 4)] = ReadEditNumber(digits.c_str());
      SetPresetName(preset, in.ConsumeRandomLengthString(60).c_str());
    }
  }
}

// After a statistics tick, every column lies within the tallest style's range: a change from the
// overlapped style leaves columns taller than the other styles' range behind until the scale
// changes, and the painter draws those on the range's edge.
// An interface comes, goes or changes: a row's facts from the input, identities among a few so that
// they meet, the table perhaps grown by a row, the clock moved on.
void ChangeTheTable(FuzzedDataProvider& in, StubCounters& counters) {
  const int row = in.ConsumeIntegralInRange(0, StubCounters::kRows - 1);
  InterfaceFacts& facts = counters.facts[row];
  facts.type = in.PickValueInArray({kEthernetType, kWirelessType, kSoftwareLoopbackType, kTunnelType});
  facts.operStatus = in.ConsumeIntegralInRange<uint32_t>(0, 7);
  facts.luid = uint64_t(in.ConsumeIntegralInRange(0, 4)) << 24;
  facts.present = in.ConsumeBool();
  facts.hardware = in.ConsumeBool();
  facts.filter = in.ConsumeBool();
  facts.inOctets = in.ConsumeIntegral<uint32_t>();
  facts.outOctets = in.ConsumeIntegral<uint32_t>();
  if (in.ConsumeBool() && counters.rowCount < uint32_t(StubCounters::kRows)) ++counters.rowCount;
  counters.clockMs += in.ConsumeIntegral<uint16_t>();
}

void CheckAfterStatisticsTick(MonitorModel& model) {
  const TrafficFigures* figures = model.SelectedFigures();
  if (figures == nullptr) return;
  const uint32_t range = uint32_t(model.settings.graphHeight);
  for (int x = 0; x < model.settings.graphColumns; ++x)
    if (figures->sentColumns[x] > range || figures->receivedColumns[x] > range) abort();
  const AxisLabelSet labels = AxisLabelsOf(*figures, AxisLabelSet::kSlots);
  for (int i = 0; i < AxisLabelSet::kSlots; ++i)
    if (memchr(labels.sent[i], 0, AxisLabelSet::kLength) == nullptr ||
        memchr(labels.received[i], 0, AxisLabelSet::kLength) == nullptr)
      abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  StubCounters counters;
  StubLogSink logs;
  FuzzView view;
  logs.recordText = in.ConsumeBool();
  FuzzProfile profile(in);
  MonitorModel model(counters, logs, view, profile);
  model.LoadAllSettings();

  const uint32_t count = in.ConsumeIntegralInRange<uint32_t>(0, StubCounters::kRows);
  for (uint32_t row = 0; row < count; ++row) {
    if (in.ConsumeBool()) counters.descriptions[row] = in.ConsumeRandomLengthString(300);
    counters.operStatus[row] = in.ConsumeIntegral<uint32_t>();
  }
  logs.maxFileNameLength = in.ConsumeIntegralInRange<size_t>(0, 600);
  counters.rowCount = count;
  counters.sumsAllLinks = in.ConsumeBool();
  if (in.ConsumeBool()) {
    model.settings.interfaceId = in.ConsumeBool() ? kAllLinksInterfaceId : 1u << 24;
    model.settings.interfaceStored = true;
  }
  if (!model.CreateInterfaceStats(count)) return 0;
  model.StartWatching();
  model.ValidateSelectedInterface();

  int ticks = 0;
  while (in.remaining_bytes() > 0 && ticks < 3000) {
    const int32_t row = model.settings.selectedInterface;
    switch (in.ConsumeIntegralInRange(0, 8)) {
      case 0:
        if (row >= 0) counters.AddTraffic(row, in.ConsumeIntegral<uint32_t>(), in.ConsumeIntegral<uint32_t>());
        break;
      case 1:  // a counter that jumps anywhere, backwards included
        if (row >= 0 && row < StubCounters::kRows) {
          counters.rows[row].sent = in.ConsumeIntegral<uint32_t>();
          counters.rows[row].received = in.ConsumeIntegral<uint32_t>();
        }
        break;
      case 2:
        model.OnGraphTick();
        ++ticks;
        break;
      case 3:
        model.OnStatisticsTick();
        CheckAfterStatisticsTick(model);
        ++ticks;
        break;
      case 4:  // a minute's end: a log line
        model.OnStatisticsTick();
        model.WriteLogLine();
        CheckAfterStatisticsTick(model);
        ++ticks;
        break;
      case 5: {  // steady traffic for a while, graph ticks between the seconds
        const uint32_t sent = in.ConsumeIntegral<uint32_t>(), received = in.ConsumeIntegral<uint32_t>();
        const int seconds = in.ConsumeIntegralInRange(1, 120);
        for (int s = 0; s < seconds; ++s, ticks += 2) {
          if (row >= 0) counters.AddTraffic(row, sent, received);
          counters.clockMs += 1000;
          model.OnGraphTick();
          model.OnStatisticsTick();
          CheckAfterStatisticsTick(model);
        }
        break;
      }
      case 6:
        ChangeLikeConfigure(in, model);
        break;
      case 7:
        ChangeTheTable(in, counters);
        model.InterfacesChanged();
        break;
      default:
        model.WriteConfigureSettings();
        model.WriteExitSettings(
            WindowOrigin{in.ConsumeBool(), in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>()});
    }
  }
  return 0;
}
