// Pixel addressing, bounds and rectangles of the bottom-up 24-bit surface.
#include "render/pixel_surface.h"

#include <gtest/gtest.h>

namespace {

const uint8_t* PixelAt(const PixelSurface& s, int x, int y) { return s.bits + (x + y * s.width) * 3; }

TEST(PixelSurface, PutPixelWritesBlueGreenRedAtBottomUpAddress) {
  MemorySurface s(16, 16);
  EXPECT_EQ(s.ByteCount(), 768u);
  s.PutPixel(0, 0, 1, 2, 3);
  s.PutPixel(15, 15, 4, 5, 6);
  EXPECT_EQ(s.bits[0], 1);
  EXPECT_EQ(s.bits[2], 3);
  EXPECT_EQ(s.bits[765], 4);
  EXPECT_EQ(s.bits[767], 6);
}

// A DIB section pads each row to four bytes: a row of five pixels takes 16 bytes, not 15.
TEST(PixelSurface, RowsOfAnyWidthStartAtTheDibsFourByteBoundaries) {
  MemorySurface s(5, 3);
  EXPECT_EQ(s.RowBytes(), 16u);
  EXPECT_EQ(s.ByteCount(), 48u);
  s.PutPixel(0, 1, 1, 2, 3);
  s.PutPixel(4, 2, 4, 5, 6);
  EXPECT_EQ(s.bits[16], 1);
  EXPECT_EQ(s.bits[32 + 12 + 2], 6);
  s.ZeroPixels();
  s.FillRectangle(0, 0, 5, 3, 0xFFFFFF);
  for (size_t row = 0; row < 3; ++row)
    for (size_t i = 0; i < 16; ++i) EXPECT_EQ(s.bits[row * 16 + i], i < 15 ? 0xFF : 0) << row << ":" << i;
}

TEST(PixelSurface, PutPixelOutsideChangesNothing) {
  MemorySurface s(16, 16);
  for (auto [x, y] : {std::pair{-1, 0}, {16, 0}, {0, -1}, {0, 16}, {INT32_MIN, INT32_MAX}}) s.PutPixel(x, y, 9, 9, 9);
  for (size_t i = 0; i < s.ByteCount(); ++i) ASSERT_EQ(s.bits[i], 0) << i;
}

TEST(PixelSurface, FillRectangleGrowsUpwardFromItsRowInRgbOrder) {
  MemorySurface s(480, 320);
  s.FillRectangle(0, 15, 6, 10, 0xFF0000);
  for (int y = 0; y < 320; ++y)
    for (int x = 0; x < 480; ++x) {
      const int topDown = 319 - y;
      const bool inside = x < 6 && topDown >= 295 && topDown <= 304;
      const uint8_t* p = PixelAt(s, x, y);
      ASSERT_EQ(p[0], 0) << x << "," << y;
      ASSERT_EQ(p[1], 0);
      ASSERT_EQ(p[2], inside ? 0xFF : 0) << x << "," << y;
    }
}

TEST(PixelSurface, FillRectangleEmptyOrFarOutsideChangesNothing) {
  MemorySurface s(16, 16);
  s.FillRectangle(0, 0, 0, 10, 0xFFFFFF);
  s.FillRectangle(0, 0, 10, 0, 0xFFFFFF);
  s.FillRectangle(20, 0, 5, 5, 0xFFFFFF);
  s.FillRectangle(0xFFFFFFF0u, 0xFFFFFFF0u, 0x20, 0x20, 0xFFFFFF);
  for (size_t i = 0; i < s.ByteCount(); ++i) ASSERT_EQ(s.bits[i], 0) << i;
  s.FillRectangle(14, 14, 100, 100, 0x0000FF);
  EXPECT_EQ(PixelAt(s, 15, 15)[0], 0xFF);
  EXPECT_EQ(PixelAt(s, 13, 15)[0], 0);
}

}  // namespace
