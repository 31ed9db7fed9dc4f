// The modal dialog base: one static procedure finds the object and calls its virtual handlers.
#pragma once

#include <windows.h>

#include "fw/window_win.h"

// A dialog is a window: its handle is the window's, and the messages every dialog meets are decoded
// once, here.
class CDialog : public CWindow {
 public:
  explicit CDialog(UINT templateId, HWND parent = nullptr) : templateIdValue(templateId), parent(parent) {}
  virtual ~CDialog() = default;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Runs the dialog from its template in the application's module; returns the value given to
  // EndDialog, or -1 when the dialog could not be created. A dialog built without a parent is
  // owned by the application's main window (its last active popup), which is disabled meanwhile.
  INT_PTR DoModal();

  UINT templateId() const { return templateIdValue; }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(window, id); }
  BOOL EndDialog(INT_PTR result) const { return ::EndDialog(window, result); }
  // Moves the keyboard focus to the next control in tab order.
  void NextDlgCtrl() const { SendMessageA(window, WM_NEXTDLGCTL, 0, FALSE); }

 protected:
  // Sees every message first. Set handled to answer it here: the return value is the dialog
  // procedure's (FALSE still lets the dialog manager do its default processing). Left unhandled,
  // the message goes to the handlers below.
  virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) { return FALSE; }

  // Default: DoDataExchange, then TRUE so the system focuses the first control.
  virtual BOOL OnInitDialog();
  // WM_COMMAND: the command or control id, the notification code (0 for a menu) and the control
  // (null for a menu or accelerator). Default: IDOK runs OnOK, IDCANCEL OnCancel, and the Help
  // command goes to the application object. Returns TRUE when the command was handled.
  virtual BOOL OnCommand(UINT id, UINT code, HWND control);
  // A button of the dialog was clicked; TRUE when handled, else the click goes on to OnCommand.
  virtual BOOL OnClicked(UINT id) { return FALSE; }
  // WM_TIMER; default processing follows.
  virtual void OnTimer(UINT_PTR id) {}
  // WM_PAINT; returns the dialog procedure's answer: FALSE leaves the painting to the system.
  virtual BOOL OnPaint() { return FALSE; }
  // Default: DoDataExchange, then EndDialog(IDOK).
  virtual void OnOK();
  // Default: EndDialog(IDCANCEL). Escape and the close box come here.
  virtual void OnCancel();
  // Binds the control wrappers to their controls by id.
  virtual void DoDataExchange() {}
  // Returns TRUE when handled; *result is then the notification's answer.
  virtual BOOL OnNotify(int controlId, NMHDR* header, LRESULT* result) { return FALSE; }
  // Trackbars and horizontal scroll bars; default processing follows.
  virtual void OnHScroll(UINT code, UINT position, HWND control) {}
  // kind is the WM_CTLCOLOR... message. Default: the system's colours and brush, set into dc.
  virtual HBRUSH OnCtlColor(HDC dc, HWND control, UINT kind);
  virtual void OnDestroy() {}

  // The answer of a message whose result travels in DWLP_MSGRESULT (WM_NOTIFY and most others).
  void SetMessageResult(LRESULT result) const { SetWindowLongPtrA(window, DWLP_MSGRESULT, result); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR DispatchStandard(UINT message, WPARAM wParam, LPARAM lParam);
  void RunDialogInit();

  UINT templateIdValue;
  HWND parent;
};
