// Drawing the readout's lines with GDI and composing them in the readout's colours.
#include "taskbar/readout_picture_win.h"

#include <cstring>

#include "fw/gdi_win.h"

bool CReadoutPicture::SetTextHeight(int32_t textHeight) {
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  LOGFONTA face = {};
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    face = metrics.lfMessageFont;
  if (face.lfFaceName[0] == '\0') lstrcpynA(face.lfFaceName, "Tahoma", LF_FACESIZE);
  face.lfHeight = -textHeight;
  face.lfWidth = 0;
  face.lfWeight = FW_NORMAL;
  face.lfItalic = FALSE;
  face.lfQuality = ANTIALIASED_QUALITY;
  font.Reset(CreateFontIndirectA(&face));
  if (!dc) dc.Reset(CreateCompatibleDC(nullptr));
  return font && dc;
}

int32_t CReadoutPicture::MeasureWidth(const ReadoutLines& lines) {
  if (!dc || !font) return 0;
  CSelectObject selected(dc.get(), font.get());
  SIZE received = {}, sent = {};
  GetTextExtentPoint32A(dc.get(), lines.received, int(strlen(lines.received)), &received);
  GetTextExtentPoint32A(dc.get(), lines.sent, int(strlen(lines.sent)), &sent);
  return int32_t(received.cx > sent.cx ? received.cx : sent.cx);
}

bool CReadoutPicture::MakeSurface(ReadoutSize size) {
  if (bits && size.width == surfaceSize.width && size.height == surfaceSize.height) return true;
  ReleaseSurface();
  if (size.width <= 0 || size.height <= 0 || !dc) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.width;
  info.bmiHeader.biHeight = -size.height;  // top-down: row 0 is the top row
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* memory = nullptr;
  bitmap.Reset(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &memory, nullptr, 0));
  if (!bitmap || memory == nullptr) return false;
  bits = static_cast<uint32_t*>(memory);
  dcOriginalBitmap = SelectObject(dc.get(), bitmap.get());
  surfaceSize = size;
  return true;
}

void CReadoutPicture::ReleaseSurface() {
  if (dcOriginalBitmap) SelectObject(dc.get(), dcOriginalBitmap);
  dcOriginalBitmap = nullptr;
  bitmap.Reset();
  bits = nullptr;
  surfaceSize = {};
}

bool CReadoutPicture::Draw(const ReadoutLines& lines, const ReadoutBox& box, ReadoutSize size, bool centred,
                           const ReadoutColours& colours) {
  if (!font || !MakeSurface(size)) return false;
  const size_t count = size_t(size.width) * size_t(size.height);
  memset(bits, 0, count * sizeof *bits);
  {
    CSelectObject selected(dc.get(), font.get());
    SetTextColor(dc.get(), RGB(255, 255, 255));
    SetBkMode(dc.get(), TRANSPARENT);
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (centred ? DT_CENTER : DT_LEFT);
    const int top = (size.height - 2 * box.lineHeight) / 2;
    RECT line = {box.padding, top, size.width - box.padding, top + box.lineHeight};
    DrawTextA(dc.get(), lines.received, -1, &line, format);
    OffsetRect(&line, 0, box.lineHeight);
    DrawTextA(dc.get(), lines.sent, -1, &line, format);
  }
  GdiFlush();  // GDI may still hold the text it drew
  ComposeReadoutPixels(bits, count, colours);
  return true;
}
