// The 16 x 16 tray meter and its tooltip.
#pragma once

#include <cstddef>

#include "render/pixel_surface.h"
#include "stats/traffic_stats.h"

constexpr int kTraySize = 16;
constexpr size_t kTrayTipSize = 64;

// Clamps the two minute levels to 15 in the statistics object, then draws the picture.
void DrawTrayPicture(CTrafficStats& stats, PixelSurface& image);
void FormatTrayTip(uint32_t currentReceived, uint32_t currentSent, char (&tip)[kTrayTipSize]);
