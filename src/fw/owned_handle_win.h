// One owner for every kind of handle the program holds: GDI objects, memory DCs, icons, files,
// the loaded library and registry keys. Each handle is released by the object that holds it.
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
struct FileClose {
  void operator()(HANDLE file) const { CloseHandle(file); }
};
struct LibraryFree {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
struct RegistryKeyClose {
  void operator()(HKEY key) const { RegCloseKey(key); }
};

// Owns one handle; movable, not copyable. Null and INVALID_HANDLE_VALUE (what CreateFile gives on
// failure) both mean "no handle", and an empty owner holds null.
template <typename Handle, typename Release>
class COwnedHandle {
 public:
  COwnedHandle() = default;
  explicit COwnedHandle(Handle handle) { Reset(handle); }
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
    if (reinterpret_cast<HANDLE>(handle) == INVALID_HANDLE_VALUE) handle = nullptr;
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
using COwnedBitmap = COwnedHandle<HBITMAP, GdiObjectRelease>;
using COwnedMemoryDC = COwnedHandle<HDC, MemoryDcRelease>;
using COwnedIcon = COwnedHandle<HICON, IconRelease>;
using COwnedFile = COwnedHandle<HANDLE, FileClose>;
using COwnedLibrary = COwnedHandle<HMODULE, LibraryFree>;
using COwnedRegistryKey = COwnedHandle<HKEY, RegistryKeyClose>;
