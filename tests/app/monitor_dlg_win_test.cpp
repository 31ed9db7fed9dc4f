// The real main window under Wine, on its real interfaces and timers, driven from inside its own
// modal loop: its popup menu, tray-only mode, always-on-top, the ways it ends, the tray tip of a
// real tick and the graph timer that the refresh slider restarts.
#include "app/monitor_dlg_win.h"
#include "fw/dpi_win.h"
#include "render/byte_format.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fw/app_win.h"
#include "log/usage_totals.h"
#include "render/graph_painter.h"
#include "resource.h"
#include "sampling/ip_helper_win.h"
#include "support/memory_profile.h"
#include "support/modal_driver_win.h"
#include "support/shell_notify_recorder_win.h"
#include "support/temp_directory_win.h"
#include "support/udp_socket_win.h"

namespace {

// The window and its panel at 96 DPI, where these tests run.
constexpr int kWindowWidth = 180, kWindowHeight = 120;
constexpr int kPanelX = 9, kPanelY = 10;

constexpr UINT kRunScript = WM_APP + 77;
constexpr DWORD kScriptTimeLimitMs = 30000;

// Runs the thread's messages as a dialog's modal loop does, until the condition holds or the time
// is up; returns whether it holds.
bool PumpUntil(HWND dialog, const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (dialog == nullptr || !IsDialogMessageA(dialog, &message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      if (done()) return true;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

// The row of Wine's "lo" in the interface table the helper has just read, or -1.
int32_t LoopbackRow(CIpHelper& counters) {
  if (counters.DiscoverInterfaces() != nullptr) return -1;
  for (uint32_t i = 0; i < counters.Count(); ++i)
    if (strcmp(counters.Description(int32_t(i)), "lo") == 0) return int32_t(i);
  return -1;
}

void PumpFor(HWND dialog, DWORD ms) {
  PumpUntil(
      dialog, [] { return false; }, ms);
}

// The real window with a script that runs inside its modal loop, and a record of its ticks.
class ScriptedMainWindow : public CMonitorDlg {
 public:
  using Script = std::function<void(ScriptedMainWindow&)>;
  ScriptedMainWindow(IProfile& profile, Script script) : CMonitorDlg(profile), script(std::move(script)) {}

  // When each of the window's timer messages arrived, by timer id.
  std::map<UINT_PTR, std::vector<DWORD>> ticks;
  std::function<void(UINT_PTR id)> beforeTick;
  std::function<void(UINT_PTR id)> afterTick;
  std::function<void()> onDestroy;  // the window still exists

  size_t TickCount(UINT_PTR id) { return ticks[id].size(); }
  bool WaitForTicks(UINT_PTR id, size_t count, DWORD timeoutMs = 5000) {
    return PumpUntil(
        hwnd(), [&] { return TickCount(id) >= count; }, timeoutMs);
  }
  void Command(UINT id) { SendMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

 protected:
  BOOL OnInitDialog() override {
    const BOOL result = CMonitorDlg::OnInitDialog();
    PostMessageA(hwnd(), kRunScript, 0, 0);
    return result;
  }
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    if (message == kRunScript) {
      handled = true;
      script(*this);
      // Whatever the script did or left undone, the window ends; an ending already begun wins.
      PostMessageA(hwnd(), WM_COMMAND, IDCANCEL, 0);
      return TRUE;
    }
    if (message == WM_DESTROY && onDestroy) onDestroy();
    return CMonitorDlg::OnMessage(message, wParam, lParam, handled);
  }
  void OnTimer(UINT_PTR id) override {
    ticks[id].push_back(GetTickCount());
    if (beforeTick) beforeTick(id);
    CMonitorDlg::OnTimer(id);
    if (afterTick) afterTick(id);
  }

 private:
  Script script;
};

// Whether the shell holds the window's icon: a change of nothing succeeds only for an icon it holds.
bool ShellHoldsIcon(HWND window) {
  NOTIFYICONDATAA record = {};
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = window;
  record.uID = kTrayIconId;
  record.uFlags = 0;
  return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

// One row of a popup menu as the menu itself holds it.
struct MenuRow {
  UINT id;
  std::string text;
  bool separator;
  bool checked;
};

struct OpenedMenu {
  std::vector<MenuRow> rows;
  RECT place = {};
  bool found = false;
};

OpenedMenu* menuBeingRead = nullptr;
int menuReadAttempts = 0;

BOOL CALLBACK FindMenuWindow(HWND window, LPARAM found) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (strcmp(name, "#32768") == 0 && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// Runs inside the menu's own loop: reads the open menu through its window, then closes it.
void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menuWindow = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, LPARAM(&menuWindow));
  if (menuWindow == nullptr && ++menuReadAttempts < 100) return;
  KillTimer(nullptr, timer);
  if (menuWindow != nullptr && menuBeingRead != nullptr) {
    const HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    GetWindowRect(menuWindow, &menuBeingRead->place);
    menuBeingRead->found = menu != nullptr;
    for (int i = 0; menu != nullptr && i < GetMenuItemCount(menu); ++i) {
      char text[64] = {};
      MENUITEMINFOA item = {};
      item.cbSize = sizeof item;
      item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
      item.dwTypeData = text;
      item.cch = sizeof text;
      GetMenuItemInfoA(menu, UINT(i), TRUE, &item);
      menuBeingRead->rows.push_back(
          {item.wID, text, (item.fType & MFT_SEPARATOR) != 0, (item.fState & MFS_CHECKED) != 0});
    }
  }
  EndMenu();
}

// The popup menu opened the user's way, a right click on the window, and read while it is open.
OpenedMenu ReadPopupMenu(HWND window) {
  OpenedMenu opened;
  menuBeingRead = &opened;
  menuReadAttempts = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, ReadOpenMenu);
  SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(60, 40));
  KillTimer(nullptr, timer);
  menuBeingRead = nullptr;
  return opened;
}

std::set<UINT> CheckedIds(const OpenedMenu& menu) {
  std::set<UINT> checked;
  for (const MenuRow& row : menu.rows)
    if (row.checked) checked.insert(row.id);
  return checked;
}

bool IsTopmost(HWND window) {
  return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

SIZE WindowSize(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

POINT WindowPlace(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return POINT{r.left, r.top};
}

class MainWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitControlClasses(); }
  void SetUp() override { ResetProfile(); }

  // A profile that holds only the window's place.
  void ResetProfile() {
    profile.ints.clear();
    profile.accesses.clear();
    profile.ints["x_pos"] = 40;
    profile.ints["y_pos"] = 50;
  }

  // The window on the test's profile; the script runs inside its modal loop. Should the script
  // hang, every dialog of the thread is ended after a while.
  INT_PTR Run(const ScriptedMainWindow::Script& script,
              const std::function<void(ScriptedMainWindow&)>& prepare = nullptr) {
    ScriptedMainWindow window(profile, script);
    if (prepare) prepare(window);
    const UINT_PTR watchdog = SetTimer(nullptr, 0, kScriptTimeLimitMs, EndEveryDialog);
    const INT_PTR result = window.DoModal();
    KillTimer(nullptr, watchdog);
    return result;
  }

  static void CALLBACK EndEveryDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    ADD_FAILURE() << "the script did not end in time";
    EndMenu();
    EnumThreadWindows(GetCurrentThreadId(), EndDialogWindow, 0);
  }
  static BOOL CALLBACK EndDialogWindow(HWND window, LPARAM) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, "#32770") != 0) return TRUE;
    const std::string text = ControlText(window, 0xFFFF);  // a message box's text
    if (!text.empty()) ADD_FAILURE() << "a message box says \"" << text << "\"";
    EndDialog(window, -2);
    return TRUE;
  }

  // The window will watch the loopback: its row in the counters' table, or -1.
  int32_t WatchLoopback(CIpHelper& counters) {
    const int32_t row = LoopbackRow(counters);
    if (row >= 0) profile.ints["eth"] = row;
    return row;
  }

  std::vector<std::pair<std::string, int32_t>> Writes() const {
    std::vector<std::pair<std::string, int32_t>> writes;
    for (const ProfileAccess& access : profile.accesses)
      if (access.kind == ProfileAccess::WriteInt) writes.emplace_back(access.key, access.value);
    return writes;
  }

  // The value last written for a key, or kNotWritten.
  static constexpr int32_t kNotWritten = -999;
  int32_t LastWrite(const std::string& key) const {
    int32_t value = kNotWritten;
    for (const auto& write : Writes())
      if (write.first == key) value = write.second;
    return value;
  }

  TempDirectory directory;  // the window opens one traffic log per interface here
  MemoryProfile profile;
};

const std::vector<MenuRow> kExpectedMenu = {
    {500, "Always On Top", false, false},
    {501, "Only tray icon", false, false},
    {540, "Taskbar readout", false, false},
    {541, "On every taskbar", false, false},
    {0, "", true, false},
    {503, "Current Receive", false, false},
    {504, "Last min. avg", false, false},
    {505, "Last hour avg", false, false},
    {506, "Total Received", false, false},
    {507, "% Bandwidth", false, false},
    {508, "% 1 min. Bandwidth", false, false},
    {509, "% 1 hour Bandwidth", false, false},
    {0, "", true, false},
    {521, "Current Send", false, false},
    {522, "Last min. avg", false, false},
    {523, "Last hour avg", false, false},
    {524, "Total Sent", false, false},
    {525, "% Bandwidth", false, false},
    {526, "% 1 min. Bandwidth", false, false},
    {527, "% 1 hour Bandwidth", false, false},
    {0, "", true, false},
    {534, "SETUP", false, false},
    {539, "Usage...", false, false},
    {0, "", true, false},
    {538, "StatConsole", false, false},
    {0, "", true, false},
    {536, "About", false, false},
    {537, "Exit", false, false},
};

// The menu opened on the running window holds its 25 rows, and the check marks the profile chose:
// a stored selection outside 0..6 leaves its group without any.
TEST_F(MainWindow, PopupMenuHoldsItsRowsWithTheStoredSelectionsChecked) {
  struct Case {
    int32_t receive, send, onTop;
    std::set<UINT> checked;
  };
  const Case cases[] = {
      {0, 0, 1, {500, 503, 521}},
      {9, 6, 0, {527}},
      {6, 9, 1, {500, 509}},
      {-1, 7, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("r_sel " + std::to_string(c.receive) + ", s_sel " + std::to_string(c.send));
    ResetProfile();
    profile.ints["r_sel"] = c.receive;
    profile.ints["s_sel"] = c.send;
    profile.ints["ontop"] = c.onTop;
    OpenedMenu menu;
    POINT window = {};
    Run([&](ScriptedMainWindow& w) {
      window = WindowPlace(w.hwnd());
      menu = ReadPopupMenu(w.hwnd());
    });
    ASSERT_TRUE(menu.found) << "no popup menu opened";
    ASSERT_EQ(menu.rows.size(), kExpectedMenu.size());
    for (size_t i = 0; i < kExpectedMenu.size(); ++i) {
      EXPECT_EQ(menu.rows[i].separator, kExpectedMenu[i].separator) << "row " << i + 1;
      EXPECT_EQ(menu.rows[i].text, kExpectedMenu[i].text) << "row " << i + 1;
      if (!kExpectedMenu[i].separator) EXPECT_EQ(menu.rows[i].id, kExpectedMenu[i].id) << "row " << i + 1;
    }
    EXPECT_EQ(CheckedIds(menu), c.checked);
    // Wherever the click was, the menu opens 15 pixels right of and below the window's corner.
    EXPECT_EQ(menu.place.left, window.x + 15);
    EXPECT_EQ(menu.place.top, window.y + 15);
  }
}

// "Only tray icon" and a double-click hide the window; "Always On Top" brings back a window that
// started tray-only with no size, but leaves a hidden one hidden. Exit saves tray-only in all cases.
TEST_F(MainWindow, TrayOnlyModeFromEachWayInIsSavedAtExitAndOnlyAZeroSizeWindowReturns) {
  enum Step { OnlyTrayIcon, DoubleClick, AlwaysOnTop };
  struct Case {
    const char* name;
    int32_t storedTrayOnly;
    std::vector<Step> steps;
    bool visible;
  };
  const Case cases[] = {
      {"Only tray icon", 0, {OnlyTrayIcon}, false},
      {"double-click", 0, {DoubleClick}, false},
      {"started tray-only, then Always On Top", 1, {AlwaysOnTop}, true},
      {"Only tray icon, then Always On Top", 0, {OnlyTrayIcon, AlwaysOnTop}, false},
      {"double-click, then Always On Top", 0, {DoubleClick, AlwaysOnTop}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetProfile();
    profile.ints["minm"] = c.storedTrayOnly;
    Run([&](ScriptedMainWindow& w) {
      HWND window = w.hwnd();
      EXPECT_TRUE(IsWindowVisible(window));
      const SIZE start = WindowSize(window);
      EXPECT_EQ(start.cx, c.storedTrayOnly ? 0 : kWindowWidth);
      EXPECT_EQ(start.cy, c.storedTrayOnly ? 0 : kWindowHeight);
      for (Step step : c.steps) {
        if (step == OnlyTrayIcon) w.Command(IDM_TRAY_ONLY);
        if (step == DoubleClick) SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(60, 40));
        if (step == AlwaysOnTop) w.Command(IDM_ALWAYS_ON_TOP);
      }
      PumpFor(window, 50);
      EXPECT_EQ(IsWindowVisible(window) != FALSE, c.visible);
      const SIZE end = WindowSize(window);
      EXPECT_EQ(end.cx, kWindowWidth);
      EXPECT_EQ(end.cy, kWindowHeight);
      EXPECT_EQ(WindowPlace(window).x, 40);
      EXPECT_EQ(WindowPlace(window).y, 50);
      w.TearDown();
    });
    EXPECT_EQ(LastWrite("minm"), 1);
    EXPECT_EQ(LastWrite("x_pos"), 40);
  }
}

// Start-up reads each interface's preset index once, after the settings and the presets.
TEST_F(MainWindow, StartUpReadsEachPresetIndexOnce) {
  Run([](ScriptedMainWindow& w) { w.TearDown(); });
  std::vector<std::string> reads;
  for (const ProfileAccess& access : profile.accesses)
    if (access.kind == ProfileAccess::ReadInt && access.key.rfind("DeviceSpeedIndex", 0) == 0) reads.push_back(access.key);
  ASSERT_FALSE(reads.empty());
  for (size_t i = 0; i < reads.size(); ++i) EXPECT_EQ(reads[i], "DeviceSpeedIndex" + std::to_string(i));
}

// "ontop" stored as 2 counts as on top; the first "Always On Top" keeps it so and makes it 1,
// the second lets go.
TEST_F(MainWindow, AlwaysOnTopStoredAsTwoStaysOnTopAtTheFirstCommandAndLetsGoAtTheSecond) {
  struct Case {
    int commands;
    bool topmost;
    bool checked;
    int32_t saved;
  };
  const Case cases[] = {{0, true, true, 2}, {1, true, true, 1}, {2, false, false, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.commands) + " commands");
    ResetProfile();
    profile.ints["ontop"] = 2;
    Run([&](ScriptedMainWindow& w) {
      for (int i = 0; i < c.commands; ++i) w.Command(IDM_ALWAYS_ON_TOP);
      EXPECT_EQ(IsTopmost(w.hwnd()), c.topmost);
      const OpenedMenu menu = ReadPopupMenu(w.hwnd());
      ASSERT_TRUE(menu.found);
      EXPECT_EQ(CheckedIds(menu).count(IDM_ALWAYS_ON_TOP), c.checked ? 1u : 0u);
      EXPECT_EQ(WindowSize(w.hwnd()).cx, kWindowWidth);
      w.TearDown();
    });
    EXPECT_EQ(LastWrite("ontop"), c.saved);
  }
}

// Enter, Escape, a close request and the end of the session each save what Exit saves and take the
// icon out of the tray. The end of the session leaves the dialog to the system, which ends the
// process; the test ends it itself, without the dialog's own cancel.
TEST_F(MainWindow, EnterEscapeCloseAndEndOfSessionSaveTheExitGroupAndRemoveTheTrayIcon) {
  struct Case {
    const char* name;
    std::function<void(HWND)> end;
    INT_PTR result;
  };
  constexpr INT_PTR kEndedByTest = 77;
  const Case cases[] = {
      {"Enter", [](HWND w) { PostMessageA(w, WM_KEYDOWN, VK_RETURN, 0); }, IDOK},
      {"Escape", [](HWND w) { PostMessageA(w, WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL},
      {"WM_CLOSE", [](HWND w) { PostMessageA(w, WM_CLOSE, 0, 0); }, IDCANCEL},
      {"WM_ENDSESSION",
       [](HWND w) {
         SendMessageA(w, WM_ENDSESSION, TRUE, 0);
         EndDialog(w, kEndedByTest);
       },
       kEndedByTest},
  };
  const std::vector<std::pair<std::string, int32_t>> exitGroup = {{"x_pos", 70}, {"y_pos", 90}, {"pxpos", 1}, {"s_sel", 5},
                                                                  {"r_sel", 2},  {"ontop", 0},  {"minm", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetProfile();
    bool heldAtStart = false, heldAtDestroy = true;
    std::vector<std::pair<std::string, int32_t>> writesAtDestroy;
    const INT_PTR result = Run(
        [&](ScriptedMainWindow& w) {
          heldAtStart = ShellHoldsIcon(w.hwnd());
          SetWindowPos(w.hwnd(), nullptr, 70, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
          w.Command(IDM_RECEIVE_FIRST + 2);
          w.Command(IDM_SEND_FIRST + 5);
          w.Command(IDM_ALWAYS_ON_TOP);
          profile.accesses.clear();
          c.end(w.hwnd());
        },
        [&](ScriptedMainWindow& w) {
          w.onDestroy = [&] {
            heldAtDestroy = ShellHoldsIcon(w.hwnd());
            writesAtDestroy = Writes();
          };
        });
    EXPECT_EQ(result, c.result);
    EXPECT_TRUE(heldAtStart);
    EXPECT_FALSE(heldAtDestroy) << "the icon is left in the tray";
    EXPECT_EQ(writesAtDestroy, exitGroup);
    EXPECT_EQ(Writes(), exitGroup) << "saved once";
  }
}

// On the loopback, whose two counters move together, the tip of each real statistics tick shows
// the bytes counted since the previous tick in KB/s of 1024 bytes.
TEST_F(MainWindow, TrayTipOfARealTickStatesTheLoopbackRatesInKilobytesPerSecond) {
  CIpHelper counters;
  const int32_t loopback = WatchLoopback(counters);
  ASSERT_GE(loopback, 0);
  ShellNotifyRecorder recorder;
  ASSERT_TRUE(recorder.Installed());

  // The counters just before and just after each statistics tick bracket the ones it read.
  std::vector<CounterReading> before, after;
  std::vector<std::string> tips;
  UdpSocket socket("127.0.0.1");
  ASSERT_TRUE(socket.Valid());
  int echoed = 0;
  Run(
      [&](ScriptedMainWindow& w) {
        ASSERT_TRUE(w.WaitForTicks(kStatisticsTimerId, 1));
        echoed = socket.SendEachAndAwaitReturn("127.0.0.1", socket.Port(), 1000, 40);
        ASSERT_TRUE(w.WaitForTicks(kStatisticsTimerId, 2));
      },
      [&](ScriptedMainWindow& w) {
        w.beforeTick = [&](UINT_PTR id) {
          if (id == kStatisticsTimerId) before.push_back(counters.ReadCounters(loopback));
        };
        w.afterTick = [&, window = &w](UINT_PTR id) {
          if (id != kStatisticsTimerId) return;
          after.push_back(counters.ReadCounters(loopback));
          tips.push_back(recorder.LastTip(window->hwnd()));
        };
      });
  ASSERT_GE(tips.size(), 2u);
  ASSERT_EQ(echoed, 40);
  EXPECT_EQ(tips[0], "0.00 KB/s received  0.00 KB/s sent") << "the first second is the baseline";

  double received = -1, sent = -1;
  ASSERT_EQ(sscanf(tips[1].c_str(), "%lf KB/s received  %lf KB/s sent", &received, &sent), 2) << tips[1];
  char reformatted[64];
  snprintf(reformatted, sizeof reformatted, "%.2f KB/s received  %.2f KB/s sent", received, sent);
  EXPECT_EQ(tips[1], reformatted);
  const auto expectWithin = [](double shown, uint32_t fewest, uint32_t most, const char* what) {
    EXPECT_GE(shown, fewest / 1024.0 - 0.005) << what;
    EXPECT_LE(shown, most / 1024.0 + 0.005) << what;
  };
  expectWithin(received, before[1].received - after[0].received, after[1].received - before[0].received,
               "received");
  expectWithin(sent, before[1].sent - after[0].sent, after[1].sent - before[0].sent, "sent");
  EXPECT_GT(received, 40 * 1000 / 1024.0) << "the datagrams sent to ourselves";
  EXPECT_EQ(received, sent) << "every loopback byte is sent and received";
}

// After sleep the counters take new baselines: the second after the resume shows nothing of what
// moved while the machine slept, and the seconds after it count again instead of sticking at 0.
TEST_F(MainWindow, TheSecondAfterAResumeCountsNoGapAndTheNextOnesCountAgain) {
  CIpHelper counters;
  const int32_t loopback = WatchLoopback(counters);
  ASSERT_GE(loopback, 0);
  ShellNotifyRecorder recorder;
  ASSERT_TRUE(recorder.Installed());
  UdpSocket socket("127.0.0.1");
  ASSERT_TRUE(socket.Valid());
  std::vector<std::string> tips;
  int echoed = 0;
  size_t before = 0;
  Run(
      [&](ScriptedMainWindow& w) {
        ASSERT_TRUE(w.WaitForTicks(kStatisticsTimerId, 2));
        before = w.TickCount(kStatisticsTimerId);
        echoed += socket.SendEachAndAwaitReturn("127.0.0.1", socket.Port(), 1000, 40);
        SendMessageA(w.hwnd(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
        ASSERT_TRUE(w.WaitForTicks(kStatisticsTimerId, before + 1));
        echoed += socket.SendEachAndAwaitReturn("127.0.0.1", socket.Port(), 1000, 40);
        ASSERT_TRUE(w.WaitForTicks(kStatisticsTimerId, before + 2));
      },
      [&](ScriptedMainWindow& w) {
        w.afterTick = [&, window = &w](UINT_PTR id) {
          if (id == kStatisticsTimerId) tips.push_back(recorder.LastTip(window->hwnd()));
        };
      });
  ASSERT_EQ(echoed, 80);
  ASSERT_GE(tips.size(), before + 2);
  EXPECT_EQ(tips[before], "0.00 KB/s received  0.00 KB/s sent") << "the gap is not traffic";
  double received = 0, sent = 0;
  const std::string& next = tips[before + 1];
  ASSERT_EQ(sscanf(next.c_str(), "%lf KB/s received  %lf KB/s sent", &received, &sent), 2) << next;
  EXPECT_GT(received, 40 * 1000 / 1024.0) << "counting again after the resume";
}

// An idle link's panel is the same at every graph tick: the window keeps the copy it has, so a pixel
// painted over it stays, until the window is painted and the next tick copies the panel again.
TEST_F(MainWindow, AnUnchangedPanelIsCopiedToTheWindowAgainOnlyAfterAPaint) {
  CIpHelper counters;
  const int32_t loopback = WatchLoopback(counters);
  ASSERT_GE(loopback, 0);
  constexpr COLORREF kMagenta = RGB(255, 0, 255);  // never on the panel
  const int x = kPanelX + 80, y = kPanelY + 31;
  COLORREF kept = 0, repainted = 0;
  bool idle = false, looked = false;
  Run([&](ScriptedMainWindow& w) {
    ASSERT_TRUE(w.WaitForTicks(kGraphTimerId, 3));
    HDC dc = GetDC(w.hwnd());
    const CounterReading start = counters.ReadCounters(loopback);
    SetPixel(dc, x, y, kMagenta);
    ASSERT_TRUE(w.WaitForTicks(kGraphTimerId, w.TickCount(kGraphTimerId) + 4));
    kept = GetPixel(dc, x, y);
    const CounterReading end = counters.ReadCounters(loopback);
    idle = start.sent == end.sent && start.received == end.received;
    InvalidateRect(w.hwnd(), nullptr, FALSE);
    UpdateWindow(w.hwnd());
    ASSERT_TRUE(w.WaitForTicks(kGraphTimerId, w.TickCount(kGraphTimerId) + 2));
    repainted = GetPixel(dc, x, y);
    ReleaseDC(w.hwnd(), dc);
    looked = true;
  });
  ASSERT_TRUE(looked);
  // Other programs of the machine may use the loopback meanwhile; the panel then changes.
  if (idle) EXPECT_EQ(kept, kMagenta) << "the unchanged panel was copied again";
  EXPECT_NE(repainted, kMagenta) << "after the window was painted, the panel came back";
}

// Moved to a monitor at 150 %, the window takes the place the system suggests at 270 x 180 and draws
// its panel there at 240 x 150 from (14, 15), two-pixel dots and all; back at 100 % it is as before.
TEST_F(MainWindow, ADpiChangeRedrawsTheWindowAndThePanelAtTheNewScale) {
  CIpHelper counters;
  ASSERT_GE(WatchLoopback(counters), 0);
  // Auto-scaled, the traces stay below the panel's top rows, whatever other tests send meanwhile.
  profile.ints["autoscale"] = 1;
  constexpr COLORREF kDot = RGB(10, 10, 250);
  const auto dpiChanged = [](HWND window, int dpi, RECT suggested) {
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&suggested));
  };
  bool looked = false;
  Run([&](ScriptedMainWindow& w) {
    HWND window = w.hwnd();
    ASSERT_TRUE(w.WaitForTicks(kGraphTimerId, 2));
    dpiChanged(window, 144, RECT{100, 80, 370, 260});
    UpdateWindow(window);
    ASSERT_TRUE(w.WaitForTicks(kGraphTimerId, w.TickCount(kGraphTimerId) + 2));
    EXPECT_EQ(WindowSize(window).cx, 270);
    EXPECT_EQ(WindowSize(window).cy, 180);
    EXPECT_EQ(WindowPlace(window).x, 100);
    EXPECT_EQ(WindowPlace(window).y, 80);
    HDC dc = GetDC(window);
    EXPECT_EQ(GetPixel(dc, 14, 15), kDot) << "the panel's top-left dot";
    EXPECT_EQ(GetPixel(dc, 15, 15), kDot) << "two pixels wide";
    EXPECT_EQ(GetPixel(dc, 15, 20), kDot) << "and, below the top row the edge cuts, two tall";
    EXPECT_EQ(GetPixel(dc, 16, 17), RGB(0, 0, 0));
    EXPECT_NE(GetPixel(dc, 262, 172), RGB(0, 0, 0)) << "the background fills the larger window";
    ReleaseDC(window, dc);

    dpiChanged(window, 96, RECT{100, 80, 280, 200});
    UpdateWindow(window);
    ASSERT_TRUE(w.WaitForTicks(kGraphTimerId, w.TickCount(kGraphTimerId) + 2));
    EXPECT_EQ(WindowSize(window).cx, kWindowWidth);
    EXPECT_EQ(WindowSize(window).cy, kWindowHeight);
    dc = GetDC(window);
    EXPECT_EQ(GetPixel(dc, kPanelX, kPanelY), kDot);
    EXPECT_EQ(GetPixel(dc, kPanelX + 1, kPanelY + 1), RGB(0, 0, 0)) << "one pixel wide again";
    ReleaseDC(window, dc);
    w.TearDown();
    looked = true;
  });
  EXPECT_TRUE(looked);
}

// The refresh slider restarts the window's graph timer (10) at each notification, while the
// statistics timer (11) keeps its pace: moved every 300 ms to 900 ms, the graph timer never comes,
// the statistics timer still comes every second, and 900 ms after the last move the graph ticks.
TEST_F(MainWindow, RefreshSliderRestartsOnlyTheGraphTimerOfTheRealWindow) {
  DWORD burstStart = 0, lastMove = 0;
  Run([&](ScriptedMainWindow& w) {
    ASSERT_TRUE(w.WaitForTicks(kGraphTimerId, 3)) << "the graph timer runs at 200 ms";
    ModalDriver driver;
    driver.On("Configure", [&](HWND d) {
      HWND slider = GetDlgItem(d, IDC_REFRESH_SLIDER);
      const auto move = [&] {
        SendMessageA(slider, TBM_SETPOS, TRUE, 30);
        SendMessageA(d, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 30), LPARAM(slider));
        SendMessageA(d, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), LPARAM(slider));
      };
      burstStart = GetTickCount();
      for (int i = 0; i < 10; ++i) {
        move();
        PumpFor(nullptr, 300);
      }
      move();
      lastMove = GetTickCount();
      PumpFor(nullptr, 1500);
      PostClick(d, IDOK);
    });
    driver.Run([&] { w.Command(IDM_SETUP); }, 20000);
    EXPECT_EQ(driver.failure, "");

    const auto ticksBetween = [&](UINT_PTR id, DWORD from, DWORD to) {
      std::vector<DWORD> found;
      for (DWORD at : w.ticks[id])
        if (at > from && at <= to) found.push_back(at - from);
      return found;
    };
    EXPECT_EQ(ticksBetween(kGraphTimerId, burstStart, lastMove), std::vector<DWORD>{});
    EXPECT_GE(ticksBetween(kStatisticsTimerId, burstStart, lastMove).size(), 2u);
    const std::vector<DWORD> graphAfter = ticksBetween(kGraphTimerId, lastMove, lastMove + 1500);
    ASSERT_FALSE(graphAfter.empty()) << "the graph timer stopped";
    EXPECT_GE(graphAfter[0], 850u);
    EXPECT_LE(graphAfter.size(), 1u);
  });
  EXPECT_EQ(profile.ints["refr"], 900);
}

// The loopback's traffic log in the test's folder, written before the window starts: today,
// yesterday and the month before, each minute at noon, and one damaged line.
struct WrittenLog {
  UsageAmount today, yesterday, thisMonth, lastMonth;
};

WrittenLog WriteLoopbackLog(uint64_t todaySent, uint64_t todayReceived) {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  const int64_t todayNumber = DayNumber({now.wYear, now.wMonth, now.wDay});
  const CalendarDate yesterday = DateOfDayNumber(todayNumber - 1);
  const CalendarDate lastMonth = DateOfDayNumber(DayNumber({now.wYear, now.wMonth, 1}) - 1);
  std::string text;
  char line[kLogHeaderSize];
  text.append(line, FormatLogHeader("lo", line, sizeof line));
  const auto add = [&](const CalendarDate& d, uint64_t sent, uint64_t received) {
    text.append(line, FormatLogLine({d.year, d.month, d.day, 0, 0, 30, 0}, sent, received, line, sizeof line));
  };
  WrittenLog written;
  add({now.wYear, now.wMonth, now.wDay}, todaySent, todayReceived);
  written.today.Add(todaySent, todayReceived);
  add(yesterday, 3 * 1048576 + 5, 7 * 1048576);
  written.yesterday.Add(3 * 1048576 + 5, 7 * 1048576);
  add(lastMonth, 40000, 50000);
  text += "2026,12,damaged\r\n";
  written.thisMonth = written.today;
  (yesterday.month == now.wMonth ? written.thisMonth : written.lastMonth).Add(written.yesterday);
  written.lastMonth.Add(40000, 50000);

  FILE* file = fopen("lo_Quintrel.csv", "wb");
  if (file != nullptr) {
    fwrite(text.data(), 1, text.size(), file);
    fclose(file);
  }
  return written;
}

std::string Count(uint64_t value) {
  char text[48];
  return FormatByteCount(value, text, sizeof text, "");
}

// "Usage..." opens its dialog owned by the main window, which it disables; the dialog shows the
// totals of the log on disk, and OK stores the allowance typed into it.
TEST_F(MainWindow, UsageCommandShowsTheLogsTotalsAndStoresTheAllowance) {
  CIpHelper counters;
  const int32_t loopback = LoopbackRow(counters);
  ASSERT_GE(loopback, 0);
  profile.ints["eth"] = loopback;
  const WrittenLog written = WriteLoopbackLog(1000, 3000);
  const char* pause = getenv("QUINTREL_USAGE_SCREENSHOT_MS");  // time to take a picture of it

  std::vector<std::string> cells;
  std::string note;
  HWND owner = nullptr, main = nullptr;
  bool mainEnabled = true;
  Run([&](ScriptedMainWindow& w) {
    main = w.hwnd();
    ModalDriver driver;
    driver.On("Usage", [&](HWND d) {
      for (int id = IDC_USAGE_CELL_FIRST; id <= IDC_USAGE_CELL_LAST; ++id) cells.push_back(ControlText(d, id));
      note = ControlText(d, IDC_USAGE_LOG_NOTE);
      owner = GetWindow(d, GW_OWNER);
      mainEnabled = IsWindowEnabled(w.hwnd()) != FALSE;
      if (pause != nullptr) PumpFor(nullptr, DWORD(atoi(pause)));
      TypeText(d, IDC_ALLOWANCE_AMOUNT, "750");
      SendDlgItemMessageA(d, IDC_ALLOWANCE_UNIT, CB_SETCURSEL, 0, 0);
      TypeText(d, IDC_ALLOWANCE_DAY, "31");
      PostClick(d, IDOK);
    });
    driver.Run([&] { w.Command(IDM_USAGE); }, 20000);
    EXPECT_EQ(driver.failure, "");
  });
  EXPECT_EQ(owner, main);
  EXPECT_FALSE(mainEnabled);
  const UsageAmount rows[] = {written.today, written.yesterday, written.thisMonth, written.lastMonth};
  std::vector<std::string> expected;
  for (const UsageAmount& row : rows) {
    expected.push_back(Count(row.received));
    expected.push_back(Count(row.sent));
    expected.push_back(Count(row.Both()));
  }
  EXPECT_EQ(cells, expected);
  EXPECT_EQ(note, "From the traffic log: 3 minute lines, 1 damaged lines skipped.");
  EXPECT_EQ(LastWrite("allow"), 750);
  EXPECT_EQ(LastWrite("allowgb"), 0);
  EXPECT_EQ(LastWrite("allowday"), 28) << "a period starts on the 28th at the latest";
}

// A log that holds 85 % of a 1 GB allowance gives the 80 % balloon at the first second, once. After
// a restart with the log at 101 %, the first second gives the 100 % balloon, and no second 80 %.
// (Other programs' loopback traffic stays far below the 15 % between.)
TEST_F(MainWindow, TrayBalloonsOnceWhenTheTicksPassEachLevelOfTheAllowance) {
  CIpHelper counters;
  const int32_t loopback = LoopbackRow(counters);
  ASSERT_GE(loopback, 0);
  profile.ints["eth"] = loopback;
  profile.ints["allow"] = 1;
  profile.ints["allowgb"] = 1;
  profile.ints["allowday"] = 1;
  constexpr uint64_t kGiB = uint64_t(1) << 30;
  ShellNotifyRecorder recorder;
  ASSERT_TRUE(recorder.Installed());

  const auto balloonsOfARun = [&] {
    std::vector<std::string> balloons;
    Run([&](ScriptedMainWindow& w) {
      ASSERT_TRUE(w.WaitForTicks(kStatisticsTimerId, 3));
      for (const auto& call : recorder.calls)
        if (call.window == w.hwnd() && call.message == NIM_MODIFY && (call.flags & NIF_INFO))
          balloons.push_back(call.info);
    });
    return balloons;
  };
  WriteLoopbackLog(kGiB * 40 / 100, kGiB * 45 / 100);
  const std::vector<std::string> first = balloonsOfARun();
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].rfind("80 % of the monthly allowance used: 0.8", 0), 0u) << first[0];
  EXPECT_EQ(LastWrite("allowpct"), 80);

  recorder.calls.clear();
  WriteLoopbackLog(kGiB / 2, kGiB * 51 / 100);
  const std::vector<std::string> second = balloonsOfARun();
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].rfind("100 % of the monthly allowance used: 1.0", 0), 0u) << second[0];
  EXPECT_EQ(LastWrite("allowpct"), 100);
}

}  // namespace
