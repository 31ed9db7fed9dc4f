// Where the window goes at start: its stored place, unless that lies wholly off the screens.
#pragma once

#include <cstdint>

// The rectangle around all monitors, in screen pixels.
struct ScreenArea {
  int32_t left, top, width, height;
};

struct WindowPoint {
  int32_t x, y;
};

// The stored place in the screen's pixels: a place stored by a version that did not scale with the
// DPI is in 96-DPI pixels of the system's scaling, and is scaled once.
WindowPoint StoredPlaceInPixels(WindowPoint stored, bool inPixels, int32_t systemDpi);
// A stored place that lies wholly off the screens (a damaged profile, a monitor since removed) would
// hide the window for good; it is pulled to the nearest edge of the screens instead. A window that
// shows at least one pixel stays where it was stored.
WindowPoint PlaceOnScreen(WindowPoint stored, int32_t width, int32_t height, const ScreenArea& screens);
