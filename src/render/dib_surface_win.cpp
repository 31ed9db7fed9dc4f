// The DIB section, memory DC and block transfers behind a pixel surface.
#include "render/dib_surface_win.h"

CDibSurface::~CDibSurface() {
  Release();
}

int CDibSurface::Create(int32_t w, int32_t h, uint32_t bitCountValue, const uint8_t* palette) {
  Release();
  width = w;
  height = h;
  bitCount = bitCountValue;
  const int entries = bitCount == 8 ? 256 : 16;
  if (palette != nullptr) {
    for (int i = 0; i < entries; ++i)
      colorTable[i] = RGBQUAD{palette[3 * i + 2], palette[3 * i + 1], palette[3 * i], 0};
  }
  header = BITMAPINFOHEADER{};
  header.biSize = sizeof(BITMAPINFOHEADER);
  header.biWidth = width;
  header.biHeight = height;  // positive: bottom-up
  header.biPlanes = 1;
  header.biBitCount = WORD(bitCount & 0xFFFF);
  header.biCompression = BI_RGB;
  bitmapInfo.bmiHeader = header;

  dc.Reset(CreateCompatibleDC(nullptr));
  void* pixelMemory = nullptr;
  bitmap.Reset(CreateDIBSection(dc.get(), reinterpret_cast<BITMAPINFO*>(&bitmapInfo), DIB_RGB_COLORS,
                                &pixelMemory, nullptr, 0));
  bits = static_cast<uint8_t*>(pixelMemory);
  if (!bitmap || bits == nullptr) {
    bits = nullptr;
    return 0;
  }
  bitmapSelection.Select(dc.get(), bitmap.get());
  if (palette != nullptr) SetDIBColorTable(dc.get(), 0, entries, colorTable);
  return 1;
}

BOOL CDibSurface::BlitTo(HDC target, int x, int y) const {
  return BitBlt(target, x, y, width, height, dc.get(), 0, 0, SRCCOPY);
}

void CDibSurface::Clear(bool white) {
  PatBlt(dc.get(), 0, 0, width, height, white ? WHITENESS : BLACKNESS);
}

void CDibSurface::Release() {
  bitmapSelection.Restore();
  bitmap.Reset();
  bits = nullptr;
}
