// A 24-bit bottom-up DIB section selected into a memory DC of its own.
#pragma once

#include <windows.h>

#include "fw/gdi_win.h"
#include "fw/owned_handle_win.h"
#include "render/pixel_surface.h"

class CDibSurface : public PixelSurface {
 public:
  CDibSurface() = default;
  ~CDibSurface();
  CDibSurface(const CDibSurface&) = delete;
  CDibSurface& operator=(const CDibSurface&) = delete;

  // Makes the surface anew at this size. palette: red, green, blue byte triples, or null. Returns 1
  // on success, 0 on failure.
  int Create(int32_t w, int32_t h, uint32_t bitCountValue, const uint8_t* palette);
  BOOL BlitTo(HDC target, int x, int y) const;
  void Clear(bool white);
  // Deletes the bitmap; the DC goes with the surface.
  void Release();

  HBITMAP Bitmap() const { return bitmap.get(); }
  HDC Dc() const { return dc.get(); }

  uint32_t bitCount = 0;
  struct {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
  } bitmapInfo = {};
  BITMAPINFOHEADER header = {};
  RGBQUAD colorTable[256] = {};

 private:
  COwnedBitmap bitmap;
  COwnedMemoryDC dc;
  // The DC's own bitmap goes back before ours is deleted: a selected bitmap cannot be deleted.
  CSelectObject bitmapSelection;
};
