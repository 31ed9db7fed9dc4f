// Where the taskbar readout goes on its taskbar, or that it hides: decided from the shell's
// rectangles alone, so that every kind of taskbar is tested without one.
#pragma once

#include <cstdint>

// A rectangle in screen pixels; right and bottom lie just outside it, as in a RECT.
struct ScreenRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool operator==(const ScreenRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
  bool operator!=(const ScreenRect& other) const { return !(*this == other); }
};

enum class TaskbarEdge { None, Bottom, Top, Left, Right };

inline bool IsHorizontal(TaskbarEdge edge) {
  return edge == TaskbarEdge::Bottom || edge == TaskbarEdge::Top;
}

// The side of its monitor a taskbar lies along: it spans that side and touches it, shown or slid off.
// None for a window that is no taskbar, as the stand-alone tray window of a shell without a desktop.
TaskbarEdge TaskbarEdgeOf(const ScreenRect& taskbar, const ScreenRect& monitor);
// Across the taskbar: its height along the top or bottom, its width along a side.
int32_t TaskbarThickness(const ScreenRect& taskbar, TaskbarEdge edge);

struct TaskbarView {
  ScreenRect taskbar;
  ScreenRect monitor;
  // Empty where the taskbar has none or reports none (a secondary taskbar shows only a clock).
  ScreenRect notificationArea;
  bool primary = true;
  bool taskbarShown = true;
  bool fullScreenInFront = false;
  int32_t dpi = 96;
};

struct ReadoutSize {
  int32_t width = 0, height = 0;
};

struct ReadoutPlacement {
  bool visible = false;
  ScreenRect rect;
};

// Just before the notification area along the taskbar (left of it on a top or bottom taskbar, above
// it on a side one), or a reserve from the taskbar's end where the area is missing or empty; never over
// the Start button; hidden while the taskbar is slid off its monitor, hidden or covered by a full-screen
// program, and where the readout does not fit.
ReadoutPlacement PlaceReadout(const TaskbarView& view, ReadoutSize size);

// What the shell says of the window in front.
struct ForegroundView {
  bool present = false;
  // The desktop or a window of the shell's own process, which cover the monitor without being a program.
  bool belongsToShell = false;
  ScreenRect window;
  // SHQueryUserNotificationState's answer; 0 where the system has no answer.
  int32_t notificationState = 0;
};

// The shell's answers of SHQueryUserNotificationState that mean a full-screen program runs.
constexpr int32_t kNotificationStateBusy = 2;
constexpr int32_t kNotificationStateDirect3DFullScreen = 3;

// A full-screen program in front on this monitor: the window in front covers all of it, or the shell
// says one runs and the window in front is on it.
bool FullScreenInFront(const ForegroundView& foreground, const ScreenRect& monitor);
