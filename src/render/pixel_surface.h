// Pixel access to a 24-bit bottom-up surface: row 0 of the memory is the bottom row of the picture.
// Each row takes a multiple of four bytes, as a DIB section's rows do.
#pragma once

#include <cstddef>
#include <cstdint>

class PixelSurface {
 public:
  int32_t width = 0;
  int32_t height = 0;
  uint8_t* bits = nullptr;  // height rows of RowBytes(): width pixels of blue, green, red, then padding

  void Attach(uint8_t* pixelBytes, int32_t w, int32_t h) { bits = pixelBytes, width = w, height = h; }
  size_t RowBytes() const { return width > 0 ? (size_t(width) * 3 + 3) & ~size_t(3) : 0; }
  size_t ByteCount() const;
  void PutPixel(int32_t x, int32_t y, uint8_t b0, uint8_t b1, uint8_t b2);
  // colour is 0x00RRGGBB; rows count from the bottom as in PutPixel.
  void FillRectangle(uint32_t x, uint32_t y, uint32_t w, uint32_t h, uint32_t colour);
  void ZeroPixels();
};

// A surface that owns its pixel memory, for the core's own use and for tests.
class MemorySurface : public PixelSurface {
 public:
  MemorySurface(int32_t w, int32_t h);
  ~MemorySurface();
  MemorySurface(const MemorySurface&) = delete;
  MemorySurface& operator=(const MemorySurface&) = delete;
};
