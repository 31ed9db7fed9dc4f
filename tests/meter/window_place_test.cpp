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

// A place stored by a version that did not scale with the DPI is in 96-DPI pixels of the system's
// scaling: it is scaled once; a place stored in the screen's pixels is taken as it is.
TEST(WindowPlace, APlaceOfAVersionBeforeScalingIsScaledOnce) {
  const struct {
    WindowPoint stored;
    bool inPixels;
    int32_t dpi;
    WindowPoint place;
  } cases[] = {
      {{400, 300}, false, 96, {400, 300}},  {{400, 300}, false, 144, {600, 450}},
      {{401, -3}, false, 120, {501, -4}},   {{400, 300}, true, 144, {400, 300}},
      {{400, 300}, false, 192, {800, 600}}, {{INT32_MAX, INT32_MIN}, false, 192, {INT32_MAX, INT32_MIN}},
  };
  for (const auto& c : cases) {
    const WindowPoint place = StoredPlaceInPixels(c.stored, c.inPixels, c.dpi);
    EXPECT_EQ(place.x, c.place.x) << c.dpi;
    EXPECT_EQ(place.y, c.place.y) << c.dpi;
  }
}

TEST(WindowPlace, AWindowLargerThanTheScreensStartsAtTheirCorner) {
  const WindowPoint placed = PlaceOnScreen({5000, -5000}, 1200, 900, ScreenArea{0, 0, 800, 600});
  EXPECT_EQ(placed.x, 0);
  EXPECT_EQ(placed.y, 0);
}

}  // namespace
