// The tray meter, drawn from 16 logical rows at the shell's icon size, and its tooltip.
#pragma once

#include <cstddef>
#include <cstdint>

#include "render/pixel_surface.h"
#include "stats/traffic_figures.h"

// The meter has 16 logical rows and columns, the side of the shell's small icon at 96 DPI; the
// picture scales them to its own side.
constexpr int kTraySize = 16;
constexpr int kLargestTraySize = 64;
constexpr size_t kTrayTipSize = 64;

// The side a picture gets for the shell's icon size: the size itself, within 16..64.
int TrayPictureSide(int iconSize);
// What the meter shows: the highest lit row of each bar (the last second) and the row of each minute
// mark (the last minute's mean), 0..15. Two equal ones draw the same picture.
struct TrayBars {
  uint32_t receivedRow, sentRow;
  uint32_t receivedMinuteRow, sentMinuteRow;
  bool operator==(const TrayBars& other) const {
    return receivedRow == other.receivedRow && sentRow == other.sentRow &&
           receivedMinuteRow == other.receivedMinuteRow && sentMinuteRow == other.sentMinuteRow;
  }
};

// A row is the tray's full scale (kB of 1024 bytes a second) over the 16 rows; a rate above the top
// is drawn on it.
TrayBars TrayBarsOf(const TrafficFigures& figures);
// Draws the two bars and the minute marks, each logical row and column on the pixels nearest to it.
void DrawTrayPicture(const TrayBars& bars, PixelSurface& image);
void FormatTrayTip(uint32_t currentReceived, uint32_t currentSent, char (&tip)[kTrayTipSize]);
