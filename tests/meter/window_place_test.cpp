// The window's place at start: a stored place that shows at least a pixel of the window stays, one
// wholly off the screens is pulled to their nearest edge.
#include "meter/window_place.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(WindowPlace, AStoredPlaceOffTheScreensIsPulledToTheirNearestEdge) {
  // Two monitors side by side, the second left of the primary: x from -1280 to 1919, y from 0 to 1079.
  const ScreenArea screens{-1280, 0, 3200, 1080};
  const struct {
    WindowPoint stored, placed;
    const char* what;
  } cases[] = {
      {{100, 100}, {100, 100}, "on the primary monitor"},
      {{-1000, 500}, {-1000, 500}, "on the monitor left of it"},
      {{-1459, 0}, {-1459, 0}, "one column shows at the left edge"},
      {{-1460, 0}, {-1280, 0}, "wholly off the left edge"},
      {{1919, 1079}, {1919, 1079}, "one pixel shows at the bottom right"},
      {{1920, 1080}, {1740, 960}, "wholly off the bottom right"},
      {{INT32_MAX, INT32_MIN}, {1740, 0}, "a damaged profile's extremes"},
      {{0, -121}, {0, 0}, "above the top"},
  };
  for (const auto& c : cases) {
    const WindowPoint placed = PlaceOnScreen(c.stored, 180, 120, screens);
    EXPECT_EQ(placed.x, c.placed.x) << c.what;
    EXPECT_EQ(placed.y, c.placed.y) << c.what;
  }
}

TEST(WindowPlace, AWindowLargerThanTheScreensStartsAtTheirCorner) {
  const WindowPoint placed = PlaceOnScreen({5000, -5000}, 1200, 900, ScreenArea{0, 0, 800, 600});
  EXPECT_EQ(placed.x, 0);
  EXPECT_EQ(placed.y, 0);
}

}  // namespace
