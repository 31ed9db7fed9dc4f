// The tray meter picture (being written).
#include "render/tray_picture.h"

#include <cstdio>

void DrawTrayPicture(CTrafficStats&, PixelSurface&) {}
void FormatTrayTip(uint32_t, uint32_t, char (&tip)[kTrayTipSize]) { tip[0] = '\0'; }
