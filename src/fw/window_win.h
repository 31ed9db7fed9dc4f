// A non-owning handle of a window or control, the base of the control wrappers.
#pragma once

#include <windows.h>

class CWindow {
 public:
  CWindow() = default;
  explicit CWindow(HWND window) : window(window) {}

  // Binds to the control with this id in the dialog.
  void Bind(HWND dialog, int id) { window = ::GetDlgItem(dialog, id); }
  HWND hwnd() const { return window; }
  bool IsBound() const { return window != nullptr; }
  int id() const { return GetDlgCtrlID(window); }

  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageA(window, message, wParam, lParam);
  }
  BOOL Enable(bool enable) const { return EnableWindow(window, enable ? TRUE : FALSE); }
  bool IsEnabled() const { return IsWindowEnabled(window) != FALSE; }
  BOOL SetText(const char* text) const { return SetWindowTextA(window, text); }
  // Copies at most size - 1 characters and a terminating zero; returns the characters copied.
  int GetText(char* buffer, int size) const { return GetWindowTextA(window, buffer, size); }
  BOOL Move(int x, int y, int width, int height, bool repaint = true) const {
    return MoveWindow(window, x, y, width, height, repaint ? TRUE : FALSE);
  }

 protected:
  HWND window = nullptr;
};
