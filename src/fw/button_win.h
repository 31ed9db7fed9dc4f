// A push button, check box or radio button bound by id.
#pragma once

#include "fw/window_win.h"

class CButton : public CWindow {
 public:
  using CWindow::CWindow;
  // BST_CHECKED, BST_UNCHECKED or BST_INDETERMINATE.
  UINT GetCheck() const { return static_cast<UINT>(Send(BM_GETCHECK)); }
  void SetCheck(UINT state) const { Send(BM_SETCHECK, state); }
  bool IsChecked() const { return GetCheck() == BST_CHECKED; }
  void SetChecked(bool checked) const { SetCheck(checked ? BST_CHECKED : BST_UNCHECKED); }
};
