// The real DIB section behind a pixel surface: its memory seen through GDI, clears, copies, release.
#include "render/dib_surface_win.h"

#include <gtest/gtest.h>

namespace {

COLORREF At(const CDibSurface& s, int x, int topDownY) {
  GdiFlush();
  return GetPixel(s.Dc(), x, topDownY);
}

const uint8_t* BytesAt(const CDibSurface& s, int x, int bottomUpY) {
  GdiFlush();
  return s.bits + bottomUpY * s.RowBytes() + x * 3;
}

TEST(DibSurface, SixteenBySixteenIsA768ByteBottomUpSection) {
  CDibSurface s;
  ASSERT_EQ(s.Create(16, 16, 24, nullptr), 1);
  EXPECT_EQ(s.ByteCount(), 768u);
  DIBSECTION section = {};
  ASSERT_EQ(GetObjectA(s.Bitmap(), sizeof section, &section), int(sizeof section));
  EXPECT_EQ(section.dsBm.bmBits, s.bits);
  EXPECT_EQ(section.dsBm.bmWidthBytes * section.dsBm.bmHeight, 768);
  EXPECT_EQ(section.dsBmih.biBitCount, 24);
  EXPECT_GT(section.dsBmih.biHeight, 0) << "bottom-up";
  EXPECT_EQ(GetCurrentObject(s.Dc(), OBJ_BITMAP), s.Bitmap());
}

TEST(DibSurface, PixelWritesCountRowsFromTheBottomOfWhatGdiDraws) {
  CDibSurface s;
  ASSERT_EQ(s.Create(16, 16, 24, nullptr), 1);
  s.Clear(false);
  s.PutPixel(0, 0, 0x10, 0x20, 0x30);  // blue, green, red
  s.PutPixel(15, 15, 0xFF, 0x00, 0x00);
  s.PutPixel(3, 5, 0x00, 0xFF, 0x00);
  EXPECT_EQ(At(s, 0, 15), RGB(0x30, 0x20, 0x10)) << "bottom-left";
  EXPECT_EQ(At(s, 15, 0), RGB(0, 0, 0xFF)) << "top-right";
  EXPECT_EQ(At(s, 3, 10), RGB(0, 0xFF, 0));
  EXPECT_EQ(At(s, 0, 0), RGB(0, 0, 0));

  for (auto [x, y] : {std::pair{-1, 0}, {16, 0}, {0, -1}, {0, 16}}) s.PutPixel(x, y, 9, 9, 9);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const COLORREF c = At(s, x, y);
      ASSERT_TRUE(c == RGB(0, 0, 0) || (x == 0 && y == 15) || (x == 15 && y == 0) || (x == 3 && y == 10))
          << x << "," << y;
    }

  // And the other way: what GDI draws on the top row lands in the last row of the memory.
  SetPixel(s.Dc(), 7, 0, RGB(0x11, 0x22, 0x33));
  const uint8_t* p = BytesAt(s, 7, 15);
  EXPECT_EQ(p[0], 0x33);
  EXPECT_EQ(p[1], 0x22);
  EXPECT_EQ(p[2], 0x11);
}

TEST(DibSurface, FilledRectangleGrowsUpwardOnScreenInRedGreenBlueOrder) {
  CDibSurface s;
  ASSERT_EQ(s.Create(480, 320, 24, nullptr), 1);
  s.Clear(false);
  s.FillRectangle(0, 15, 6, 10, 0xFF0000);
  s.FillRectangle(470, 310, 0, 5, 0x00FF00);
  s.FillRectangle(470, 310, 5, 0, 0x00FF00);
  for (int y = 280; y < 320; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool inside = x < 6 && y >= 295 && y <= 304;
      ASSERT_EQ(At(s, x, y), inside ? RGB(255, 0, 0) : RGB(0, 0, 0)) << x << "," << y;
    }
  EXPECT_EQ(At(s, 472, 7), RGB(0, 0, 0)) << "an empty rectangle draws nothing";
}

TEST(DibSurface, ClearedSurfaceCopiesAsAnExactRectangle) {
  CDibSurface source, target;
  ASSERT_EQ(source.Create(16, 16, 24, nullptr), 1);
  ASSERT_EQ(target.Create(40, 32, 24, nullptr), 1);
  for (bool white : {false, true}) {
    source.Clear(white);
    target.Clear(!white);
    ASSERT_TRUE(source.BlitTo(target.Dc(), 5, 7));
    const COLORREF drawn = white ? RGB(255, 255, 255) : RGB(0, 0, 0);
    const COLORREF background = white ? RGB(0, 0, 0) : RGB(255, 255, 255);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 40; ++x) {
        const bool inside = x >= 5 && x < 21 && y >= 7 && y < 23;
        ASSERT_EQ(At(target, x, y), inside ? drawn : background) << white << " " << x << "," << y;
      }
  }
  for (int i = 0; i < 768; ++i) ASSERT_EQ(source.bits[i], 0xFF) << "white is every byte at its maximum";
}

TEST(DibSurface, FailedCreationLeavesASurfaceThatIgnoresDrawing) {
  CDibSurface s;
  EXPECT_EQ(s.Create(0, 0, 24, nullptr), 0);
  EXPECT_EQ(s.bits, nullptr);
  s.PutPixel(0, 0, 1, 2, 3);
  s.FillRectangle(0, 0, 4, 4, 0xFFFFFF);
  s.Clear(true);

  CDibSurface huge;
  EXPECT_EQ(huge.Create(200000, 200000, 24, nullptr), 0);
  huge.PutPixel(10, 10, 1, 2, 3);
}

TEST(DibSurface, ReleaseReallyDeletesTheBitmap) {
  HBITMAP bitmap = nullptr;
  {
    CDibSurface s;
    ASSERT_EQ(s.Create(16, 16, 24, nullptr), 1);
    bitmap = s.Bitmap();
    s.Release();
    EXPECT_EQ(s.Bitmap(), nullptr);
    EXPECT_EQ(s.bits, nullptr);
    // A bitmap still selected into its DC is not deleted, only marked.
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    s.PutPixel(0, 0, 1, 2, 3);
  }
  EXPECT_EQ(GetObjectType(bitmap), 0u);
}

}  // namespace
