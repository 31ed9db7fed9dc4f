// The statistics engine of one interface: histories, averages, percentages, totals and the graph
// columns with their scales, all left in its figures record.
#include "stats/traffic_stats.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t kLongestPerTickPeriodMs = 1000;
// With this headroom the highest column of the window reaches about 74 % of the range.
constexpr double kScaleTopHeadroom = 1.35;

// Truncates toward zero. A float mean of u32 samples can round up to 2^32, which must not reach
// an unsigned conversion, so values beyond the u32 range saturate.
uint32_t TruncateToU32(double value) {
  if (!(value > 0.0)) return 0;
  if (value >= 4294967295.0) return UINT32_MAX;
  return uint32_t(value);
}

// Bandwidths are in kB of 1000 bytes, so bytes / (band * 1000) * 100 = bytes / band / 10.
// A bandwidth of 0 or below shows 0 % and is never divided by.
float PercentNow(uint32_t bytes, int32_t band) {
  return band > 0 ? float((bytes / uint32_t(band)) / 10.0) : 0.0f;
}

float PercentOfAverage(float bytesPerSecond, int32_t band) {
  return band > 0 ? float(double(bytesPerSecond) / band / 10.0) : 0.0f;
}

int32_t ColumnCount(const MonitorSettings& settings) {
  return std::clamp<int32_t>(settings.graphColumns, 0, CTrafficStats::kColumnSlots);
}

uint32_t ColumnRange(const MonitorSettings& settings) {
  return settings.columnRange > 0 ? uint32_t(settings.columnRange) : 1;
}

uint32_t SaturateToU32(uint64_t value) {
  return value > UINT32_MAX ? UINT32_MAX : uint32_t(value);
}

uint32_t ClampColumn(uint32_t height, uint32_t range) {
  return height >= range ? range - 1 : height;
}

// The manual scale: the preset's full scale in bytes (kB of 1000) per pixel; a full scale below
// zero (only a damaged profile holds one) counts as 0.
uint32_t ManualDivisor(int32_t def, uint32_t range) {
  const uint64_t scaleKb = def > 0 ? uint64_t(def) : 0;
  return uint32_t(std::min<uint64_t>(scaleKb * 1000u / range, UINT32_MAX));
}

void PushSample(uint32_t* values, int32_t n, uint32_t sample) {
  CTrafficStats::ShiftHistory(values, n);
  values[0] = sample;
}

}  // namespace

CTrafficStats::CTrafficStats(const MonitorSettings& monitorSettings, ICounterSource& counterSource,
                             int32_t index)
    : settings(monitorSettings), counters(counterSource), interfaceIndex(index) {
  autoScale = settings.autoScale != 0 ? 1 : 0;
  NoteScales();
}

double CTrafficStats::Mean(const uint32_t* values, int32_t n) {
  if (n <= 0) return 0.0;
  double sum = 0.0;
  for (int32_t i = 0; i < n; ++i) sum += values[i];
  return sum / n;
}

void CTrafficStats::ShiftHistory(uint32_t* values, int32_t n) {
  if (n > 1) memmove(values + 1, values, size_t(n - 1) * sizeof *values);
}

const SpeedPreset& CTrafficStats::Preset() const {
  return settings.presets[ValidPresetIndex(deviceSpeedIndex)];
}

void CTrafficStats::UsePreset(int32_t index) {
  deviceSpeedIndex = index;
  graphRestart = 1;
  NoteScales();
}

void CTrafficStats::SetAutoScale(bool on) {
  autoScale = on ? 1 : 0;
  NoteScales();
}

void CTrafficStats::NoteScales() {
  figures.autoScale = autoScale != 0;
  figures.graphScaleKb = Preset().def;
  figures.trayScaleKb = settings.traySeparateScaleEnabled ? settings.trayScaleValue : Preset().def;
}

void CTrafficStats::UpdateStatistics() {
  NoteScales();
  // A baseline or a failed read records a second without traffic.
  const CounterStep step = statsCounters.Take(counters.ReadCounters(interfaceIndex));
  const uint32_t deltaSent = SaturateToU32(step.sent);
  const uint32_t deltaReceived = SaturateToU32(step.received);
  TrafficFigures& f = figures;

  PushSample(minuteReceived, kMinuteLength, deltaReceived);
  PushSample(minuteSent, kMinuteLength, deltaSent);
  f.avgSentMinute = float(Mean(minuteSent, kMinuteLength));
  f.avgReceivedMinute = float(Mean(minuteReceived, kMinuteLength));
  PushSample(hourSent, kHourLength, deltaSent);
  PushSample(hourReceived, kHourLength, deltaReceived);
  f.avgReceivedHour = float(Mean(hourReceived, kHourLength));
  f.avgSentHour = float(Mean(hourSent, kHourLength));

  const SpeedPreset& preset = Preset();
  f.pctReceivedNow = PercentNow(deltaReceived, preset.bandd);
  f.pctSentNow = PercentNow(deltaSent, preset.bandu);
  f.pctReceivedMinute = PercentOfAverage(f.avgReceivedMinute, preset.bandd);
  f.pctSentMinute = PercentOfAverage(f.avgSentMinute, preset.bandu);
  f.pctReceivedHour = PercentOfAverage(f.avgReceivedHour, preset.bandd);
  f.pctSentHour = PercentOfAverage(f.avgSentHour, preset.bandu);

  f.currentSent = deltaSent;
  f.currentReceived = deltaReceived;
  f.totalSent += step.sent;
  f.totalReceived += step.received;
  f.linkDown = counters.InterfaceOperStatus(interfaceIndex) == kOperStatusDisconnected;
}

bool CTrafficStats::UpdateGraph() {
  NoteScales();
  const int32_t periodMs = settings.refreshPeriodMs;
  float perTickDivisor = 1.0f;
  if (periodMs > kLongestPerTickPeriodMs) perTickDivisor = float(periodMs / 1000.0);

  // After a preset or another interface was picked, the tick only takes a new baseline.
  if (graphRestart != 0) graphCounters.Restart();
  graphRestart = 0;
  const CounterStep step = graphCounters.Take(counters.ReadCounters(interfaceIndex));
  if (step.kind == CounterStepKind::kBaseline || !graphCounters.HasBaseline()) {
    figures.currentSent = figures.currentReceived = 0;
    return false;
  }
  const uint64_t a = step.sent;
  const uint64_t b = step.received;

  const int32_t columns = ColumnCount(settings);
  const uint32_t range = ColumnRange(settings);
  PushSample(sentRaw, columns, TruncateToU32(double(a) / double(perTickDivisor)));
  PushSample(receivedRaw, columns, TruncateToU32(double(b) / double(perTickDivisor)));

  uint32_t sentDivisor;
  uint32_t receivedDivisor;
  if (autoScale == 0) {
    sentDivisor = receivedDivisor = ManualDivisor(Preset().def, range);
  } else {
    UpdateScaleTops();
    uint32_t& sentScaleTop = figures.sentScaleTop;
    uint32_t& receivedScaleTop = figures.receivedScaleTop;
    if (settings.graphStyle == kGraphStyleOverlapped) {
      if (receivedScaleTop > sentScaleTop)
        sentScaleTop = receivedScaleTop;
      else
        receivedScaleTop = sentScaleTop;
    }
    sentDivisor = sentScaleTop / range;
    receivedDivisor = receivedScaleTop / range;
  }
  if (receivedDivisor == 0) receivedDivisor = 1;
  if (sentDivisor == 0) sentDivisor = 1;
  if (receivedDivisor != lastReceivedDivisor || sentDivisor != lastSentDivisor)
    RescaleColumns(sentDivisor, receivedDivisor);
  lastReceivedDivisor = receivedDivisor;
  lastSentDivisor = sentDivisor;

  uint32_t newestSent;
  uint32_t newestReceived;
  if (periodMs <= kLongestPerTickPeriodMs) {
    newestSent = SaturateToU32(a / sentDivisor);
    newestReceived = SaturateToU32(b / receivedDivisor);
  } else {
    const double perSecond = 1024.0 / periodMs;
    newestSent = TruncateToU32(double(a) * perSecond / sentDivisor);
    newestReceived = TruncateToU32(double(b) * perSecond / receivedDivisor);
  }
  PushSample(figures.sentColumns, columns, ClampColumn(newestSent, range));
  PushSample(figures.receivedColumns, columns, ClampColumn(newestReceived, range));
  return true;
}

void CTrafficStats::UpdateScaleTops() {
  const int32_t columns = ColumnCount(settings);
  const uint32_t largestSent = columns > 0 ? *std::max_element(sentRaw, sentRaw + columns) : 0;
  const uint32_t largestReceived = columns > 0 ? *std::max_element(receivedRaw, receivedRaw + columns) : 0;
  figures.sentScaleTop = TruncateToU32(largestSent * kScaleTopHeadroom);
  figures.receivedScaleTop = TruncateToU32(largestReceived * kScaleTopHeadroom);
}

void CTrafficStats::RescaleColumns(uint32_t sentDivisor, uint32_t receivedDivisor) {
  sentDivisor = std::max(sentDivisor, 1u);
  receivedDivisor = std::max(receivedDivisor, 1u);
  const int32_t columns = ColumnCount(settings);
  const uint32_t range = ColumnRange(settings);
  const bool perTick = settings.refreshPeriodMs <= kLongestPerTickPeriodMs;
  uint32_t* sentColumns = figures.sentColumns;
  uint32_t* receivedColumns = figures.receivedColumns;
  for (int32_t i = 0; i < columns; ++i) {
    if (perTick) {
      sentColumns[i] = ClampColumn(sentRaw[i] / sentDivisor, range);
      receivedColumns[i] = ClampColumn(receivedRaw[i] / receivedDivisor, range);
    } else {
      // Above one second a raw value is bytes per second, while the newest column is the tick's
      // bytes times 1024 / period: that is raw * 1.024, so older columns match the newest one.
      sentColumns[i] = ClampColumn(TruncateToU32(sentRaw[i] * 1.024 / sentDivisor), range);
      receivedColumns[i] = ClampColumn(TruncateToU32(receivedRaw[i] * 1.024 / receivedDivisor), range);
    }
  }
}
