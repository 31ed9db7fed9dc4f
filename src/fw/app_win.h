// The application object: instance handle, common controls and the program's one entry.
#pragma once

#include <windows.h>

class CDialog;

// Initialises the list view, trackbar, combo box and other standard control classes.
BOOL InitControlClasses();

// The module whose resources the dialogs, icons and bitmaps come from: the application's
// instance once it runs, otherwise the executable itself.
HINSTANCE AppInstance();

// The framework's standard Help command.
constexpr UINT kHelpCommandId = 57670;

// One global object of a class derived from CApp is the program; WinMain calls Run.
class CApp {
 public:
  CApp();
  virtual ~CApp();
  CApp(const CApp&) = delete;
  CApp& operator=(const CApp&) = delete;

  // Keeps the instance, initialises the controls and runs InitInstance. When InitInstance
  // returns FALSE the program ends at once; TRUE runs a message loop until WM_QUIT.
  int Run(HINSTANCE instance);

  // The program's work; the default does nothing and ends the program.
  virtual BOOL InitInstance() { return FALSE; }
  // The Help command's default handler: the program ships no help file, so there is nothing to open.
  virtual void OnHelp() {}

  HINSTANCE instance() const { return instanceHandle; }
  CDialog* mainDialog() const { return mainDialogPtr; }
  void SetMainDialog(CDialog* dialog) { mainDialogPtr = dialog; }

  // The application object, or null when none was constructed (as in the tests).
  static CApp* Current();

 private:
  int RunMessageLoop();

  HINSTANCE instanceHandle = nullptr;
  CDialog* mainDialogPtr = nullptr;
};
