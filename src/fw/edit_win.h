// A single-line edit control bound by id.
#pragma once

#include "fw/window_win.h"

class CEdit : public CWindow {
 public:
  using CWindow::CWindow;
};
