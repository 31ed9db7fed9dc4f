// The readout's place on every kind of taskbar, from 100 to 200 %, and when it hides.
#include "taskbar/readout_placement.h"

#include <gtest/gtest.h>

namespace {

constexpr ScreenRect kScreen = {0, 0, 1920, 1080};
constexpr ScreenRect kNone = {};

TEST(ReadoutPlacement, SitsBeforeTheNotificationAreaOrHides) {
  const struct {
    const char* what;
    ScreenRect monitor, taskbar, area;
    bool primary;
    int32_t dpi;
    ReadoutSize size;
    bool visible;
    ScreenRect rect;
  } cases[] = {
      {"bottom, 100 %",
       kScreen,
       {0, 1040, 1920, 1080},
       {1700, 1040, 1920, 1080},
       true,
       96,
       {130, 34},
       true,
       {1566, 1043, 1696, 1077}},
      {"bottom, 125 %, an empty area (Windows 11 at sign-in)",
       kScreen,
       {0, 1030, 1920, 1080},
       kNone,
       true,
       120,
       {163, 43},
       true,
       {1407, 1033, 1570, 1076}},
      {"bottom, 150 %",
       kScreen,
       {0, 1020, 1920, 1080},
       {1600, 1020, 1920, 1080},
       true,
       144,
       {195, 51},
       true,
       {1399, 1024, 1594, 1075}},
      {"bottom, 200 %",
       {0, 0, 3840, 2160},
       {0, 2080, 3840, 2160},
       {3400, 2080, 3840, 2160},
       true,
       192,
       {260, 68},
       true,
       {3132, 2086, 3392, 2154}},
      {"an area that is not on the taskbar counts as none",
       kScreen,
       {0, 1040, 1920, 1080},
       {0, 0, 200, 40},
       true,
       96,
       {130, 34},
       true,
       {1510, 1043, 1640, 1077}},
      {"bottom, standing out of the screen by two pixels",
       kScreen,
       {-2, 1038, 1922, 1082},
       {1700, 1038, 1922, 1082},
       true,
       96,
       {130, 34},
       true,
       {1566, 1043, 1696, 1077}},
      {"top", kScreen, {0, 0, 1920, 40}, {1700, 0, 1920, 40}, true, 96, {130, 34}, true, {1566, 3, 1696, 37}},
      {"left: above the area, the taskbar's width",
       kScreen,
       {0, 0, 62, 1080},
       {0, 900, 62, 1080},
       true,
       96,
       {62, 38},
       true,
       {0, 858, 62, 896}},
      {"right, 200 %, no area",
       {0, 0, 3840, 2160},
       {3716, 0, 3840, 2160},
       kNone,
       true,
       192,
       {124, 72},
       true,
       {3716, 1528, 3840, 1600}},
      {"a second monitor's taskbar: room for its clock",
       {1920, 0, 3200, 1024},
       {1920, 984, 3200, 1024},
       kNone,
       false,
       96,
       {130, 34},
       true,
       {2950, 987, 3080, 1021}},
      {"a second monitor's taskbar at 200 %",
       {-3840, 0, 0, 2160},
       {-3840, 2080, 0, 2160},
       kNone,
       false,
       192,
       {260, 68},
       true,
       {-500, 2086, -240, 2154}},
      {"Wine's shell desktop",
       {0, 0, 1024, 768},
       {0, 748, 1024, 768},
       kNone,
       true,
       96,
       {128, 20},
       true,
       {616, 748, 744, 768}},
      {"auto-hidden below the screen", kScreen, {0, 1078, 1920, 1118}, kNone, true, 96, {130, 34}, false},
      {"auto-hidden left of the screen", kScreen, {-60, 0, 2, 1080}, kNone, true, 96, {62, 38}, false},
      {"would reach over the Start button",
       {0, 0, 800, 600},
       {0, 560, 800, 600},
       kNone,
       true,
       96,
       {480, 34},
       false},
      {"thicker than the taskbar", kScreen, {0, 1050, 1920, 1080}, kNone, true, 96, {130, 34}, false},
      {"a window that is no taskbar (a stand-alone tray)",
       kScreen,
       {100, 100, 300, 140},
       kNone,
       true,
       96,
       {130, 34},
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TaskbarView view;
    view.monitor = c.monitor;
    view.taskbar = c.taskbar;
    view.notificationArea = c.area;
    view.primary = c.primary;
    view.dpi = c.dpi;
    const ReadoutPlacement placement = PlaceReadout(view, c.size);
    EXPECT_EQ(placement.visible, c.visible);
    if (!c.visible) continue;
    const ScreenRect& r = placement.rect;
    EXPECT_EQ(r, c.rect) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    view.fullScreenInFront = true;
    EXPECT_FALSE(PlaceReadout(view, c.size).visible) << "a full-screen program is in front";
    view.fullScreenInFront = false;
    view.taskbarShown = false;
    EXPECT_FALSE(PlaceReadout(view, c.size).visible) << "the taskbar is hidden";
  }
}

TEST(ReadoutPlacement, TellsTheEdgeATaskbarLiesAlong) {
  const struct {
    ScreenRect monitor, taskbar;
    TaskbarEdge edge;
  } cases[] = {
      {kScreen, {0, 1040, 1920, 1080}, TaskbarEdge::Bottom},
      {kScreen, {0, 1078, 1920, 1118}, TaskbarEdge::Bottom},  // auto-hidden
      {kScreen, {0, 0, 1920, 40}, TaskbarEdge::Top},
      {kScreen, {0, -38, 1920, 2}, TaskbarEdge::Top},
      {kScreen, {0, 0, 62, 1080}, TaskbarEdge::Left},
      {kScreen, {1858, 0, 1920, 1080}, TaskbarEdge::Right},
      {{-1280, 0, 0, 1024}, {-1280, 984, 0, 1024}, TaskbarEdge::Bottom},
      {kScreen, {-2, 1038, 1922, 1082}, TaskbarEdge::Bottom},  // standing out a little at its ends
      {kScreen, {0, 1040, 960, 1080}, TaskbarEdge::None},      // half the width
      {kScreen, {0, 500, 1920, 540}, TaskbarEdge::None},       // on no edge
      {kScreen, {0, 0, 1920, 1080}, TaskbarEdge::None},        // the whole screen
      {kScreen, {100, 100, 300, 140}, TaskbarEdge::None},
      {kScreen, kNone, TaskbarEdge::None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.taskbar.left << "," << c.taskbar.top << "," << c.taskbar.right << ","
                                    << c.taskbar.bottom);
    EXPECT_EQ(TaskbarEdgeOf(c.taskbar, c.monitor), c.edge);
  }
}

TEST(ReadoutPlacement, FindsAFullScreenProgramInFrontOnItsMonitor) {
  constexpr ScreenRect kSecond = {1920, 0, 3840, 1080};
  const struct {
    const char* what;
    bool present, shell;
    ScreenRect window;
    int32_t state;
    bool onFirst, onSecond;
  } cases[] = {
      {"no window in front", false, false, kNone, 5, false, false},
      {"Direct3D full screen, no window in front", false, false, kNone, 3, true, true},
      {"a window covering the first monitor", true, false, kScreen, 5, true, false},
      {"a borderless window larger than the monitor", true, false, {-8, -8, 1928, 1088}, 5, true, false},
      {"a maximised window leaves the taskbar", true, false, {-8, -8, 1928, 1048}, 5, false, false},
      {"the desktop covers the monitor", true, true, kScreen, 5, false, false},
      {"the shell says busy, the window on the second", true, false, {2000, 100, 2400, 500}, 2, false, true},
      {"the shell says busy with its own window in front", true, true, kScreen, 2, false, false},
      {"no answer from the shell", true, false, {100, 100, 500, 500}, 0, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ForegroundView front;
    front.present = c.present;
    front.belongsToShell = c.shell;
    front.window = c.window;
    front.notificationState = c.state;
    EXPECT_EQ(FullScreenInFront(front, kScreen), c.onFirst);
    EXPECT_EQ(FullScreenInFront(front, kSecond), c.onSecond);
  }
}

}  // namespace
