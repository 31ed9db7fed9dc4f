// The tray meter, drawn from 16 logical rows at the shell's icon size, and its tooltip.
#pragma once

#include <cstddef>

#include "render/pixel_surface.h"
#include "stats/traffic_stats.h"

// The levels count 16 rows; the picture scales them to its own side.
constexpr int kTraySize = 16;
constexpr int kLargestTraySize = 64;
constexpr size_t kTrayTipSize = 64;

// The side a picture gets for the shell's icon size: within 16..64 and a multiple of four, as rows of
// three-byte pixels then need no padding to a DWORD, which PixelSurface does not know.
int TrayPictureSide(int iconSize);
// Draws the two bars and the minute marks from the statistics, each logical row and column on the
// pixels nearest to it; a level above the top is drawn on it.
void DrawTrayPicture(const CTrafficStats& stats, PixelSurface& image);
void FormatTrayTip(uint32_t currentReceived, uint32_t currentSent, char (&tip)[kTrayTipSize]);
