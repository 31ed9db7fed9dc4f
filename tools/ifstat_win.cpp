// Console view of the interfaces the meter finds and a few seconds of one interface's statistics,
// computed by the meter's own model from the IP helper counters. Writes no log and no profile.
// Usage: quintrel_ifstat [seconds] [row]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/monitor_model.h"
#include "render/panel_canvas.h"
#include "render/pixel_surface.h"
#include "sampling/ip_helper_win.h"

namespace {

constexpr uint32_t kOperational = 5;

// Every setting at its default; nothing is stored.
class DefaultsProfile : public IProfile {
 public:
  int32_t ReadInt(const char*, int32_t defaultValue) override { return defaultValue; }
  void WriteInt(const char*, int32_t) override {}
  void ReadSystemString(const char*, const char* defaultValue, char* out, size_t size) override {
    if (size > 0) snprintf(out, size, "%s", defaultValue);
  }
};

class DiscardedLog : public ILogFile {
 public:
  bool IsEmpty() override { return false; }
  void Append(const char*, size_t) override {}
};

class UnseenCanvas : public IPanelCanvas {
 public:
  PixelSurface& Pixels() override { return pixels; }
  void ClearBlack() override {}
  void SelectPen(PanelPen) override {}
  void MoveTo(int32_t, int32_t) override {}
  void LineTo(int32_t, int32_t) override {}
  void DrawText(int32_t, int32_t, const char*, int32_t) override {}

  MemorySurface pixels{160, 100};
};

// The meter's platform with the console as its only output: counters from the IP helper library,
// the tooltip printed instead of shown.
class ConsolePlatform : public IMonitorPlatform {
 public:
  explicit ConsolePlatform(CIpHelper& ipHelper) : helper(ipHelper) {}

  CounterPair ReadCounters(int32_t row) override { return helper.ReadCounters(row); }
  const char* InterfaceDescription(int32_t row) override { return helper.Description(row); }
  uint32_t InterfaceOperStatus(int32_t row) override { return helper.OperStatus(row); }
  std::unique_ptr<ILogFile> OpenLogFile(const char*) override { return std::make_unique<DiscardedLog>(); }
  size_t MaxLogFileNameLength() override { return MAX_PATH - 1; }
  LocalDateTime Now() override {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return LocalDateTime{t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond};
  }
  void ShowMessage(const char* text) override { printf("message: %s\n", text); }
  IPanelCanvas& GraphCanvas() override { return canvas; }
  PixelSurface& TrayImage() override { return trayImage; }
  void ShowGraphPanel() override {}
  void ReplaceTrayIcon(const char* tooltip) override {
    snprintf(lastTooltip, sizeof lastTooltip, "%s", tooltip);
  }

  char lastTooltip[128] = {};

 private:
  CIpHelper& helper;
  UnseenCanvas canvas;
  MemorySurface trayImage{16, 16};
};

void ListInterfaces(const CIpHelper& helper) {
  printf("%u interface(s):\n", unsigned(helper.Count()));
  for (uint32_t i = 0; i < helper.Count(); ++i)
    printf("  %2u  %-32s  status %u\n", unsigned(i), helper.Description(int32_t(i)),
           unsigned(helper.OperStatus(int32_t(i))));
}

// The first working interface that is not the loopback, else row 0.
int32_t ChooseRow(const CIpHelper& helper) {
  for (uint32_t i = 0; i < helper.Count(); ++i)
    if (helper.OperStatus(int32_t(i)) == kOperational && strcmp(helper.Description(int32_t(i)), "lo") != 0)
      return int32_t(i);
  return 0;
}

void ShowStatistics(MonitorModel& model, ConsolePlatform& platform, int seconds) {
  const int32_t row = model.selectedInterface;
  printf("interface %d (%s), bytes:\n", int(row), platform.InterfaceDescription(row));
  model.OnStatisticsTick();  // the first tick only takes the counters' starting point
  for (int second = 1; second <= seconds; ++second) {
    Sleep(1000);
    model.OnStatisticsTick();
    const CTrafficStats& stats = *model.SelectedStats();
    printf("  %3d s  received %8u/s  sent %8u/s  minute avg %10.1f/s %10.1f/s  total %llu %llu  [%s]\n",
           second, unsigned(stats.currentReceived), unsigned(stats.currentSent),
           double(stats.avgReceivedMinute), double(stats.avgSentMinute),
           static_cast<unsigned long long>(stats.totalReceived),
           static_cast<unsigned long long>(stats.totalSent), platform.lastTooltip);
    fflush(stdout);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int requestedSeconds = argc > 1 ? atoi(argv[1]) : 5;
  const int seconds = requestedSeconds > 0 && requestedSeconds <= 3600 ? requestedSeconds : 5;
  CIpHelper helper;
  if (const char* failure = helper.DiscoverInterfaces()) {
    printf("%s\n", failure);
    return 1;
  }
  ListInterfaces(helper);

  ConsolePlatform platform(helper);
  DefaultsProfile profile;
  MonitorModel model(platform, profile);
  model.LoadAllSettings();
  if (!model.CreateInterfaceStats(helper.Count())) return 1;
  model.selectedInterface = argc > 2 ? int32_t(atoi(argv[2])) : ChooseRow(helper);
  model.ValidateSelectedInterface();
  ShowStatistics(model, platform, seconds);
  model.FreeInterfaceStats();
  return 0;
}
