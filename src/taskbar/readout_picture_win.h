// The readout's picture: its two lines in the message font drawn on a 32-bit top-down DIB section,
// then turned into premultiplied pixels in the readout's colours for UpdateLayeredWindow.
#pragma once

#include <windows.h>

#include <cstdint>

#include "fw/owned_handle_win.h"
#include "taskbar/readout_layout.h"
#include "taskbar/readout_text.h"
#include "taskbar/readout_theme.h"

class CReadoutPicture {
 public:
  CReadoutPicture() = default;
  ~CReadoutPicture() { ReleaseSurface(); }
  CReadoutPicture(const CReadoutPicture&) = delete;
  CReadoutPicture& operator=(const CReadoutPicture&) = delete;

  // The system's message font (Segoe UI, or Tahoma on older systems) at textHeight pixels,
  // smoothed in grey so that its cover can become alpha; false when no font results.
  bool SetTextHeight(int32_t textHeight);
  // The wider of the two lines in pixels, in the font.
  int32_t MeasureWidth(const ReadoutLines& lines);
  // Draws the lines, received above sent, left-aligned or centred, on a surface of the given size.
  bool Draw(const ReadoutLines& lines, const ReadoutBox& box, ReadoutSize size, bool centred,
            const ReadoutColours& colours);

  HDC Dc() const { return dc.get(); }
  ReadoutSize Size() const { return surfaceSize; }
  // width x height premultiplied 0xAARRGGBB pixels, top row first; null before the first Draw.
  const uint32_t* Pixels() const { return bits; }

 private:
  bool MakeSurface(ReadoutSize size);
  void ReleaseSurface();

  COwnedFont font;
  COwnedMemoryDC dc;
  COwnedBitmap bitmap;
  HGDIOBJ dcOriginalBitmap = nullptr;
  uint32_t* bits = nullptr;
  ReadoutSize surfaceSize;
};
