// The notification-area icon: one icon handle at a time, rebuilt from the tray surfaces each second
// and made again at another size when the window's DPI changes.
#include "app/tray_icon_win.h"

#include <cstdio>
#include <initializer_list>

// The 88-byte record carries 64 characters of tip, terminating zero included.
constexpr size_t kShellTipSize = 64;
static_assert(sizeof(NOTIFYICONDATAA::szTip) >= kShellTipSize, "the tip field holds the short tip");

bool CTrayIcon::CreateFirstIcon(int size) {
  if (!MakeSurfaces(TrayPictureSide(size))) return false;
  trayImageSurface.ZeroPixels();
  trayMaskSurface.ZeroPixels();
  return MakeIcon();
}

bool CTrayIcon::Resize(int size) {
  const int side = TrayPictureSide(size);
  if (side == trayImageSurface.width && trayImageSurface.bits != nullptr && trayIcon) return true;
  if (!MakeSurfaces(side) || !MakeIcon()) return false;
  return !inTray || HandOver();
}

bool CTrayIcon::MakeSurfaces(int side) {
  for (CDibSurface* surface : {&trayImageSurface, &trayMaskSurface}) {
    if (surface->bits != nullptr && surface->width == side && surface->height == side) continue;
    surface->Release();
    if (!surface->Create(side, side, 24, nullptr)) return false;
  }
  return true;
}

// One icon handle at a time: the shell keeps its own copy of the one it was given.
bool CTrayIcon::MakeIcon() {
  if (trayImageSurface.Bitmap() == nullptr || trayMaskSurface.Bitmap() == nullptr) return false;
  trayIconInfo.fIcon = TRUE;
  trayIconInfo.xHotspot = DWORD(trayImageSurface.width / 2);
  trayIconInfo.yHotspot = DWORD(trayImageSurface.height / 2);
  trayIconInfo.hbmMask = trayMaskSurface.Bitmap();
  trayIconInfo.hbmColor = trayImageSurface.Bitmap();
  trayIcon.Reset();
  trayIcon.Reset(CreateIconIndirect(&trayIconInfo));
  return bool(trayIcon);
}

void CTrayIcon::FillRecord(UINT flags) {
  trayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
  trayIconData.uID = kTrayIconId;
  trayIconData.uCallbackMessage = kTrayCallbackMessage;
  trayIconData.hIcon = trayIcon.get();
  trayIconData.uFlags = flags;
}

BOOL CTrayIcon::Add() {
  FillRecord(NIF_MESSAGE | NIF_ICON);
  inTray = true;
  return Shell_NotifyIconA(NIM_ADD, &trayIconData);
}

BOOL CTrayIcon::Replace(const char* tooltip) {
  if (trayImageSurface.Bitmap() == nullptr || trayMaskSurface.Bitmap() == nullptr) return FALSE;
  const bool made = MakeIcon();
  snprintf(trayIconData.szTip, kShellTipSize, "%s", tooltip != nullptr ? tooltip : "");
  // Without a new icon the shell keeps showing its copy of the last one.
  return made ? HandOver() : FALSE;
}

BOOL CTrayIcon::HandOver() {
  FillRecord(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  if (Shell_NotifyIconA(NIM_MODIFY, &trayIconData)) return TRUE;
  // A shell still starting at sign-in refuses the first add; it then knows no icon to change.
  return inTray && Shell_NotifyIconA(NIM_ADD, &trayIconData);
}

BOOL CTrayIcon::Delete() {
  FillRecord(trayIconData.uFlags);
  inTray = false;
  return Shell_NotifyIconA(NIM_DELETE, &trayIconData);
}

BOOL CTrayIcon::Readd() {
  if (!inTray) return FALSE;
  UINT flags = NIF_MESSAGE;
  if (trayIcon) flags |= NIF_ICON;
  if (trayIconData.szTip[0] != '\0') flags |= NIF_TIP;
  FillRecord(flags);
  return Shell_NotifyIconA(NIM_ADD, &trayIconData);
}

void CTrayIcon::ReleaseBitmaps() {
  trayImageSurface.Release();
  trayMaskSurface.Release();
}

// The balloon's fields follow the 88 bytes of the short record, so this one record is sent whole.
// A shell that lost or never took the icon (it was starting at sign-in) gets it again first.
BOOL CTrayIcon::ShowNotice(const char* title, const char* text) {
  NOTIFYICONDATAA notice = {};
  notice.cbSize = sizeof notice;
  notice.hWnd = trayIconData.hWnd;
  notice.uID = kTrayIconId;
  notice.uFlags = NIF_INFO;
  notice.dwInfoFlags = NIIF_WARNING;
  notice.uTimeout = 15000;
  snprintf(notice.szInfoTitle, sizeof notice.szInfoTitle, "%s", title != nullptr ? title : "");
  snprintf(notice.szInfo, sizeof notice.szInfo, "%s", text != nullptr ? text : "");
  if (Shell_NotifyIconA(NIM_MODIFY, &notice)) return TRUE;
  return inTray && Readd() && Shell_NotifyIconA(NIM_MODIFY, &notice);
}
