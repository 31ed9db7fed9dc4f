// A single-line edit control bound by id.
#pragma once

#include "fw/window_win.h"

class CEdit : public CWindow {
 public:
  using CWindow::CWindow;
  // 0 lifts the limit to the system's largest.
  void LimitText(int characters) const { Send(EM_LIMITTEXT, static_cast<WPARAM>(characters)); }
  void SetSel(int start, int end) const { Send(EM_SETSEL, static_cast<WPARAM>(start), end); }
  void ReplaceSel(const char* text) const { Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text)); }
};
