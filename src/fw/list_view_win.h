// A list view control bound by id.
#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include "fw/window_win.h"

class CListView : public CWindow {
 public:
  using CWindow::CWindow;
  // Returns the new item's index, or -1.
  int InsertItem(int index, const char* text, int image, LPARAM data = 0) const {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<char*>(text);
    item.iImage = image;
    item.lParam = data;
    return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  }
  BOOL SetItemText(int index, int subItem, const char* text) const {
    LVITEMA item = {};
    item.iSubItem = subItem;
    item.pszText = const_cast<char*>(text);
    return static_cast<BOOL>(
        Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
  }
  // The value the item was inserted with; 0 for no item.
  LPARAM GetItemData(int index) const {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
  }
  BOOL DeleteAllItems() const { return static_cast<BOOL>(Send(LVM_DELETEALLITEMS)); }
  // A report view's column of this width in pixels.
  int InsertColumn(int index, int width) const {
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = width;
    return static_cast<int>(
        Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
  }
  BOOL SetColumnWidth(int index, int width) const {
    return static_cast<BOOL>(Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), MAKELPARAM(width, 0)));
  }
  // The width of the text in the list's font, in pixels.
  int GetStringWidth(const char* text) const {
    return static_cast<int>(Send(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
  }
  void SetExtendedStyle(DWORD style) const { Send(LVM_SETEXTENDEDLISTVIEWSTYLE, style, style); }
  // The first selected item, or -1.
  int GetNextSelected() const {
    return static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }
  BOOL EnsureVisible(int index) const {
    return static_cast<BOOL>(Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE));
  }
  UINT GetItemState(int index, UINT mask) const {
    return static_cast<UINT>(Send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask));
  }
  BOOL SetItemState(int index, UINT state, UINT mask) const {
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    return static_cast<BOOL>(
        Send(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
  }
  // Without LVS_SHAREIMAGELISTS the list view destroys the image list with itself.
  HIMAGELIST SetImageList(HIMAGELIST images, int kind) const {
    return reinterpret_cast<HIMAGELIST>(
        Send(LVM_SETIMAGELIST, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(images)));
  }
  HIMAGELIST GetImageList(int kind) const {
    return reinterpret_cast<HIMAGELIST>(Send(LVM_GETIMAGELIST, static_cast<WPARAM>(kind)));
  }
  int GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
  int GetItemText(int index, char* buffer, int size) const {
    LVITEMA item = {};
    item.pszText = buffer;
    item.cchTextMax = size;
    return static_cast<int>(
        Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
  }
};
