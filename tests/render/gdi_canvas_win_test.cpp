// The panel canvas drawing through GDI into a real 160 x 100 DIB section.
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
constexpr Bgr kBlack{0, 0, 0};
constexpr Bgr kRed{0, 0, 255};
constexpr Bgr kGreen{0, 255, 0};
constexpr Bgr kYellow{0, 255, 255};
constexpr Bgr kBackdrop{120, 20, 20};

class CanvasOnDibSection : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(surface.Create(160, 100, 24, nullptr), 1);
    tools.MakeFont();
    tools.MakePens();
    ASSERT_TRUE(tools.IsComplete());
  }

  // Top-down coordinates, as the canvas draws.
  Bgr At(int x, int y) {
    GdiFlush();
    const uint8_t* p = surface.bits + (x + (surface.height - 1 - y) * surface.width) * 3;
    return Bgr{p[0], p[1], p[2]};
  }
  void FillBackdrop() { surface.FillRectangle(0, 0, 160, 100, 0x141478); }

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

TEST_F(CanvasOnDibSection, LinesTakeTheSelectedPenInTopDownCoordinates) {
  GdiPanelCanvas canvas(surface, tools);
  canvas.ClearBlack();
  canvas.SelectPen(PanelPen::Red);
  canvas.MoveTo(0, 10);
  canvas.LineTo(20, 10);
  canvas.SelectPen(PanelPen::Green);
  canvas.MoveTo(5, 90);
  canvas.LineTo(5, 99);

  for (int x = 0; x < 20; ++x) EXPECT_EQ(At(x, 10), kRed) << "x " << x;
  EXPECT_EQ(At(20, 10), kBlack);  // a line leaves out its last point
  EXPECT_EQ(At(0, 9), kBlack);
  EXPECT_EQ(At(0, 11), kBlack);
  for (int y = 90; y < 99; ++y) EXPECT_EQ(At(5, y), kGreen) << "y " << y;
  EXPECT_EQ(At(5, 89), kBlack);
  EXPECT_EQ(At(4, 95), kBlack);
  EXPECT_EQ(At(6, 95), kBlack);
}

TEST_F(CanvasOnDibSection, LineToLeavesThePositionAtItsEndForTheNextSegment) {
  GdiPanelCanvas canvas(surface, tools);
  canvas.ClearBlack();
  canvas.SelectPen(PanelPen::Green);
  canvas.MoveTo(0, 50);
  canvas.LineTo(10, 50);
  canvas.LineTo(10, 60);  // continues from (10, 50)
  EXPECT_EQ(At(10, 50), kGreen);
  EXPECT_EQ(At(10, 55), kGreen);
  EXPECT_EQ(At(10, 60), kBlack);
}

TEST_F(CanvasOnDibSection, TextIsYellowOnATransparentBackgroundInsideItsBox) {
  GdiPanelCanvas canvas(surface, tools);
  FillBackdrop();
  canvas.DrawText(2, 2, "8888 kB/s", 9);

  SIZE extent = {};
  ASSERT_TRUE(GetTextExtentPoint32A(surface.dc, "8888 kB/s", 9, &extent));
  int yellow = 0, backdrop = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 160; ++x) {
      const Bgr pixel = At(x, y);
      const bool inBox = x >= 2 && x < 2 + extent.cx && y >= 2 && y < 2 + extent.cy;
      if (!inBox) {
        ASSERT_EQ(pixel, kBackdrop) << "outside the text at " << x << "," << y;
      } else if (pixel == kYellow) {
        ++yellow;
      } else if (pixel == kBackdrop) {
        ++backdrop;
      }
    }
  }
  EXPECT_GT(yellow, 20);
  // The background shows between the strokes.
  EXPECT_GT(backdrop, extent.cx * extent.cy / 2);
}

TEST_F(CanvasOnDibSection, TheGraphFontIsSevenPointsHighOnTheScreen) {
  GdiPanelCanvas canvas(surface, tools);
  TEXTMETRICA metrics = {};
  ASSERT_TRUE(GetTextMetricsA(surface.dc, &metrics));
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  // A point size sets the character height, the cell less its internal leading.
  EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, MulDiv(70, pixelsPerInch, 720));
  LOGFONTA font = {};
  ASSERT_NE(GetObjectA(tools.graphFont.get(), sizeof font, &font), 0);
  EXPECT_STREQ(font.lfFaceName, "Arial");
}

TEST_F(CanvasOnDibSection, TheDcGetsItsOwnPenAndFontBackSoTheToolsCanBeDeleted) {
  HGDIOBJ ownPen = GetCurrentObject(surface.dc, OBJ_PEN);
  HGDIOBJ ownFont = GetCurrentObject(surface.dc, OBJ_FONT);
  {
    GdiPanelCanvas canvas(surface, tools);
    EXPECT_EQ(GetCurrentObject(surface.dc, OBJ_FONT), tools.graphFont.get());
    canvas.SelectPen(PanelPen::Red);
    canvas.SelectPen(PanelPen::Green);
    EXPECT_EQ(GetCurrentObject(surface.dc, OBJ_PEN), tools.greenPen.get());
  }
  EXPECT_EQ(GetCurrentObject(surface.dc, OBJ_PEN), ownPen);
  EXPECT_EQ(GetCurrentObject(surface.dc, OBJ_FONT), ownFont);
  EXPECT_TRUE(DeleteObject(tools.redPen.Detach()));
  EXPECT_TRUE(DeleteObject(tools.greenPen.Detach()));
  EXPECT_TRUE(DeleteObject(tools.graphFont.Detach()));
}

TEST_F(CanvasOnDibSection, PensAreSolidAndOnePixelWide) {
  for (HPEN pen : {tools.redPen.get(), tools.greenPen.get()}) {
    LOGPEN description = {};
    ASSERT_NE(GetObjectA(pen, sizeof description, &description), 0);
    EXPECT_EQ(description.lopnStyle, UINT(PS_SOLID));
    EXPECT_EQ(description.lopnWidth.x, 1);
  }
}

}  // namespace
