// Runs a dialog template modally, hands the live window to a check, then cancels it.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "fw/app_win.h"
#include "fw/dialog_win.h"

class CDialogProbe : public CDialog {
 public:
  CDialogProbe(UINT templateId, std::function<void(HWND)> inspect)
      : CDialog(templateId), inspect(std::move(inspect)) {}

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    inspect(hwnd());
    PostMessageA(hwnd(), WM_COMMAND, IDCANCEL, 0);
    return TRUE;
  }

 private:
  std::function<void(HWND)> inspect;
};

// The result of the modal run: IDCANCEL when the template was found and the check ran.
inline INT_PTR InspectTemplate(UINT templateId, std::function<void(HWND)> inspect) {
  InitControlClasses();
  CDialogProbe probe(templateId, std::move(inspect));
  return probe.DoModal();
}
