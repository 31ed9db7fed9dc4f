// The meter's portable model: interface objects, preset indexes, settings groups, the ticks and
// what each view is handed of them.
#include "meter/monitor_model.h"

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
  const CTrafficStats& Stats(int32_t row) { return *model.StatsOf(row); }
  const TrafficFigures& Figures(int32_t row) { return Stats(row).Figures(); }
  void Seconds(int count, int32_t row = 0, uint32_t sent = 0, uint32_t received = 0) {
    for (int i = 0; i < count; ++i) {
      counters.AddTraffic(row, sent, received);
      model.OnStatisticsTick();
    }
  }
  // The lines after the header of a row's log.
  Strings DataLines(int32_t row = 0) {
    const RecordedLog* log = logs.Log(counters.descriptions[row].c_str() == std::string("eth")
                                          ? "eth_Quintrel.csv"
                                          : "Fake_Ethernet_Adapter_" + std::to_string(row) + "_Quintrel.csv");
    Strings lines;
    if (log == nullptr) return lines;
    size_t start = log->text.find("\r\n\r\n") + 4;
    for (size_t end; (end = log->text.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(log->text.substr(start, end - start));
    return lines;
  }
};

TEST_F(ModelTest, LoadAllSettingsSetsTheGeometryOfTheStoredStyle) {
  profile.ints["grst"] = 2;
  profile.ints["refr"] = 1000;
  model.LoadAllSettings();
  EXPECT_EQ(model.settings.graphStyle, 2);
  EXPECT_EQ(model.settings.columnRange, 100);
  EXPECT_EQ(model.settings.refreshPeriodMs, 1000);
}

TEST_F(ModelTest, OneObjectPerRowWithItsPresetIndexAndNoLogYet) {
  model.settings.autoScale = 7;  // any non-zero stored value turns it on
  profile.ints["DeviceSpeedIndex1"] = 3;
  profile.ints["DeviceSpeedIndex2"] = 9;  // damaged: preset 0
  ASSERT_TRUE(model.CreateInterfaceStats(3));
  EXPECT_EQ(model.InterfaceCount(), 3u);
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(Stats(i).InterfaceIndex(), i);
    EXPECT_TRUE(Figures(i).autoScale);
  }
  EXPECT_EQ(model.StatsOf(3), nullptr);
  EXPECT_TRUE(logs.openedNames.empty()) << "a log is opened when its interface is first watched";
  EXPECT_EQ(profile.Keys(ProfileAccess::ReadInt),
            (Strings{"DeviceSpeedIndex0", "DeviceSpeedIndex1", "DeviceSpeedIndex2"}));
  for (auto [row, preset] : {std::pair{0, 0}, {1, 3}, {2, 0}, {3, 0}, {-1, 0}})
    EXPECT_EQ(model.GetDeviceSpeedIndex(row), preset) << row;
}

TEST_F(ModelTest, MemoryErrorKeepsTheObjectsAlreadyMade) {
  failingStatsAllocation = 4;
  EXPECT_FALSE(model.CreateInterfaceStats(5));
  failingStatsAllocation = 0;
  EXPECT_EQ(view.messages, Strings{"memory error!"});
  ASSERT_NE(model.StatsOf(2), nullptr);
  EXPECT_EQ(Stats(2).InterfaceIndex(), 2);
  EXPECT_EQ(model.StatsOf(3), nullptr);
  EXPECT_TRUE(profile.accesses.empty());  // discovery stops before the preset indexes
}

// Without a graph panel (it could not be made) a paint, as a DPI change asks for, draws nothing.
TEST_F(ModelTest, WithoutAGraphPanelNothingIsPainted) {
  model.CreateInterfaceStats(1);
  view.hasCanvas = false;
  model.SetDpi(144);
  model.PaintGraphPanel();
  Seconds(2);
  EXPECT_EQ(view.canvas.paints, 0);
  view.hasCanvas = true;
  model.PaintGraphPanel();
  EXPECT_EQ(view.canvas.paints, 1);
}

TEST_F(ModelTest, PickedPresetIsStoredPerInterfaceAndRestartsTheGraph) {
  model.CreateInterfaceStats(2);
  model.settings.selectedInterface = 1;
  model.OnGraphTick();
  counters.AddTraffic(1, 800, 0);
  model.OnGraphTick();
  model.settings.presetIndex = 3;
  model.WriteDeviceSpeedIndex();
  counters.AddTraffic(1, 800, 0);
  model.OnGraphTick();
  EXPECT_EQ(view.showGraphPanelCount, 1) << "the tick after the preset takes a new baseline";
  model.settings.selectedInterface = 0;
  model.settings.presetIndex = 0;
  model.WriteDeviceSpeedIndex();
  EXPECT_EQ(Stats(1).DeviceSpeedIndex(), 3);
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
  EXPECT_EQ(&next.StatsOf(1)->Preset(), &next.settings.presets[3]);
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
  EXPECT_FALSE(Figures(0).autoScale);
  EXPECT_TRUE(Figures(1).autoScale);
  model.SetInterfaceAutoScale(0);
  EXPECT_FALSE(Figures(1).autoScale);
}

// Choices that name no interface, no statistic or an allowance out of range change nothing or are
// brought into range.
TEST_F(ModelTest, ChoicesOutsideTheirRangeAreRefusedOrHeldToIt) {
  model.CreateInterfaceStats(2);
  for (auto [stored, kept] : {std::pair{1, 1}, {2, 0}, {-1, 0}, {INT32_MAX, 0}}) {
    model.settings.selectedInterface = stored;
    model.ValidateSelectedInterface();
    EXPECT_EQ(model.settings.selectedInterface, kept) << stored;
  }
  for (auto [picked, selected] : {std::pair{1, 1}, {2, 1}, {-1, 1}, {0, 0}}) {
    model.SelectInterface(picked);
    EXPECT_EQ(model.settings.selectedInterface, selected) << picked;
  }
  for (auto [picked, shown] : {std::pair{6, 6}, {7, 6}, {-1, 6}, {0, 0}}) {
    model.SelectReceiveStatistic(picked);
    model.SelectSendStatistic(picked);
    EXPECT_EQ(model.ReceiveStatistic(), shown) << picked;
    EXPECT_EQ(model.SendStatistic(), shown) << picked;
  }
  model.settings.receiveStatSelection = 9;  // a damaged profile: no item checked
  EXPECT_EQ(model.ReceiveStatistic(), -1);

  const struct {
    int32_t amount, day;
    int32_t storedAmount, storedDay;
  } allowances[] = {{50, 15, 50, 15}, {-3, 0, 0, 1}, {1000000, 29, 999999, 28}, {INT32_MIN, INT32_MAX, 0, 28}};
  for (const auto& a : allowances) {
    model.StoreAllowance(a.amount, true, a.day);
    EXPECT_EQ(profile.ints["allow"], a.storedAmount) << a.amount;
    EXPECT_EQ(profile.ints["allowday"], a.storedDay) << a.day;
    EXPECT_EQ(profile.ints["allowgb"], 1);
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
            (Strings{"x_pos", "y_pos", "pxpos", "s_sel", "r_sel", "ontop", "minm"}));
}

TEST_F(ModelTest, TicksWithoutAnObjectShowNothing) {
  model.OnStatisticsTick();
  model.OnGraphTick();
  model.CreateInterfaceStats(1);
  model.WatchSelectedInterface();
  model.settings.selectedInterface = 1;
  EXPECT_EQ(model.SelectedStats(), nullptr);
  for (int i = 0; i < 60; ++i) model.OnStatisticsTick();
  model.OnGraphTick();
  model.PaintGraphPanel();
  model.RedrawTrayIcon();
  EXPECT_EQ(view.canvas.paints, 0);
  EXPECT_EQ(view.replaceTrayIconCount, 0);
  EXPECT_EQ(view.showGraphPanelCount, 0);
  model.settings.selectedInterface = 0;
  EXPECT_TRUE(DataLines().empty()) << "the minute count did not run meanwhile";
}

// One second of traffic reaches the panel's lines and the tray's tip.
TEST_F(ModelTest, AStatisticsTickPaintsThePanelAndHandsTheIconToTheShell) {
  model.CreateInterfaceStats(1);
  Seconds(2, 0, 512, 12800);
  EXPECT_EQ(view.canvas.paints, 2);
  const auto texts = view.canvas.Texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts[texts.size() - 2].text, "12.50 KB/s received");
  EXPECT_EQ(texts.back().text, "512.00 B/s sent");
  EXPECT_STREQ(view.lastTooltip, "12.50 KB/s received  0.50 KB/s sent");
  EXPECT_EQ(view.showGraphPanelCount, 0) << "the graph tick copies the panel to the window";
}

TEST_F(ModelTest, EverySixtiethTickWritesOneLogLine) {
  counters.descriptions[0] = "eth";
  model.CreateInterfaceStats(1);
  model.WatchSelectedInterface();
  Seconds(59, 0, 10, 1000);
  EXPECT_TRUE(DataLines().empty());
  Seconds(1, 0, 10, 1000);
  Seconds(60, 0, 10, 1000);
  // The first second is the zero baseline.
  EXPECT_EQ(DataLines(), (Strings{"2003,5,14,3,10,20,30,590,59000,", "2003,5,14,3,10,20,30,600,60000,"}));
}

TEST_F(ModelTest, TheMinuteCountCarriesOverToAnotherInterface) {
  model.CreateInterfaceStats(2);
  model.WatchSelectedInterface();
  Seconds(30);
  model.SelectInterface(1);
  Seconds(30, 1, 0, 100);
  EXPECT_EQ(DataLines(1), Strings{"2003,5,14,3,10,20,30,0,2900,"});
  EXPECT_TRUE(DataLines(0).empty());
}

TEST_F(ModelTest, GraphTickUpdatesTheSelectedGraph) {
  model.CreateInterfaceStats(2);
  model.settings.selectedInterface = 1;
  model.OnGraphTick();
  counters.AddTraffic(1, 800, 0);
  model.OnGraphTick();
  EXPECT_EQ(Figures(1).sentColumns[0], 10u);
  EXPECT_EQ(view.showGraphPanelCount, 1);
  EXPECT_EQ(view.canvas.paints, 1);
}

// An idle link paints the same panel tick after tick: it is painted and copied to the window only
// when any input of the picture changes, and copied again after the window was painted over it.
TEST_F(ModelTest, ThePanelIsPaintedAndShownOnlyWhenItWouldChange) {
  model.CreateInterfaceStats(1);
  model.OnGraphTick();
  model.OnGraphTick();
  ASSERT_EQ(view.canvas.paints, 1);
  ASSERT_EQ(view.showGraphPanelCount, 1);
  const struct {
    const char* change;
    void (*apply)(MonitorModel&, StubCounters&);
    bool paints, shows;
  } steps[] = {
      {"nothing", [](MonitorModel&, StubCounters&) {}, false, false},
      {"the style", [](MonitorModel& m, StubCounters&) { m.SetGraphStyle(kGraphStyleMirror); }, true, true},
      {"the sent line's statistic", [](MonitorModel& m, StubCounters&) { m.SelectSendStatistic(3); }, true, true},
      {"the window painted over the panel", [](MonitorModel& m, StubCounters&) { m.ForgetShownPanel(); },
       false, true},
      {"another DPI", [](MonitorModel& m, StubCounters&) { m.SetDpi(144); }, true, true},
      {"nothing again", [](MonitorModel&, StubCounters&) {}, false, false},
      {"a column", [](MonitorModel&, StubCounters& c) { c.AddTraffic(0, 800, 0); }, true, true},
      {"a quiet tick that scrolls it on", [](MonitorModel&, StubCounters&) {}, true, true},
  };
  for (const auto& step : steps) {
    const int paints = view.canvas.paints, shown = view.showGraphPanelCount;
    step.apply(model, counters);
    model.OnGraphTick();
    EXPECT_EQ(view.canvas.paints - paints, step.paints ? 1 : 0) << step.change;
    EXPECT_EQ(view.showGraphPanelCount - shown, step.shows ? 1 : 0) << step.change;
  }
}

TEST_F(ModelTest, ANewRefreshPeriodRestartsTheGraphTimer) {
  model.SetRefreshPeriod(196);
  EXPECT_EQ(model.settings.refreshPeriodMs, 196);
  EXPECT_EQ(view.restartPeriods, std::vector<int32_t>{196});
}

TEST_F(ModelTest, OnlyWatchedInterfacesGetALogFile) {
  model.CreateInterfaceStats(3);
  model.WatchSelectedInterface();
  model.SelectInterface(2);
  model.WatchSelectedInterface();
  EXPECT_EQ(logs.openedNames,
            (Strings{"Fake_Ethernet_Adapter_0_Quintrel.csv", "Fake_Ethernet_Adapter_2_Quintrel.csv"}));
}

// An interface selected again counts on from where it stopped: its first second holds everything
// counted while it was not watched.
TEST_F(ModelTest, AnInterfaceSelectedAgainResumesItsStatistics) {
  model.CreateInterfaceStats(2);
  Seconds(3, 0, 10, 100);
  model.settings.selectedInterface = 1;
  Seconds(30, 0, 50, 5000);
  model.settings.selectedInterface = 0;
  model.OnStatisticsTick();
  EXPECT_EQ(Figures(0).currentReceived, 150000u);
  EXPECT_EQ(Figures(0).totalReceived, 2 * 100u + 150000u);
  EXPECT_FLOAT_EQ(Figures(0).avgReceivedMinute, (2 * 100 + 150000) / 60.0f) << "the history resumes";
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

// A balloon the shell refused (it is still starting at sign-in) is not taken as shown: the next
// second tries again, and only a balloon shown is remembered in the profile.
TEST_F(ModelTest, TheAllowanceIsAnnouncedOnceTheShellTakesTheBalloon) {
  model.settings.allowanceAmount = 1;  // 1 MB
  model.settings.allowanceInGigabytes = 0;
  model.CreateInterfaceStats(1);
  model.WatchSelectedInterface();
  Seconds(1);
  const struct {
    uint32_t bytes;
    bool shellTakes;
    int shown;
    int32_t remembered;
    const char* what;
  } steps[] = {
      {700 * 1024, true, 0, 0, "70 %"},
      {150 * 1024, false, 0, 0, "80 % passed, but the shell refuses"},
      {0, false, 0, 0, "refused again"},
      {0, true, 1, 80, "shown at last"},
      {0, true, 1, 80, "once"},
      {200 * 1024, true, 2, 100, "all of it"},
  };
  for (const auto& step : steps) {
    view.shellTakesNotices = step.shellTakes;
    Seconds(1, 0, 0, step.bytes);
    EXPECT_EQ(int(view.notices.size()), step.shown) << step.what;
    EXPECT_EQ(profile.ints["allowpct"], step.remembered) << step.what;
  }
  EXPECT_EQ(view.notices.front(),
            "Quintrel: monthly allowance: 80 % of the monthly allowance used: 0.83 MB of 1 MB since 1.5.2003.");
  EXPECT_EQ(profile.ints["allowseen"], 20030501);

  // A new allowance is a new watch: its 80 % is announced in this very period.
  model.StoreAllowance(2, false, 1);
  EXPECT_EQ(profile.ints["allowseen"], 0);
  EXPECT_EQ(profile.ints["allowpct"], 0);
  Seconds(1, 0, 0, 600 * 1024);
  EXPECT_EQ(view.notices.size(), 3u);
}

// The readout is off at a first start; on, it is handed the rates and the tray's tip only when they
// change, and its flags are stored at once.
TEST_F(ModelTest, TheTaskbarReadoutIsHandedNewRatesOnly) {
  model.LoadAllSettings();
  model.CreateInterfaceStats(1);
  model.ShowStoredTaskbarReadout();
  EXPECT_FALSE(view.readoutOn);
  Seconds(2, 0, 512, 2048);
  EXPECT_EQ(view.readoutRatesCount, 0) << "off: nothing is handed over";

  model.SetTaskbarReadout(true, false);
  EXPECT_TRUE(view.readoutOn);
  EXPECT_FALSE(view.readoutOnEveryTaskbar);
  EXPECT_EQ(profile.ints["tbar"], 1);
  EXPECT_EQ(profile.ints["tbarall"], 0);
  EXPECT_EQ(view.readoutRatesCount, 1) << "at once";
  EXPECT_STREQ(view.lastReadoutRates, "2048/512 2.00 KB/s received  0.50 KB/s sent");
  Seconds(1, 0, 512, 2048);
  EXPECT_EQ(view.readoutRatesCount, 1) << "the same rates";
  Seconds(1, 0, 0, 0);
  EXPECT_STREQ(view.lastReadoutRates, "0/0 0.00 KB/s received  0.00 KB/s sent");
  model.SetTaskbarReadout(true, true);
  EXPECT_TRUE(view.readoutOnEveryTaskbar);
  EXPECT_EQ(profile.ints["tbarall"], 1);
  model.SetTaskbarReadout(false, true);
  EXPECT_FALSE(view.readoutOn);
  const int handed = view.readoutRatesCount;
  Seconds(1, 0, 7, 7);
  EXPECT_EQ(view.readoutRatesCount, handed);

  profile.ints["tbar"] = 7;  // damaged: off
  model.LoadAllSettings();
  model.ShowStoredTaskbarReadout();
  EXPECT_FALSE(view.readoutOn);
}

TEST_F(ModelTest, TicksAllocateNothing) {
#ifdef QUINTREL_COUNTS_ALLOCATIONS
  ASSERT_TRUE(CountAllocations());
  logs.recordText = false;
  model.settings.autoScale = 1;
  model.settings.allowanceAmount = 1;
  model.settings.taskbarReadout = 1;
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
  EXPECT_EQ(allocationCount - before, 0);
  EXPECT_EQ(logs.files.begin()->second->appendCount, 3);
#else
  GTEST_SKIP() << "allocations are counted in the sanitizer build";
#endif
}

// "All links" over 16 links, and the seconds a missing interface is waited for, the table read again.
TEST_F(ModelTest, TicksOverAllLinksAndWhileWaitingAllocateNothing) {
#ifdef QUINTREL_COUNTS_ALLOCATIONS
  ASSERT_TRUE(CountAllocations());
  logs.recordText = false;
  counters.sumsAllLinks = true;
  for (int row = 0; row < StubCounters::kRows; ++row) {
    counters.facts[row] = InterfaceFacts{kEthernetType, kOperStatusOperational, 0, 0, false};
    counters.facts[row].luid = uint64_t(row + 1) << 24;
    counters.facts[row].hardware = true;
  }
  // The waiting ends before the wait is over, when the stand-in's log opens.
  for (const auto& [ethid, ticks] : {std::pair{"all", 70}, std::pair{"00000000FF000000", 29}}) {
    profile.texts["ethid"] = ethid;
    model.LoadAllSettings();
    model.CreateInterfaceStats(StubCounters::kRows);
    model.StartWatching();
    model.OnStatisticsTick();
    const long before = allocationCount;
    for (int tick = 0; tick < ticks; ++tick) {
      for (InterfaceFacts& link : counters.facts) link.inOctets += uint32_t(tick) * 1000;
      counters.clockMs += 1000;
      model.OnStatisticsTick();
      for (int graph = 0; graph < 5; ++graph) model.OnGraphTick();
    }
    EXPECT_EQ(allocationCount - before, 0) << ethid;
  }
  EXPECT_GE(counters.tableReads, 5) << "the missing interface was looked for";
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
  model.StartWatching();
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
  model.StartWatching();
  ConnectWireless();
  Seconds(12);
  EXPECT_EQ(model.settings.selectedInterface, 0) << "the user's choice";

  model.settings.interfaceStored = false;
  model.StartWatching();
  EXPECT_EQ(model.settings.selectedInterface, 3) << "the wireless link has counted traffic";

  counters.facts[3].inOctets = counters.facts[3].outOctets = 0;
  counters.facts[3].operStatus = kDown;
  model.StartWatching();
  EXPECT_EQ(model.settings.selectedInterface, 2);
  model.WriteConfigureSettings();
  ConnectWireless();
  Seconds(12);
  EXPECT_EQ(model.settings.selectedInterface, 2) << "Configure was closed: the choice is the user's";
}

}  // namespace
