// The panel canvas on a real DIB section: clearing, the graph font, and the DC handed back intact.
// The whole painted panel is checked pixel by pixel in graph_panel_win_test.cpp.
#include "render/gdi_canvas_win.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Bgr {
  uint8_t blue, green, red;
  bool operator==(const Bgr& other) const {
    return blue == other.blue && green == other.green && red == other.red;
  }
};

class CanvasOnDibSection : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(surface.Create(160, 100, 24, nullptr), 1);
    tools.MakeFont(LayoutForDpi(ScreenDpi(), 160, 100));
    tools.MakePens();
    ASSERT_TRUE(tools.graphFont && tools.redPen && tools.greenPen);
  }

  static int ScreenDpi() {
    const CWindowDC screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSY);
  }

  // Top-down coordinates, as the canvas draws.
  Bgr At(int x, int y) {
    GdiFlush();
    const uint8_t* p = surface.bits + (surface.height - 1 - y) * surface.RowBytes() + x * 3;
    return Bgr{p[0], p[1], p[2]};
  }

  CDibSurface surface;
  GraphDrawingTools tools;
};

TEST_F(CanvasOnDibSection, ClearBlackWipesEveryPixelAndPixelsAreTheSurface) {
  GdiPanelCanvas canvas(surface, tools);
  memset(surface.bits, 0x5A, surface.ByteCount());
  canvas.ClearBlack();
  PixelSurface& pixels = canvas.Pixels();
  EXPECT_EQ(pixels.bits, surface.bits);
  EXPECT_EQ(pixels.width, 160);
  EXPECT_EQ(pixels.height, 100);
  for (size_t i = 0; i < pixels.ByteCount(); ++i) ASSERT_EQ(pixels.bits[i], 0) << "byte " << i;

  // Pixels written directly right after the clear stay: no batched clear lands later.
  pixels.PutPixel(3, 3, 250, 10, 10);
  EXPECT_EQ(At(3, 96), (Bgr{250, 10, 10}));
}

TEST_F(CanvasOnDibSection, TheGraphFontIsSevenPointsHighOnTheScreen) {
  GdiPanelCanvas canvas(surface, tools);
  TEXTMETRICA metrics = {};
  ASSERT_TRUE(GetTextMetricsA(surface.Dc(), &metrics));
  const int pixelsPerInch = ScreenDpi();
  // A point size sets the character height, the cell less its internal leading.
  EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, MulDiv(70, pixelsPerInch, 720));
  LOGFONTA font = {};
  ASSERT_NE(GetObjectA(tools.graphFont.get(), sizeof font, &font), 0);
  EXPECT_STREQ(font.lfFaceName, "Arial");
}

TEST_F(CanvasOnDibSection, TheDcGetsItsOwnPenAndFontBackSoTheToolsCanBeDeleted) {
  HGDIOBJ ownPen = GetCurrentObject(surface.Dc(), OBJ_PEN);
  HGDIOBJ ownFont = GetCurrentObject(surface.Dc(), OBJ_FONT);
  {
    GdiPanelCanvas canvas(surface, tools);
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_FONT), tools.graphFont.get());
    canvas.SelectPen(PanelPen::Red);
    canvas.SelectPen(PanelPen::Green);
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), tools.greenPen.get());
  }
  EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), ownPen);
  EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_FONT), ownFont);
  EXPECT_TRUE(DeleteObject(tools.redPen.Detach()));
  EXPECT_TRUE(DeleteObject(tools.greenPen.Detach()));
  EXPECT_TRUE(DeleteObject(tools.graphFont.Detach()));
}

}  // namespace
