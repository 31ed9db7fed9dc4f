// The main window's portable model: interface objects, preset indexes, settings groups and the ticks.
#include "app/monitor_model.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "support/test_meter.h"

#if defined(__SANITIZE_ADDRESS__)
#define QUINTREL_COUNTS_ALLOCATIONS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUINTREL_COUNTS_ALLOCATIONS 1
#endif
#endif

#ifdef QUINTREL_COUNTS_ALLOCATIONS
// The sanitizer's allocator reports every allocation to these hooks without replacing operator new.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, size_t),
                                                         void (*freeHook)(const volatile void*));
#endif

// The nth allocation of a statistics object's size from now on fails, as on a machine out of memory.
int failingStatsAllocation = 0;

void* operator new(size_t size) {
  if (size >= sizeof(CTrafficStats) && failingStatsAllocation > 0 && --failingStatsAllocation == 0)
    throw std::bad_alloc();
  if (void* memory = malloc(size > 0 ? size : 1)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
  free(memory);
}
void operator delete(void* memory, size_t) noexcept {
  free(memory);
}

namespace {

#ifdef QUINTREL_COUNTS_ALLOCATIONS
std::atomic<long> allocationCount{0};
void CountAllocation(const volatile void*, size_t) {
  ++allocationCount;
}
void IgnoreFree(const volatile void*) {}

bool CountAllocations() {
  static const bool installed = __sanitizer_install_malloc_and_free_hooks(CountAllocation, IgnoreFree) != 0;
  return installed;
}
#endif

using Strings = std::vector<std::string>;

class ModelTest : public ::testing::Test, protected TestMeter {
 protected:
  CTrafficStats& Stats(size_t i) { return *model.statsTable[i]; }
};

TEST_F(ModelTest, LoadAllSettingsSetsTheGeometryOfTheStoredStyle) {
  profile.ints["grst"] = 2;
  profile.ints["refr"] = 1000;
  model.LoadAllSettings();
  EXPECT_EQ(model.settings.graphStyle, 2);
  EXPECT_EQ(model.settings.columnRange, 100);
  EXPECT_EQ(model.settings.refreshPeriodMs, 1000);
}

TEST_F(ModelTest, OneObjectPerRowWithItsLogAndPresetIndex) {
  model.settings.autoScale = 7;  // any non-zero stored value turns it on
  profile.ints["DeviceSpeedIndex1"] = 3;
  profile.ints["DeviceSpeedIndex2"] = 9;  // damaged: preset 0
  ASSERT_TRUE(model.CreateInterfaceStats(3));
  EXPECT_EQ(model.interfaceCount, 3u);
  ASSERT_EQ(model.statsTable.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Stats(i).interfaceIndex, i);
    EXPECT_EQ(Stats(i).autoScale, 1u);
    EXPECT_EQ(Stats(i).graphRestart, 1u);
    EXPECT_FALSE(Stats(i).statsCounters.HasBaseline());
    EXPECT_EQ(Stats(i).logFile, nullptr) << "a log is opened when its interface is first watched";
  }
  EXPECT_TRUE(logs.openedNames.empty());
  EXPECT_EQ(profile.Keys(ProfileAccess::ReadInt),
            (Strings{"DeviceSpeedIndex0", "DeviceSpeedIndex1", "DeviceSpeedIndex2"}));
  EXPECT_EQ(model.GetDeviceSpeedIndex(0), 0);
  EXPECT_EQ(model.GetDeviceSpeedIndex(1), 3);
  EXPECT_EQ(model.GetDeviceSpeedIndex(2), 0);
  EXPECT_EQ(model.GetDeviceSpeedIndex(3), 0);
  EXPECT_EQ(model.GetDeviceSpeedIndex(-1), 0);
}

TEST_F(ModelTest, MemoryErrorKeepsTheObjectsAlreadyMade) {
  failingStatsAllocation = 4;
  EXPECT_FALSE(model.CreateInterfaceStats(5));
  failingStatsAllocation = 0;
  EXPECT_EQ(view.messages, Strings{"memory error!"});
  ASSERT_EQ(model.statsTable.size(), 3u);
  EXPECT_EQ(Stats(2).interfaceIndex, 2);
  EXPECT_TRUE(profile.accesses.empty());  // discovery stops before the preset indexes
}

TEST_F(ModelTest, PickedPresetIsStoredPerInterfaceAndRestartsTheGraph) {
  model.CreateInterfaceStats(2);
  Stats(1).graphRestart = 0;
  model.settings.selectedInterface = 1;
  model.settings.presetIndex = 3;
  model.WriteDeviceSpeedIndex();
  model.settings.selectedInterface = 0;
  model.settings.presetIndex = 0;
  model.WriteDeviceSpeedIndex();
  EXPECT_EQ(Stats(1).deviceSpeedIndex, 3);
  EXPECT_EQ(Stats(1).graphRestart, 1u);
  EXPECT_EQ(profile.ints["DeviceSpeedIndex1"], 3);
  EXPECT_EQ(profile.ints["DeviceSpeedIndex0"], 0);

  // After a restart each interface uses its own preset again.
  StubCounters nextCounters;
  StubLogSink nextLogs;
  StubMeterView nextView;
  MonitorModel next{nextCounters, nextLogs, nextView, profile};
  next.CreateInterfaceStats(2);
  EXPECT_EQ(next.GetDeviceSpeedIndex(0), 0);
  EXPECT_EQ(next.GetDeviceSpeedIndex(1), 3);
  EXPECT_EQ(&next.statsTable[1]->Preset(), &next.settings.presets[3]);
}

TEST_F(ModelTest, PresetChoiceWithoutAnObjectOnlyReachesTheProfile) {
  model.settings.selectedInterface = 4;
  model.settings.presetIndex = 2;
  model.WriteDeviceSpeedIndex();
  EXPECT_EQ(profile.ints["DeviceSpeedIndex4"], 2);
  model.settings.presetIndex = 8;  // damaged index: preset 0
  model.WriteDeviceSpeedIndex();
  EXPECT_EQ(profile.ints["DeviceSpeedIndex4"], 0);
}

TEST_F(ModelTest, AutoScaleChangesOnlyTheSelectedInterface) {
  model.SetInterfaceAutoScale(1);  // no object yet: nothing happens
  model.CreateInterfaceStats(2);
  model.settings.selectedInterface = 1;
  model.SetInterfaceAutoScale(1);
  EXPECT_EQ(Stats(0).autoScale, 0u);
  EXPECT_EQ(Stats(1).autoScale, 1u);
  model.SetInterfaceAutoScale(0);
  EXPECT_EQ(Stats(1).autoScale, 0u);
}

TEST_F(ModelTest, SelectedInterfaceOutsideTheTableBecomesZero) {
  model.CreateInterfaceStats(2);
  for (auto [stored, kept] : {std::pair{1, 1}, {2, 0}, {-1, 0}, {INT32_MAX, 0}}) {
    model.settings.selectedInterface = stored;
    model.ValidateSelectedInterface();
    EXPECT_EQ(model.settings.selectedInterface, kept) << stored;
  }
}

TEST_F(ModelTest, GraphStyleSetsTheColumnRange) {
  model.SetGraphStyle(kGraphStyleOverlapped);
  EXPECT_EQ(model.settings.columnRange, 100);
  model.SetGraphStyle(kGraphStyleMirror);
  EXPECT_EQ(model.settings.columnRange, 50);
}

TEST_F(ModelTest, SettingsGroupsGoToTheProfile) {
  model.settings.receiveStatSelection = 9;  // kept as stored
  model.WriteConfigureSettings();
  EXPECT_EQ(profile.Keys(ProfileAccess::WriteInt).front(), "autoscale");
  EXPECT_EQ(profile.ints["r_sel"], 9);
  profile.accesses.clear();
  model.WriteExitSettings(WindowOrigin{true, 3, 4});
  EXPECT_EQ(profile.Keys(ProfileAccess::WriteInt),
            (Strings{"x_pos", "y_pos", "s_sel", "r_sel", "ontop", "minm"}));
}

TEST_F(ModelTest, TicksWithoutAnObjectDoNothing) {
  model.OnStatisticsTick();
  model.OnGraphTick();
  model.CreateInterfaceStats(1);
  model.settings.selectedInterface = 1;
  EXPECT_EQ(model.SelectedStats(), nullptr);
  calls.Clear();
  model.OnStatisticsTick();
  model.OnGraphTick();
  model.PaintGraphPanel();
  model.DrawTrayPicture();
  model.RedrawTrayIcon();
  EXPECT_EQ(calls.count, 0);
  EXPECT_EQ(model.logTickCount, 0);
}

TEST_F(ModelTest, StatisticsTickUpdatesDrawsPaintsThenReplacesTheIcon) {
  model.CreateInterfaceStats(1);
  calls.Clear();
  counters.AddTraffic(0, 1, 1);
  model.OnStatisticsTick();
  const StubCall expected[] = {StubCall::ReadCounters, StubCall::TrayImage, StubCall::GraphCanvas,
                               StubCall::TrayImage, StubCall::ReplaceTrayIcon};
  ASSERT_EQ(calls.count, 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(calls.calls[i], expected[i]) << i;
  EXPECT_TRUE(Stats(0).statsCounters.HasBaseline());
  EXPECT_EQ(model.logTickCount, 1);
}

TEST_F(ModelTest, EverySixtiethTickWritesOneLogLine) {
  counters.descriptions[0] = "eth";
  model.CreateInterfaceStats(1);
  model.WatchSelectedInterface();
  const RecordedLog* log = logs.files.begin()->second.get();
  const int header = log->appendCount;
  for (int tick = 1; tick <= 59; ++tick) {
    counters.AddTraffic(0, 10, 1000);
    model.OnStatisticsTick();
  }
  EXPECT_EQ(log->appendCount, header);
  counters.AddTraffic(0, 10, 1000);
  model.OnStatisticsTick();
  EXPECT_EQ(log->appendCount, header + 1);
  EXPECT_EQ(model.logTickCount, 0);
  EXPECT_EQ(Stats(0).logReceived, 59000u);  // the first second is the zero baseline
  EXPECT_EQ(Stats(0).logSent, 590u);

  for (int tick = 1; tick <= 60; ++tick) {
    counters.AddTraffic(0, 10, 1000);
    model.OnStatisticsTick();
  }
  EXPECT_EQ(log->appendCount, header + 2);
  EXPECT_EQ(Stats(0).logReceived, 60000u);
}

TEST_F(ModelTest, TheMinuteCountCarriesOverToAnotherInterface) {
  model.CreateInterfaceStats(2);
  for (int tick = 0; tick < 30; ++tick) model.OnStatisticsTick();
  model.settings.selectedInterface = 1;
  for (int tick = 0; tick < 30; ++tick) {
    counters.AddTraffic(1, 0, 100);
    model.OnStatisticsTick();
  }
  EXPECT_EQ(model.logTickCount, 0);
  EXPECT_EQ(Stats(1).logReceived, 2900u);
  EXPECT_EQ(Stats(0).logMarkReceived, 0u);
}

TEST_F(ModelTest, GraphTickUpdatesTheSelectedGraph) {
  model.CreateInterfaceStats(2);
  model.settings.selectedInterface = 1;
  model.OnGraphTick();
  counters.AddTraffic(1, 800, 0);
  model.OnGraphTick();
  EXPECT_EQ(Stats(1).sentRaw[0], 800u);
  EXPECT_EQ(Stats(0).graphRestart, 1u);
  EXPECT_EQ(view.showGraphPanelCount, 1);
}

TEST_F(ModelTest, GraphTickPaintsThenShowsThePanel) {
  model.CreateInterfaceStats(1);
  model.OnGraphTick();
  EXPECT_EQ(view.showGraphPanelCount, 0) << "the baseline tick shows nothing";
  calls.Clear();
  counters.AddTraffic(0, 1, 1);
  model.OnGraphTick();
  ASSERT_EQ(calls.count, 3);
  EXPECT_EQ(calls.calls[0], StubCall::ReadCounters);
  EXPECT_EQ(calls.calls[1], StubCall::GraphCanvas);
  EXPECT_EQ(calls.calls[2], StubCall::ShowGraphPanel);
}

TEST_F(ModelTest, ANewRefreshPeriodRestartsTheGraphTimer) {
  model.SetRefreshPeriod(196);
  EXPECT_EQ(model.settings.refreshPeriodMs, 196);
  EXPECT_EQ(view.restartPeriods, std::vector<int32_t>{196});
}

TEST_F(ModelTest, OnlyWatchedInterfacesGetALogFile) {
  model.CreateInterfaceStats(3);
  model.WatchSelectedInterface();
  model.settings.selectedInterface = 2;
  model.WatchSelectedInterface();
  model.WatchSelectedInterface();
  EXPECT_EQ(logs.openedNames,
            (Strings{"Fake_Ethernet_Adapter_0_Quintrel.csv", "Fake_Ethernet_Adapter_2_Quintrel.csv"}));
  EXPECT_EQ(Stats(1).logFile, nullptr);
}

// An interface selected again counts on from where it stopped: its first second holds everything
// counted while it was not watched.
TEST_F(ModelTest, AnInterfaceSelectedAgainResumesItsStatistics) {
  model.CreateInterfaceStats(2);
  for (int tick = 0; tick < 3; ++tick) {
    counters.AddTraffic(0, 10, 100);
    model.OnStatisticsTick();
  }
  model.settings.selectedInterface = 1;
  for (int tick = 0; tick < 30; ++tick) {
    counters.AddTraffic(0, 50, 5000);
    model.OnStatisticsTick();
  }
  model.settings.selectedInterface = 0;
  model.OnStatisticsTick();
  EXPECT_EQ(Stats(0).currentReceived, 150000u);
  EXPECT_EQ(Stats(0).totalReceived, 2 * 100u + 150000u);
  EXPECT_EQ(Stats(0).minuteReceived[1], 100u) << "the history resumes where it stopped";
}

// A quiet link repeats the same picture and tip every second; the shell is not asked again.
TEST_F(ModelTest, AnUnchangedTrayPictureAndTipAreNotHandedToTheShellAgain) {
  model.settings.traySeparateScaleEnabled = true;
  model.settings.trayScaleValue = 256;  // 16 KiB a row: every rate here keeps the bars at row 0
  model.CreateInterfaceStats(1);
  const auto second = [&](uint32_t received) {
    counters.AddTraffic(0, 0, received);
    model.OnStatisticsTick();
    return view.replaceTrayIconCount;
  };
  struct Step {
    uint32_t received;
    bool shellTakes;
    int handedOver;
    const char* what;
  };
  const Step steps[] = {
      {0, true, 1, "the first second"},
      {0, true, 1, "nothing moved"},
      {1, true, 1, "one byte: the same 0.00 KB/s and the same bars"},
      {4096, true, 2, "4.00 KB/s"},
      {4096, true, 2, "the same rate again"},
      {8192, false, 3, "a new rate, but the icon could not be made"},
      {8192, true, 4, "the same rate, which the shell does not show yet"},
      {8192, true, 4, "now shown"},
  };
  for (const Step& step : steps) {
    view.shellTakesIcons = step.shellTakes;
    EXPECT_EQ(second(step.received), step.handedOver) << step.what;
  }
  EXPECT_STREQ(view.lastTooltip, "8.00 KB/s received  0.00 KB/s sent");
}

// The icon is made again at another side when the DPI changes: the picture of the new side goes to
// the shell at the next second, or at once when the window asks for it.
TEST_F(ModelTest, APictureOfAnotherSideIsHandedToTheShellEvenWhenTheLinkIsQuiet) {
  model.settings.traySeparateScaleEnabled = true;
  model.settings.trayScaleValue = 256;
  model.CreateInterfaceStats(1);
  struct Step {
    int32_t newSide;  // 0: the same surface
    bool redraw;      // the window's redraw instead of a second
    int handedOver;
    const char* what;
  };
  const Step steps[] = {
      {0, false, 1, "the first second"},
      {0, false, 1, "nothing moved"},
      {24, false, 2, "a larger icon"},
      {0, false, 2, "the same at 24"},
      {16, false, 3, "back to 16"},
      {0, true, 4, "a redraw is handed over whatever it shows"},
      {32, true, 5, "a larger icon, redrawn"},
      {0, false, 5, "the same at 32"},
  };
  for (const Step& step : steps) {
    if (step.newSide != 0) view.ResizeTrayImage(step.newSide);
    step.redraw ? model.RedrawTrayIcon() : model.OnStatisticsTick();
    EXPECT_EQ(view.replaceTrayIconCount, step.handedOver) << step.what;
  }
  EXPECT_STREQ(view.lastTooltip, "0.00 KB/s received  0.00 KB/s sent");
  // The redraw drew at 32: logical row 4's grid on pixel rows 8 and 9, the bottom marks two rows high.
  const auto at = [&](int x, int y) {
    const uint8_t* p = view.trayImage->bits + (x + y * 32) * 3;
    return uint32_t(p[0]) << 16 | p[1] << 8 | p[2];
  };
  EXPECT_EQ(at(20, 9), 0xD20000u);
  EXPECT_EQ(at(20, 10), 0u);
  EXPECT_EQ(at(0, 1), 0x00FAFFu);
  EXPECT_EQ(at(0, 2), 0u) << "the level-0 bars end at pixel row 1";
}

TEST_F(ModelTest, TicksAllocateNothing) {
#ifdef QUINTREL_COUNTS_ALLOCATIONS
  ASSERT_TRUE(CountAllocations());
  logs.recordText = false;
  model.settings.autoScale = 1;
  model.CreateInterfaceStats(1);
  model.WatchSelectedInterface();
  model.OnStatisticsTick();
  model.OnGraphTick();
  const long before = allocationCount;
  for (int tick = 0; tick < 130; ++tick) {
    counters.AddTraffic(0, uint32_t(tick) * 1000, uint32_t(tick) * 7000);
    model.OnStatisticsTick();
    for (int graph = 0; graph < 5; ++graph) model.OnGraphTick();
  }
  Stats(0).BuildAxisLabels(4);
  EXPECT_EQ(allocationCount - before, 0);
  EXPECT_EQ(logs.files.begin()->second->appendCount, 3);
#else
  GTEST_SKIP() << "allocations are counted in the sanitizer build";
#endif
}

}  // namespace

namespace {

// A first start at sign-in: the loopback first, a wired port without a cable, a filter row and a
// wireless adapter that connects a little later. The meter watches an adapter, not the loopback,
// and moves to the wireless one once it counts traffic, until the user has closed Configure.
class FirstStartTest : public ::testing::Test, protected TestMeter {
 protected:
  static constexpr uint32_t kLoopback = 24, kEthernet = 6, kWireless = 71, kUp = 5, kDown = 2;

  void SetUp() override {
    counters.facts[0] = InterfaceFacts{kLoopback, kUp, 0, 0, false};
    counters.facts[1] = InterfaceFacts{kEthernet, kUp, 900, 900, true};  // a filter's view
    counters.facts[2] = InterfaceFacts{kEthernet, kDown, 0, 0, false};
    counters.facts[3] = InterfaceFacts{kWireless, kDown, 0, 0, false};
    model.LoadAllSettings();
    ASSERT_TRUE(model.CreateInterfaceStats(4));
  }

  void Seconds(int count) {
    for (int i = 0; i < count; ++i) model.OnStatisticsTick();
  }
  void ConnectWireless() {
    counters.facts[3] = InterfaceFacts{kWireless, kUp, 5000, 700, false};
    counters.AddTraffic(3, 700, 5000);
  }
};

TEST_F(FirstStartTest, AnIdleChoiceIsMadeAgainUntilALinkCountsTraffic) {
  model.ChooseFirstInterface();
  EXPECT_EQ(model.settings.selectedInterface, 2) << "the first adapter, though down";
  model.WatchSelectedInterface();
  Seconds(12);
  EXPECT_EQ(model.settings.selectedInterface, 2) << "nothing better yet";

  ConnectWireless();
  Seconds(5);
  EXPECT_EQ(model.settings.selectedInterface, 3);
  EXPECT_EQ(logs.openedNames.size(), 2u) << "the newly watched row gets its log";
  counters.facts[2] = InterfaceFacts{kEthernet, kUp, 99999, 99999, false};
  Seconds(3);
  counters.AddTraffic(3, 10, 10);
  Seconds(20);
  EXPECT_EQ(model.settings.selectedInterface, 3) << "a row that counted traffic is kept";
}

TEST_F(FirstStartTest, NoChoiceOnceAnInterfaceIsStoredOrConfigureWasClosed) {
  model.settings.interfaceStored = true;
  model.settings.selectedInterface = 0;
  model.ChooseFirstInterface();
  ConnectWireless();
  Seconds(12);
  EXPECT_EQ(model.settings.selectedInterface, 0) << "the user's choice";

  model.settings.interfaceStored = false;
  model.ChooseFirstInterface();
  EXPECT_EQ(model.settings.selectedInterface, 3) << "the wireless link has counted traffic";

  counters.facts[3].inOctets = counters.facts[3].outOctets = 0;
  counters.facts[3].operStatus = kDown;
  model.ChooseFirstInterface();
  EXPECT_EQ(model.settings.selectedInterface, 2);
  model.WriteConfigureSettings();
  ConnectWireless();
  Seconds(12);
  EXPECT_EQ(model.settings.selectedInterface, 2) << "Configure was closed: the choice is the user's";
}

}  // namespace
