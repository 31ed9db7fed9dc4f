// The modal dialog base: finds the object behind a dialog window and forwards its messages.
#include "fw/dialog_win.h"

#include "fw/app_win.h"
#include "fw/dialog_init.h"
#include "resource.h"

namespace {

// The main window's last active popup, so that a dialog opened from a dialog stays above it.
HWND DefaultOwner(const CDialog* dialog) {
  const CApp* app = CApp::Current();
  const CDialog* main = app != nullptr ? app->mainDialog() : nullptr;
  if (main == nullptr || main == dialog || main->hwnd() == nullptr) return nullptr;
  return GetLastActivePopup(main->hwnd());
}

}  // namespace

INT_PTR CDialog::DoModal() {
  HWND owner = parent != nullptr ? parent : DefaultOwner(this);
  return DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(templateIdValue), owner, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG && lParam) {
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
    dialog->window = window;
  }
  auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!dialog) return FALSE;
  INT_PTR result = FALSE;
  try {
    if (message == WM_INITDIALOG) dialog->RunDialogInit();
    result = dialog->Dispatch(message, wParam, lParam);
  } catch (...) {
    result = FALSE;  // nothing may unwind into the system's code
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    dialog->window = nullptr;
  }
  return result;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  bool handled = false;
  const INT_PTR result = OnMessage(message, wParam, lParam, handled);
  if (handled) return result;
  return DispatchStandard(message, wParam, lParam);
}

INT_PTR CDialog::DispatchStandard(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND: {
      const UINT id = LOWORD(wParam), code = HIWORD(wParam);
      const auto control = reinterpret_cast<HWND>(lParam);
      if (control != nullptr && code == BN_CLICKED && OnClicked(id)) return TRUE;
      return OnCommand(id, code, control);
    }
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      return FALSE;
    case WM_PAINT:
      return OnPaint();
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      LRESULT answer = 0;
      if (!header || !OnNotify(static_cast<int>(wParam), header, &answer)) return FALSE;
      SetMessageResult(answer);
      return TRUE;
    }
    case WM_HSCROLL:
      OnHScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return FALSE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<INT_PTR>(
          OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message));
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    default:
      return FALSE;
  }
}

BOOL CDialog::OnInitDialog() {
  DoDataExchange();
  return TRUE;
}

BOOL CDialog::OnCommand(UINT id, UINT code, HWND control) {
  switch (id) {
    case IDOK:
      OnOK();
      return TRUE;
    case IDCANCEL:
      OnCancel();
      return TRUE;
    case kHelpCommandId:
      if (CApp* app = CApp::Current()) app->OnHelp();
      return TRUE;
    default:
      return FALSE;
  }
}

void CDialog::OnOK() {
  DoDataExchange();
  EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

HBRUSH CDialog::OnCtlColor(HDC dc, HWND control, UINT kind) {
  return reinterpret_cast<HBRUSH>(
      DefWindowProcA(window, kind, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
}

// Fills the controls with the items the template's companion resource lists (the combo box
// entries of a template, for example).
void CDialog::RunDialogInit() {
  HINSTANCE module = AppInstance();
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateIdValue), MAKEINTRESOURCEA(RT_DIALOG_INIT));
  if (!found) return;
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return;
  DialogInitReader reader(data, SizeofResource(module, found));
  DialogInitEntry entry;
  while (reader.Next(entry)) {
    const UINT addString = entry.kind == DialogInitEntry::Kind::AddComboString  ? CB_ADDSTRING
                           : entry.kind == DialogInitEntry::Kind::AddListString ? LB_ADDSTRING
                                                                                : 0;
    if (addString)
      SendDlgItemMessageA(window, entry.controlId, addString, 0, reinterpret_cast<LPARAM>(entry.text));
  }
}
