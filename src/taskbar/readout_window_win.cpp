// The readout's window: placed from the taskbar's rectangles, painted with UpdateLayeredWindow.
#include "taskbar/readout_window_win.h"

// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "fw/app_win.h"
#include "fw/dpi_win.h"
#include "taskbar/shell_reading_win.h"

namespace {

constexpr char kReadoutClass[] = "QuintrelTaskbarReadout";
// Not in Alt+Tab nor the task list, never activated, its pixels its own alpha.
constexpr DWORD kReadoutExStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

RECT ToRect(const ScreenRect& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

void CReadoutWindow::Attach(HWND taskbarWindow, bool isPrimary, ITaskbarReadoutOwner* readoutOwner,
                            HWND listenerWindow, UINT check) {
  Detach();
  taskbar = taskbarWindow;
  primary = isPrimary;
  owner = readoutOwner;
  listener = listenerWindow;
  checkMessage = check;
}

void CReadoutWindow::Detach() {
  Destroy();
  taskbar = nullptr;
  viewRead = false;
  textEdge = TaskbarEdge::None;
}

bool CReadoutWindow::ReadTaskbar(const ForegroundView& foreground) {
  viewRead = taskbar != nullptr && ReadTaskbarView(taskbar, primary, view);
  if (viewRead) view.fullScreenInFront = FullScreenInFront(foreground, view.monitor);
  return viewRead;
}

void CReadoutWindow::Show(const ReadoutContent& content) {
  const TaskbarEdge edge = viewRead ? TaskbarEdgeOf(view.taskbar, view.monitor) : TaskbarEdge::None;
  if (edge == TaskbarEdge::None || !PrepareText(edge, TaskbarThickness(view.taskbar, edge), view.dpi))
    return Hide();
  const ReadoutPlacement placement = PlaceReadout(view, size);
  if (!placement.visible) return Hide();
  if (!hwnd() && !MakeWindow(placement.rect)) return;

  ReadoutLines lines;
  FormatReadoutLines(content.received, content.sent, form, lines);
  const ReadoutSize drawn = picture.Size();
  const bool repaint = !painted || !SameLines(lines, shownLines) || content.colours != shownColours ||
                       drawn.width != size.width || drawn.height != size.height;
  if (repaint && !picture.Draw(lines, box, size, !IsHorizontal(edge), content.colours)) return Hide();
  if ((repaint || placement.rect != shownRect) && !Present(placement.rect, repaint)) return Hide();
  shownLines = lines;
  shownColours = content.colours;
  if (!shown) ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  shown = true;
  ShowTip(content.tip);
}

// The font and the readout's size, made again only when the taskbar's edge, thickness or DPI changed.
bool CReadoutWindow::PrepareText(TaskbarEdge edge, int32_t thickness, int32_t dpi) {
  if (edge == textEdge && thickness == textThickness && dpi == textDpi) return true;
  textEdge = TaskbarEdge::None;
  form = ReadoutFormFor(edge);
  ReadoutLines widest;
  WidestReadoutLines(form, widest);
  box = ReadoutBoxFor(edge, thickness, dpi);
  if (!picture.SetTextHeight(box.textHeight)) return false;
  int32_t width = picture.MeasureWidth(widest);
  const ReadoutBox fitted = FitReadoutBox(box, edge, thickness, width);
  if (fitted.textHeight != box.textHeight) {
    box = fitted;
    if (!picture.SetTextHeight(box.textHeight)) return false;
    width = picture.MeasureWidth(widest);
  }
  size = ReadoutSizeFor(box, edge, thickness, width);
  painted = false;
  textEdge = edge;
  textThickness = thickness;
  textDpi = dpi;
  return true;
}

bool CReadoutWindow::MakeWindow(const ScreenRect& rect) {
  shown = painted = false;
  if (!Create(kReadoutClass, kReadoutExStyle, WS_POPUP, ToRect(rect), taskbar)) return false;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  tooltip = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSA, nullptr,
                            WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, hwnd(), nullptr,
                            AppInstance(), nullptr);
  shownTip[0] = '\0';
  if (tooltip) {
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
    tool.hwnd = hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
    tool.lpszText = shownTip;
    SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  return true;
}

// Hands the picture to the system at the readout's place; only the place when nothing was drawn.
bool CReadoutWindow::Present(const ScreenRect& rect, bool repaint) {
  POINT place = {rect.left, rect.top};
  bool done = false;
  if (repaint) {
    SIZE extent = {size.width, size.height};
    POINT origin = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    done = painted =
        UpdateLayeredWindow(hwnd(), nullptr, &place, &extent, picture.Dc(), &origin, 0, &blend, ULW_ALPHA);
  } else {
    done = SetWindowPos(hwnd(), nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (done) shownRect = rect;
  return done;
}

void CReadoutWindow::ShowTip(const char* tip) {
  if (!tooltip || strcmp(tip, shownTip) == 0) return;
  snprintf(shownTip, sizeof shownTip, "%s", tip);
  TOOLINFOA tool = {};
  tool.cbSize = sizeof tool;
  tool.hwnd = hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
  tool.lpszText = shownTip;
  SendMessageA(tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void CReadoutWindow::Hide() {
  if (shown && hwnd()) ShowWindow(hwnd(), SW_HIDE);
  shown = false;
}

LRESULT CReadoutWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_LBUTTONUP:
      if (owner) owner->OnReadoutClick();
      return 0;
    case WM_RBUTTONUP: {
      POINT point = PointOf(lParam);
      ClientToScreen(hwnd(), &point);
      if (owner) owner->OnReadoutMenu(point);
      return 0;
    }
    case WM_DPICHANGED:
      // The readout's size comes from its taskbar's DPI, not from the size suggested here.
      if (listener) PostMessageA(listener, checkMessage, 0, 0);
      return 0;
    default:
      return CCustomWindow::OnMessage(message, wParam, lParam);
  }
}

void CReadoutWindow::OnWindowGone() {
  shown = painted = false;
  tooltip = nullptr;
}
