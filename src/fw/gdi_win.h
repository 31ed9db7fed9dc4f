// Scoped GDI state: the paint context of one WM_PAINT, a window's DC, an object selected into a DC;
// and the fonts of the meter's kind.
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

// A window's DC (the screen's for a null window), released when the object goes or takes another.
class CWindowDC {
 public:
  CWindowDC() = default;
  explicit CWindowDC(HWND window) { Reset(window); }
  ~CWindowDC() { Release(); }
  CWindowDC(const CWindowDC&) = delete;
  CWindowDC& operator=(const CWindowDC&) = delete;

  void Reset(HWND newWindow) {
    Release();
    window = newWindow;
    dc = GetDC(newWindow);
  }
  void Release() {
    if (dc != nullptr) ReleaseDC(window, dc);
    dc = nullptr;
    window = nullptr;
  }
  HDC get() const { return dc; }
  explicit operator bool() const { return dc != nullptr; }

 private:
  HWND window = nullptr;
  HDC dc = nullptr;
};

// Objects selected into one DC: the object the DC had before the first selection is selected back
// when the guard goes or is restored, so that what was selected may then be deleted.
class CSelectObject {
 public:
  CSelectObject() = default;
  CSelectObject(HDC dc, HGDIOBJ object) { Select(dc, object); }
  ~CSelectObject() { Restore(); }
  CSelectObject(const CSelectObject&) = delete;
  CSelectObject& operator=(const CSelectObject&) = delete;

  // A null DC or object selects nothing.
  void Select(HDC newDc, HGDIOBJ object) {
    if (newDc == nullptr || object == nullptr) return;
    if (newDc != dc) Restore();
    const HGDIOBJ previous = SelectObject(newDc, object);
    if (original == nullptr) dc = newDc, original = previous;
  }
  void Restore() {
    if (dc != nullptr && original != nullptr) SelectObject(dc, original);
    dc = nullptr;
    original = nullptr;
  }

 private:
  HDC dc = nullptr;
  HGDIOBJ original = nullptr;
};

// A font by its LOGFONT height: negative for the height of its characters in pixels.
inline HFONT CreatePixelFont(int height, const char* face) {
  LOGFONTA font = {};
  font.lfHeight = height;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectA(&font);
}
