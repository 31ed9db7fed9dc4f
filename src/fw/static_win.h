// A static text or picture control bound by id.
#pragma once

#include "fw/window_win.h"

class CStatic : public CWindow {
 public:
  using CWindow::CWindow;
};
