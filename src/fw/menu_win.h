// An owned popup menu: destroyed with the object.
#pragma once

#include <windows.h>

class CMenu {
 public:
  CMenu() = default;
  ~CMenu() { Destroy(); }
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  bool CreatePopup() {
    Destroy();
    menu = CreatePopupMenu();
    return menu != nullptr;
  }
  BOOL Append(UINT id, const char* text) const { return AppendMenuA(menu, MF_STRING, id, text); }
  BOOL AppendSeparator() const { return AppendMenuA(menu, MF_SEPARATOR, 0, nullptr); }
  // Returns the previous state, or -1 when the menu has no such command.
  DWORD CheckItem(UINT id, bool checked) const {
    return CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
  }
  bool IsChecked(UINT id) const {
    const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    return state != 0xFFFFFFFFu && (state & MF_CHECKED);
  }
  int GetItemCount() const { return GetMenuItemCount(menu); }
  // The chosen command reaches owner as WM_COMMAND unless flags hold TPM_RETURNCMD.
  BOOL TrackPopup(UINT flags, int x, int y, HWND owner) const {
    return TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr);
  }
  HMENU handle() const { return menu; }
  void Destroy() {
    if (menu) DestroyMenu(menu);
    menu = nullptr;
  }

 private:
  HMENU menu = nullptr;
};
