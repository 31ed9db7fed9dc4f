// One readout on one taskbar: a borderless layered tool window owned by the taskbar (never its child),
// never active, painted only when its lines, colours or size change.
#pragma once

#include <windows.h>

#include <cstdint>

#include "fw/custom_window_win.h"
#include "taskbar/readout_layout.h"
#include "taskbar/readout_picture_win.h"
#include "taskbar/readout_placement.h"
#include "taskbar/readout_text.h"
#include "taskbar/readout_theme.h"

// Who the readout's clicks go to: the main window, which shows or hides itself on a click and opens
// its popup menu at the point of a right click.
class ITaskbarReadoutOwner {
 public:
  virtual void OnReadoutClick() = 0;
  virtual void OnReadoutMenu(POINT screenPoint) = 0;

 protected:
  ~ITaskbarReadoutOwner() = default;
};

constexpr size_t kReadoutTipSize = 128;

// What every readout shows, alike on every taskbar.
struct ReadoutContent {
  uint64_t received = 0, sent = 0;  // bytes a second
  ReadoutColours colours;
  char tip[kReadoutTipSize] = "";
};

class CReadoutWindow : public CCustomWindow {
 public:
  CReadoutWindow() = default;
  ~CReadoutWindow() override { Detach(); }

  // The readout's taskbar; its window is made when it first shows. checkMessage, posted to listener,
  // asks for the shell to be read again (the readout moved to a monitor of another DPI).
  void Attach(HWND taskbar, bool primary, ITaskbarReadoutOwner* owner, HWND listener, UINT checkMessage);
  // Destroys the window and forgets the taskbar.
  void Detach();
  HWND Taskbar() const { return taskbar; }

  // The taskbar's place, read from the shell now; false when the taskbar is gone.
  bool ReadTaskbar(const ForegroundView& foreground);
  // Shows, moves, paints or hides the readout as the last reading and the content say, doing only
  // what changed.
  void Show(const ReadoutContent& content);
  bool Visible() const { return shown && hwnd() != nullptr; }
  // What the readout last handed to the system.
  const CReadoutPicture& Picture() const { return picture; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnWindowGone() override;

 private:
  bool PrepareText(TaskbarEdge edge, int32_t thickness, int32_t dpi);
  bool MakeWindow(const ScreenRect& rect);
  bool Present(const ScreenRect& rect, bool repaint);
  void ShowTip(const char* tip);
  void Hide();

  HWND taskbar = nullptr;
  bool primary = false;
  ITaskbarReadoutOwner* owner = nullptr;
  HWND listener = nullptr;
  UINT checkMessage = 0;
  TaskbarView view;
  bool viewRead = false;

  // The text's size for the taskbar as last read: the edge, thickness and DPI it was made for.
  TaskbarEdge textEdge = TaskbarEdge::None;
  int32_t textThickness = 0, textDpi = 0;
  ReadoutForm form = ReadoutForm::Captioned;
  ReadoutBox box;
  ReadoutSize size;
  CReadoutPicture picture;

  // What is on the screen.
  bool shown = false, painted = false;
  ScreenRect shownRect;
  ReadoutLines shownLines = {};
  ReadoutColours shownColours;
  HWND tooltip = nullptr;  // owned by the readout's window, destroyed with it
  char shownTip[kReadoutTipSize] = "";
};
