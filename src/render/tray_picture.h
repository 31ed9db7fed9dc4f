// The 16 x 16 tray meter and its tooltip.
#pragma once

#include <cstddef>

#include "render/pixel_surface.h"
#include "stats/traffic_stats.h"

constexpr int kTraySize = 16;
constexpr size_t kTrayTipSize = 64;

// Draws the two bars and the minute marks from the statistics; a level above the top is drawn on it.
void DrawTrayPicture(const CTrafficStats& stats, PixelSurface& image);
void FormatTrayTip(uint32_t currentReceived, uint32_t currentSent, char (&tip)[kTrayTipSize]);
