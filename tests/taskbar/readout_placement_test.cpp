// The readout's place on every kind of taskbar, from 100 to 200 %, and when it hides.
#include "taskbar/readout_placement.h"

#include <gtest/gtest.h>

namespace {

constexpr ScreenRect kHd = {0, 0, 1920, 1080};
constexpr ScreenRect kNone = {};

constexpr ScreenRect k4K = {0, 0, 3840, 2160};

TEST(ReadoutPlacement, SitsBeforeTheNotificationAreaOrHides) {
  const struct {
    ScreenRect monitor, taskbar, area;
    bool primary;
    int32_t dpi;
    ReadoutSize size;
    ScreenRect rect;  // empty where the readout hides
  } cases[] = {
      // Along the bottom at 100, 125, 150 and 200 %; at 125 % with an empty notification area (as
      // Windows 11 has at sign-in), and with one that is not on the taskbar.
      {kHd, {0, 1040, 1920, 1080}, {1700, 1040, 1920, 1080}, true, 96, {130, 34}, {1566, 1043, 1696, 1077}},
      {kHd, {0, 1030, 1920, 1080}, kNone, true, 120, {163, 43}, {1407, 1033, 1570, 1076}},
      {kHd, {0, 1020, 1920, 1080}, {1600, 1020, 1920, 1080}, true, 144, {195, 51}, {1399, 1024, 1594, 1075}},
      {k4K, {0, 2080, 3840, 2160}, {3400, 2080, 3840, 2160}, true, 192, {260, 68}, {3132, 2086, 3392, 2154}},
      {kHd, {0, 1040, 1920, 1080}, {0, 0, 200, 40}, true, 96, {130, 34}, {1510, 1043, 1640, 1077}},
      // Standing out of the screen by two pixels.
      {kHd, {-2, 1038, 1922, 1082}, {1700, 1038, 1922, 1082}, true, 96, {130, 34}, {1566, 1043, 1696, 1077}},
      // Along the top; on the left above the area, as wide as the taskbar; on the right with no area.
      {kHd, {0, 0, 1920, 40}, {1700, 0, 1920, 40}, true, 96, {130, 34}, {1566, 3, 1696, 37}},
      {kHd, {0, 0, 62, 1080}, {0, 900, 62, 1080}, true, 96, {62, 38}, {0, 858, 62, 896}},
      {k4K, {3716, 0, 3840, 2160}, kNone, true, 192, {124, 72}, {3716, 1528, 3840, 1600}},
      // A second monitor's taskbar, room left for its clock, at 100 % and at 200 % left of the first.
      {{1920, 0, 3200, 1024}, {1920, 984, 3200, 1024}, kNone, false, 96, {130, 34}, {2950, 987, 3080, 1021}},
      {{-3840, 0, 0, 2160}, {-3840, 2080, 0, 2160}, kNone, false, 192, {260, 68}, {-500, 2086, -240, 2154}},
      // Wine's shell desktop.
      {{0, 0, 1024, 768}, {0, 748, 1024, 768}, kNone, true, 96, {128, 20}, {616, 748, 744, 768}},
      // Hidden: auto-hidden below and left of the screen; reaching over the Start button; thicker than
      // the taskbar; windows that are no taskbar (a stand-alone tray, half a bottom, across the middle).
      {kHd, {0, 1078, 1920, 1118}, kNone, true, 96, {130, 34}, kNone},
      {kHd, {-60, 0, 2, 1080}, kNone, true, 96, {62, 38}, kNone},
      {{0, 0, 800, 600}, {0, 560, 800, 600}, kNone, true, 96, {480, 34}, kNone},
      {kHd, {0, 1050, 1920, 1080}, kNone, true, 96, {130, 34}, kNone},
      {kHd, {100, 100, 300, 140}, kNone, true, 96, {130, 34}, kNone},
      {kHd, {0, 1040, 960, 1080}, kNone, true, 96, {130, 34}, kNone},
      {kHd, {0, 500, 1920, 540}, kNone, true, 96, {130, 34}, kNone},
  };
  for (const auto& c : cases) {
    const ScreenRect& bar = c.taskbar;
    SCOPED_TRACE(testing::Message() << "taskbar " << bar.left << "," << bar.top << "," << bar.right << ","
                                    << bar.bottom << " at " << c.dpi);
    TaskbarView view;
    view.monitor = c.monitor;
    view.taskbar = c.taskbar;
    view.notificationArea = c.area;
    view.primary = c.primary;
    view.dpi = c.dpi;
    const ReadoutPlacement placement = PlaceReadout(view, c.size);
    const ScreenRect& r = placement.rect;
    EXPECT_EQ(placement.visible, !c.rect.Empty());
    if (!placement.visible) continue;
    EXPECT_EQ(r, c.rect) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    view.fullScreenInFront = true;
    EXPECT_FALSE(PlaceReadout(view, c.size).visible) << "a full-screen program is in front";
    view.fullScreenInFront = false;
    view.taskbarShown = false;
    EXPECT_FALSE(PlaceReadout(view, c.size).visible) << "the taskbar is hidden";
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
      {"a window covering the first monitor", true, false, kHd, 5, true, false},
      {"a borderless window larger than the monitor", true, false, {-8, -8, 1928, 1088}, 5, true, false},
      {"a maximised window leaves the taskbar", true, false, {-8, -8, 1928, 1048}, 5, false, false},
      {"the desktop covers the monitor", true, true, kHd, 5, false, false},
      {"the shell says busy, the window on the second", true, false, {2000, 100, 2400, 500}, 2, false, true},
      {"the shell says busy with its own window in front", true, true, kHd, 2, false, false},
      {"no answer from the shell", true, false, {100, 100, 500, 500}, 0, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ForegroundView front;
    front.present = c.present;
    front.belongsToShell = c.shell;
    front.window = c.window;
    front.notificationState = c.state;
    EXPECT_EQ(FullScreenInFront(front, kHd), c.onFirst);
    EXPECT_EQ(FullScreenInFront(front, kSecond), c.onSecond);
  }
}

}  // namespace
