// Owners and guards for GDI handles: each handle is released by the object that holds it.
#pragma once

#include <windows.h>

struct GdiObjectRelease {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct MemoryDcRelease {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct IconRelease {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};

// Owns one handle; movable, not copyable.
template <typename Handle, typename Release>
class COwnedHandle {
 public:
  COwnedHandle() = default;
  explicit COwnedHandle(Handle handle) : held(handle) {}
  ~COwnedHandle() { Reset(); }
  COwnedHandle(const COwnedHandle&) = delete;
  COwnedHandle& operator=(const COwnedHandle&) = delete;
  COwnedHandle(COwnedHandle&& other) noexcept : held(other.Detach()) {}
  COwnedHandle& operator=(COwnedHandle&& other) noexcept {
    if (this != &other) Reset(other.Detach());
    return *this;
  }

  Handle get() const { return held; }
  explicit operator bool() const { return held != nullptr; }
  // Releases the handle held and takes the new one.
  void Reset(Handle handle = nullptr) {
    if (held && held != handle) Release()(held);
    held = handle;
  }
  Handle Detach() {
    Handle handle = held;
    held = nullptr;
    return handle;
  }

 private:
  Handle held = nullptr;
};

using COwnedFont = COwnedHandle<HFONT, GdiObjectRelease>;
using COwnedPen = COwnedHandle<HPEN, GdiObjectRelease>;
using COwnedBrush = COwnedHandle<HBRUSH, GdiObjectRelease>;
using COwnedBitmap = COwnedHandle<HBITMAP, GdiObjectRelease>;
using COwnedMemoryDC = COwnedHandle<HDC, MemoryDcRelease>;
using COwnedIcon = COwnedHandle<HICON, IconRelease>;

// Selects an object into a DC and puts the previous one back when it goes.
class CSelectObjectGuard {
 public:
  CSelectObjectGuard(HDC dc, HGDIOBJ object)
      : dc(dc), previous(object ? SelectObject(dc, object) : nullptr) {}
  ~CSelectObjectGuard() {
    if (previous && previous != HGDI_ERROR) SelectObject(dc, previous);
  }
  CSelectObjectGuard(const CSelectObjectGuard&) = delete;
  CSelectObjectGuard& operator=(const CSelectObjectGuard&) = delete;

 private:
  HDC dc;
  HGDIOBJ previous;
};

// A window's DC from GetDC, released to the window when it goes.
class CClientDC {
 public:
  explicit CClientDC(HWND window) : window(window), dc(GetDC(window)) {}
  ~CClientDC() {
    if (dc) ReleaseDC(window, dc);
  }
  CClientDC(const CClientDC&) = delete;
  CClientDC& operator=(const CClientDC&) = delete;
  HDC get() const { return dc; }

 private:
  HWND window;
  HDC dc;
};

// BeginPaint and EndPaint around one WM_PAINT.
class CPaintDC {
 public:
  explicit CPaintDC(HWND window) : window(window) { dc = BeginPaint(window, &paint); }
  ~CPaintDC() { EndPaint(window, &paint); }
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;
  HDC get() const { return dc; }
  const PAINTSTRUCT& paintStruct() const { return paint; }

 private:
  HWND window;
  PAINTSTRUCT paint = {};
  HDC dc = nullptr;
};

// A font of the given height in tenths of a point for the screen, like a dialog's point font.
inline HFONT CreatePointFont(int tenthsOfPoint, const char* face) {
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  LOGFONTA font = {};
  font.lfHeight = -MulDiv(tenthsOfPoint, pixelsPerInch, 720);
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectA(&font);
}
