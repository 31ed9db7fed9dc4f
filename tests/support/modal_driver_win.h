// Drives the modal dialogs and message boxes of the test's thread from a thread timer, which keeps
// firing inside every modal loop: each step waits for an enabled dialog with its caption, then acts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ModalDriver {
 public:
  using Action = std::function<void(HWND dialog)>;

  // Waits for an enabled, visible dialog with this caption and runs the action on it. An action
  // that opens another modal window must post its message, not send it.
  ModalDriver& On(const char* caption, Action action);
  // Waits for the program's message box, records its text and answers it with OK.
  ModalDriver& AnswerMessageBox();

  // Calls run (which opens the first modal window) while the steps are driven. A step that waits
  // longer than the time limit fails the run, and every dialog of the thread is then cancelled.
  void Run(const std::function<void()>& run, DWORD timeLimitMs = 10000);

  bool AllStepsDone() const { return next == steps.size(); }
  std::vector<std::string> messages;  // texts of the answered message boxes, in order
  std::string failure;

 private:
  struct Step {
    std::string caption;
    Action action;
  };
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void OnTick();
  void CancelEverything();

  std::vector<Step> steps;
  size_t next = 0;
  bool busy = false;
  DWORD waitStart = 0;
  DWORD timeLimit = 0;
};

// The enabled, visible dialog (class "#32770") of this thread with this caption, or null.
HWND FindThreadDialog(const char* caption);
// The text of a dialog's control.
std::string ControlText(HWND dialog, int id);
// Sets an edit's text as typing would: the edit sends its change notification.
void TypeText(HWND dialog, int id, const char* text);
// Posts a click on a push button, for buttons that open a modal window or end one.
void PostClick(HWND dialog, int id);
// Posts the Escape key to the dialog's focused control, through the modal loop's dialog keys.
void PostEscape(HWND dialog);
