// A combo box bound by id.
#pragma once

#include "fw/window_win.h"

class CComboBox : public CWindow {
 public:
  using CWindow::CWindow;
  void ResetContent() const { Send(CB_RESETCONTENT); }
  // Returns the new item's index, or CB_ERR / CB_ERRSPACE.
  int AddString(const char* text) const {
    return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
  }
  // An index outside the list clears the selection and returns CB_ERR (Wine would keep it).
  int SetCurSel(int index) const {
    const bool inside = index >= 0 && index < GetCount();
    return static_cast<int>(Send(CB_SETCURSEL, static_cast<WPARAM>(inside ? index : -1)));
  }
  // CB_ERR when nothing is selected.
  int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
  int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }
  int GetLBTextLen(int index) const {
    return static_cast<int>(Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index)));
  }
  // buffer must hold GetLBTextLen(index) + 1 characters.
  int GetLBText(int index, char* buffer) const {
    return static_cast<int>(Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
  }
};
