// Draws the tray meter: receive bars on the left half, send bars on the right, minute marks over them,
// each logical pixel of the 16 x 16 meter scaled to the picture's side.
#include "render/tray_picture.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr uint32_t kTopRow = kTraySize - 1;
constexpr int32_t kHalfWidth = kTraySize / 2;
constexpr int32_t kGridRowSpacing = 4;

struct TrayColour {
  uint8_t blue, green, red;
};
constexpr TrayColour kGridBlue{210, 0, 0};
constexpr TrayColour kReceivedGreen{0, 255, 0};
constexpr TrayColour kSentRed{0, 0, 255};
constexpr TrayColour kMinuteYellow{0, 250, 255};

// Truncates toward zero; a mean far above the scale saturates rather than overflowing.
uint32_t TruncateToU32(double value) {
  if (!(value > 0.0)) return 0;
  if (value >= 4294967295.0) return UINT32_MAX;
  return uint32_t(value);
}

// Bytes a second a row stands for: the full scale of kB over the rows, at least one. A full scale
// below zero (only a damaged profile holds one) counts as 0.
uint32_t TrayUnit(int32_t scaleKb) {
  const uint32_t unit = (scaleKb > 0 ? uint32_t(scaleKb) : 0) * 1024u / kTraySize;
  return unit != 0 ? unit : 1;
}

// The first pixel whose logical cell (pixel * 16 / side) is this one.
int32_t FirstPixel(int32_t logical, int32_t side) {
  return (logical * side + kTraySize - 1) / kTraySize;
}

// Colours every pixel of one logical cell alike, so that any side shows only the five colours.
void Put(PixelSurface& image, int32_t x, int32_t y, TrayColour c) {
  if (image.width == kTraySize && image.height == kTraySize)
    return image.PutPixel(x, y, c.blue, c.green, c.red);
  const int32_t rowEnd = FirstPixel(y + 1, image.height), columnEnd = FirstPixel(x + 1, image.width);
  for (int32_t py = FirstPixel(y, image.height); py < rowEnd; ++py)
    for (int32_t px = FirstPixel(x, image.width); px < columnEnd; ++px)
      image.PutPixel(px, py, c.blue, c.green, c.red);
}

void DrawGrid(PixelSurface& image) {
  for (int32_t y = 0; y < kTraySize; y += kGridRowSpacing)
    for (int32_t x = 0; x < kTraySize; ++x) Put(image, x, y, kGridBlue);
}

// The receive mark covers columns 0-4 and the send mark columns 12-15: five and four pixels.
void DrawBarsAndMarks(const TrayBars& bars, PixelSurface& image) {
  for (uint32_t y = 0; y < uint32_t(kTraySize); ++y) {
    for (uint32_t x = 0; x < uint32_t(kHalfWidth); ++x) {
      const int32_t px = int32_t(x), py = int32_t(y);
      if (y <= bars.receivedRow) Put(image, px, py, kReceivedGreen);
      if (y <= bars.sentRow) Put(image, px + kHalfWidth, py, kSentRed);
      if (y == bars.sentMinuteRow && x >= 4) Put(image, px + kHalfWidth, py, kMinuteYellow);
      if (y == bars.receivedMinuteRow && x <= 4) Put(image, px, py, kMinuteYellow);
    }
  }
}

}  // namespace

int TrayPictureSide(int iconSize) {
  return std::clamp(iconSize, kTraySize, kLargestTraySize);
}

TrayBars TrayBarsOf(const TrafficFigures& figures) {
  const uint32_t unit = TrayUnit(figures.trayScaleKb);
  const auto row = [](uint32_t level) { return std::min(level, kTopRow); };
  return TrayBars{row(figures.currentReceived / unit), row(figures.currentSent / unit),
                  row(TruncateToU32(double(figures.avgReceivedMinute) / unit)),
                  row(TruncateToU32(double(figures.avgSentMinute) / unit))};
}

void DrawTrayPicture(const TrayBars& bars, PixelSurface& image) {
  image.ZeroPixels();
  DrawGrid(image);
  DrawBarsAndMarks(bars, image);
}

void FormatTrayTip(uint32_t currentReceived, uint32_t currentSent, char (&tip)[kTrayTipSize]) {
  snprintf(tip, sizeof tip, "%.2f %s %s  %.2f %s %s", currentReceived / 1024.0, "KB/s", "received",
           currentSent / 1024.0, "KB/s", "sent");
}
