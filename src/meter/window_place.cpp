// The window's place at start, kept on the screens.
#include "meter/window_place.h"

#include "render/meter_layout.h"

namespace {

int32_t OnScreen(int32_t start, int32_t size, int32_t screenStart, int32_t screenSize) {
  const int64_t lowest = int64_t(screenStart) - size + 1;
  const int64_t highest = int64_t(screenStart) + screenSize - 1;
  if (start >= lowest && start <= highest) return start;
  const int64_t nearest = start < lowest ? screenStart : int64_t(screenStart) + screenSize - size;
  return int32_t(nearest > screenStart ? nearest : screenStart);
}

}  // namespace

WindowPoint StoredPlaceInPixels(WindowPoint stored, bool inPixels, int32_t systemDpi) {
  if (inPixels) return stored;
  return WindowPoint{ScaleForDpi(stored.x, systemDpi), ScaleForDpi(stored.y, systemDpi)};
}

WindowPoint PlaceOnScreen(WindowPoint stored, int32_t width, int32_t height, const ScreenArea& screens) {
  return WindowPoint{OnScreen(stored.x, width, screens.left, screens.width),
                     OnScreen(stored.y, height, screens.top, screens.height)};
}
