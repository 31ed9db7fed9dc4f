// The base of a window of a class of our own: one static procedure finds the object and forwards.
#pragma once

#include <windows.h>

class CCustomWindow {
 public:
  CCustomWindow() = default;
  virtual ~CCustomWindow() { Destroy(); }
  CCustomWindow(const CCustomWindow&) = delete;
  CCustomWindow& operator=(const CCustomWindow&) = delete;

  // Registers the class on its first use and creates the window, hidden unless style says otherwise.
  // owner makes a popup window owned by it, never a child. False when no window results.
  bool Create(const char* className, DWORD exStyle, DWORD style, const RECT& rect, HWND owner);
  void Destroy();
  HWND hwnd() const { return window; }

 protected:
  // Every message of the window; the default is DefWindowProc's answer.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
  // The window is gone: destroyed by Destroy, or by the system with its owner.
  virtual void OnWindowGone() {}

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window = nullptr;
};
