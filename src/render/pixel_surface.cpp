// Pixel writes on a 24-bit bottom-up surface, each with its own bounds test.
#include "render/pixel_surface.h"

#include <algorithm>
#include <cstring>

size_t PixelSurface::ByteCount() const {
  return height > 0 ? RowBytes() * size_t(height) : 0;
}

void PixelSurface::PutPixel(int32_t x, int32_t y, uint8_t b0, uint8_t b1, uint8_t b2) {
  if (x < 0 || x >= width || y < 0 || y >= height || bits == nullptr) return;
  uint8_t* p = bits + size_t(y) * RowBytes() + size_t(x) * 3;
  p[0] = b0;
  p[1] = b1;
  p[2] = b2;
}

void PixelSurface::FillRectangle(uint32_t x, uint32_t y, uint32_t w, uint32_t h, uint32_t colour) {
  const uint8_t blue = colour & 0xFF, green = (colour >> 8) & 0xFF, red = (colour >> 16) & 0xFF;
  // Only the part inside the surface can change; the loops visit just that part.
  const uint64_t rowEnd = std::min<uint64_t>(uint64_t(y) + h, uint64_t(height > 0 ? height : 0));
  const uint64_t columnEnd = std::min<uint64_t>(uint64_t(x) + w, uint64_t(width > 0 ? width : 0));
  for (uint64_t r = y; r < rowEnd; ++r)
    for (uint64_t c = x; c < columnEnd; ++c) PutPixel(int32_t(c), int32_t(r), blue, green, red);
}

void PixelSurface::ZeroPixels() {
  if (bits != nullptr) memset(bits, 0, ByteCount());
}

MemorySurface::MemorySurface(int32_t w, int32_t h) {
  Attach(nullptr, w, h);
  bits = new uint8_t[ByteCount()]();
}

MemorySurface::~MemorySurface() {
  delete[] bits;
}
