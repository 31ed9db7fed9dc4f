// The live notification-area icon at the shell's small-icon size: its two surfaces, the icon handle
// and the shell record.
#pragma once

#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include "fw/owned_handle_win.h"
#include "render/dib_surface_win.h"
#include "render/tray_picture.h"

constexpr UINT kTrayCallbackMessage = WM_USER + 402;  // 1426
constexpr UINT kTrayIconId = 1;

#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the shell gets the 88-byte notification record");
#endif

class CTrayIcon {
 public:
  CTrayIcon() = default;
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;

  // Makes the two zeroed surfaces and a black, opaque icon from them; false when no icon results.
  bool CreateFirstIcon(int size = kTraySize);
  // Makes both surfaces and a black icon at another size (kept within 16..64), and hands the icon
  // with the tip it has to the shell when it is in the tray. The picture is drawn again after it.
  bool Resize(int size);
  // The record's window gets the callback message.
  void SetWindow(HWND window) { trayIconData.hWnd = window; }
  BOOL Add();
  // Destroys the icon now shown, makes one from the image surface and hands it with the tip to the shell;
  // after Add and before Delete, adds it again when the shell holds none.
  BOOL Replace(const char* tooltip);
  BOOL Delete();
  // A balloon over the icon with a title and a text; it goes away by itself. After Add and before
  // Delete, adds the icon again when the shell holds none. FALSE when the shell did not show it.
  BOOL ShowNotice(const char* title, const char* text);
  // After the shell restarts its taskbar, every icon it held is gone; one that was added and not
  // deleted since is added again.
  BOOL Readd();
  // Deletes the bitmaps of the two surfaces, the picture's first; the icon now shown stays.
  void ReleaseBitmaps();
  static UINT TaskbarCreatedMessage() { return RegisterWindowMessageA("TaskbarCreated"); }

  CDibSurface& Image() { return trayImageSurface; }
  HICON Icon() const { return trayIcon.get(); }
  const char* Tip() const { return trayIconData.szTip; }

 private:
  // Keeps surfaces that have this side already.
  bool MakeSurfaces(int side);
  bool MakeIcon();
  void FillRecord(UINT flags);
  BOOL HandOver();

  CDibSurface trayImageSurface;
  CDibSurface trayMaskSurface;  // all zero: every pixel of the icon opaque
  COwnedIcon trayIcon;
  ICONINFO trayIconInfo = {};
  NOTIFYICONDATAA trayIconData = {};
  bool inTray = false;
};
