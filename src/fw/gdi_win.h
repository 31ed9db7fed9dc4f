// The paint context of one WM_PAINT, the point fonts of the dialogs' kind, and a selected object's guard.
#pragma once

#include <windows.h>

// BeginPaint and EndPaint around one WM_PAINT.
class CPaintDC {
 public:
  explicit CPaintDC(HWND window) : window(window) { dc = BeginPaint(window, &paint); }
  ~CPaintDC() { EndPaint(window, &paint); }
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;
  HDC get() const { return dc; }

 private:
  HWND window;
  PAINTSTRUCT paint = {};
  HDC dc = nullptr;
};

// A font by its LOGFONT height: negative for the height of its characters in pixels.
inline HFONT CreatePixelFont(int height, const char* face) {
  LOGFONTA font = {};
  font.lfHeight = height;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectA(&font);
}

// A font of the given height in tenths of a point for the screen, like a dialog's point font.
inline HFONT CreatePointFont(int tenthsOfPoint, const char* face) {
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return CreatePixelFont(-MulDiv(tenthsOfPoint, pixelsPerInch, 720), face);
}

// Selects a pen, font or bitmap into a DC for the guard's life, then puts the DC's own back.
class CSelectObject {
 public:
  CSelectObject(HDC dc, HGDIOBJ object) : dc(dc), original(object ? SelectObject(dc, object) : nullptr) {}
  ~CSelectObject() {
    if (original) SelectObject(dc, original);
  }
  CSelectObject(const CSelectObject&) = delete;
  CSelectObject& operator=(const CSelectObject&) = delete;

 private:
  HDC dc;
  HGDIOBJ original;
};
