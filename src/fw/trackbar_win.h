// A trackbar (slider) control bound by id.
#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include "fw/window_win.h"

class CTrackbar : public CWindow {
 public:
  using CWindow::CWindow;
  void SetRange(int minimum, int maximum, bool redraw = true) const {
    Send(TBM_SETRANGEMIN, FALSE, minimum);
    Send(TBM_SETRANGEMAX, redraw ? TRUE : FALSE, maximum);
  }
  // The trackbar keeps the position within its range.
  void SetPos(int position) const { Send(TBM_SETPOS, TRUE, position); }
  int GetPos() const { return static_cast<int>(Send(TBM_GETPOS)); }
};
