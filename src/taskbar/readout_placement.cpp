// The taskbar readout's place: along the taskbar before its notification area, or hidden.
#include "taskbar/readout_placement.h"

#include <algorithm>

#include "render/meter_layout.h"

namespace {

// Lengths of the 96-DPI taskbar: the gap before the notification area; what the notification area
// and clock take where the taskbar reports no area (Windows 11 at sign-in) and where a secondary
// taskbar shows only its clock; the Start button at the taskbar's start.
constexpr int32_t kGapBeforeNotificationArea = 4;
constexpr int32_t kNotificationAreaReserve = 280;
constexpr int32_t kClockReserve = 120;
constexpr int32_t kStartButtonReserve = 60;
// A taskbar may stand out of its monitor by a few pixels at its ends.
constexpr int32_t kEdgeSlack = 8;

bool SpansWidth(const ScreenRect& bar, const ScreenRect& monitor) {
  return bar.left <= monitor.left + kEdgeSlack && bar.right >= monitor.right - kEdgeSlack &&
         bar.Height() * 2 <= monitor.Height();
}

bool SpansHeight(const ScreenRect& bar, const ScreenRect& monitor) {
  return bar.top <= monitor.top + kEdgeSlack && bar.bottom >= monitor.bottom - kEdgeSlack &&
         bar.Width() * 2 <= monitor.Width();
}

// Less of the taskbar's thickness is on its monitor than the whole, give or take the few pixels a
// taskbar may stand out: auto-hidden, or sliding.
bool SlidOff(const ScreenRect& bar, const ScreenRect& monitor, TaskbarEdge edge) {
  const bool horizontal = IsHorizontal(edge);
  const int32_t onMonitor = horizontal
                                ? std::min(bar.bottom, monitor.bottom) - std::max(bar.top, monitor.top)
                                : std::min(bar.right, monitor.right) - std::max(bar.left, monitor.left);
  return onMonitor < TaskbarThickness(bar, edge) - kEdgeSlack;
}

bool CentreInside(const ScreenRect& inner, const ScreenRect& outer) {
  const int64_t x2 = int64_t(inner.left) + inner.right, y2 = int64_t(inner.top) + inner.bottom;
  return x2 >= 2 * int64_t(outer.left) && x2 < 2 * int64_t(outer.right) && y2 >= 2 * int64_t(outer.top) &&
         y2 < 2 * int64_t(outer.bottom);
}

// Where the readout must end along the taskbar: its right side, or its bottom on a side taskbar.
int32_t ReadoutEnd(const TaskbarView& view, bool horizontal) {
  const ScreenRect& area = view.notificationArea;
  const int32_t gap = ScaleForDpi(kGapBeforeNotificationArea, view.dpi);
  if (!area.Empty() && CentreInside(area, view.taskbar)) return (horizontal ? area.left : area.top) - gap;
  const int32_t reserve = ScaleForDpi(view.primary ? kNotificationAreaReserve : kClockReserve, view.dpi);
  return (horizontal ? view.taskbar.right : view.taskbar.bottom) - reserve;
}

}  // namespace

TaskbarEdge TaskbarEdgeOf(const ScreenRect& bar, const ScreenRect& monitor) {
  if (bar.Empty() || monitor.Empty()) return TaskbarEdge::None;
  if (SpansWidth(bar, monitor)) {
    if (bar.bottom >= monitor.bottom - kEdgeSlack && bar.top > monitor.top) return TaskbarEdge::Bottom;
    if (bar.top <= monitor.top + kEdgeSlack && bar.bottom < monitor.bottom) return TaskbarEdge::Top;
  }
  if (SpansHeight(bar, monitor)) {
    if (bar.right >= monitor.right - kEdgeSlack && bar.left > monitor.left) return TaskbarEdge::Right;
    if (bar.left <= monitor.left + kEdgeSlack && bar.right < monitor.right) return TaskbarEdge::Left;
  }
  return TaskbarEdge::None;
}

int32_t TaskbarThickness(const ScreenRect& bar, TaskbarEdge edge) {
  return IsHorizontal(edge) ? bar.Height() : bar.Width();
}

ReadoutPlacement PlaceReadout(const TaskbarView& view, ReadoutSize size) {
  const ReadoutPlacement hidden;
  const TaskbarEdge edge = TaskbarEdgeOf(view.taskbar, view.monitor);
  if (edge == TaskbarEdge::None || !view.taskbarShown || view.fullScreenInFront) return hidden;
  if (SlidOff(view.taskbar, view.monitor, edge) || size.width <= 0 || size.height <= 0) return hidden;

  const bool horizontal = IsHorizontal(edge);
  const int32_t thickness = TaskbarThickness(view.taskbar, edge);
  const int32_t across = horizontal ? size.height : size.width;
  const int32_t along = horizontal ? size.width : size.height;
  if (across > thickness) return hidden;
  const int32_t end = ReadoutEnd(view, horizontal);
  const int32_t start = end - along;
  const int32_t taskbarStart = horizontal ? view.taskbar.left : view.taskbar.top;
  if (start < taskbarStart + ScaleForDpi(kStartButtonReserve, view.dpi)) return hidden;

  ReadoutPlacement placement;
  placement.visible = true;
  if (horizontal) {
    const int32_t top = view.taskbar.top + (thickness - across) / 2;
    placement.rect = {start, top, end, top + across};
  } else {
    const int32_t left = view.taskbar.left + (thickness - across) / 2;
    placement.rect = {left, start, left + across, end};
  }
  return placement;
}

bool FullScreenInFront(const ForegroundView& foreground, const ScreenRect& monitor) {
  const bool shellSaysSo = foreground.notificationState == kNotificationStateBusy ||
                           foreground.notificationState == kNotificationStateDirect3DFullScreen;
  if (!foreground.present) return shellSaysSo;
  if (foreground.belongsToShell) return false;
  const ScreenRect& w = foreground.window;
  const bool covers = w.left <= monitor.left && w.top <= monitor.top && w.right >= monitor.right &&
                      w.bottom >= monitor.bottom;
  return covers || (shellSaysSo && CentreInside(w, monitor));
}
