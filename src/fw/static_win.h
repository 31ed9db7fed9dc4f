// A static text or picture control bound by id.
#pragma once

#include "fw/window_win.h"

class CStatic : public CWindow {
 public:
  using CWindow::CWindow;
  HICON SetIcon(HICON icon) const {
    return reinterpret_cast<HICON>(Send(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
  }
  HICON GetIcon() const { return reinterpret_cast<HICON>(Send(STM_GETICON)); }
};
