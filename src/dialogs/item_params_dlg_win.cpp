// The preset editor: each edit updates its member as it changes; OK checks the three scale values.
#include "dialogs/item_params_dlg_win.h"

#include <cstdio>
#include <cstring>

#include "dialogs/preset_text.h"
#include "fw/message_box_win.h"

namespace {

constexpr int kNameBufferSize = 50;     // 49 characters and the terminating zero
constexpr int kNumberBufferSize = 10;   // the nine characters a number is read from
constexpr int kCheckedBufferSize = 30;  // the digits test looks at 29 characters

void SetNumberText(const CEdit& edit, int32_t value) {
  char text[16];
  snprintf(text, sizeof text, "%d", int(value));
  edit.SetText(text);
}

}  // namespace

void CItemParamsDlg::CopyFrom(const SpeedPreset& preset) {
  const size_t length = strnlen(preset.name, sizeof name - 1);
  memcpy(name, preset.name, length);
  name[length] = '\0';
  min = preset.min;
  max = preset.max;
  def = preset.def;
  bandd = preset.bandd;
  bandu = preset.bandu;
}

void CItemParamsDlg::CopyTo(SpeedPreset& preset) const {
  SetPresetName(preset, name);
  preset.min = min;
  preset.max = max;
  preset.def = def;
  preset.bandd = bandd;
  preset.bandu = bandu;
}

void CItemParamsDlg::DoDataExchange() {
  nameEdit.Bind(hwnd(), IDC_NAME_EDIT);
  minEdit.Bind(hwnd(), IDC_MIN_EDIT);
  maxEdit.Bind(hwnd(), IDC_MAX_EDIT);
  defEdit.Bind(hwnd(), IDC_DEF_EDIT);
  banddEdit.Bind(hwnd(), IDC_BANDD_EDIT);
  banduEdit.Bind(hwnd(), IDC_BANDU_EDIT);
}

// Each text set here comes back through its change handler, which reads the member again from it.
BOOL CItemParamsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  const int32_t values[] = {min, max, def, bandd, bandu};
  const CEdit* edits[] = {&minEdit, &maxEdit, &defEdit, &banddEdit, &banduEdit};
  for (int i = 0; i < 5; ++i) SetNumberText(*edits[i], values[i]);
  char shownName[kNameBufferSize];
  memcpy(shownName, name, sizeof shownName);
  nameEdit.SetText(shownName);
  return TRUE;
}

BOOL CItemParamsDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (code == EN_CHANGE) {
    switch (id) {
      case IDC_NAME_EDIT:
        OnNameChange();
        return TRUE;
      case IDC_MIN_EDIT:
        OnNumberChange(minEdit, min);
        return TRUE;
      case IDC_MAX_EDIT:
        OnNumberChange(maxEdit, max);
        return TRUE;
      case IDC_DEF_EDIT:
        OnNumberChange(defEdit, def);
        return TRUE;
      case IDC_BANDD_EDIT:
        OnNumberChange(banddEdit, bandd);
        return TRUE;
      case IDC_BANDU_EDIT:
        OnNumberChange(banduEdit, bandu);
        return TRUE;
    }
  }
  return CDialog::OnCommand(id, code, control);
}

void CItemParamsDlg::OnNameChange() {
  char text[kNameBufferSize] = {};
  nameEdit.GetText(text, sizeof text);
  memcpy(name, text, sizeof name);
}

void CItemParamsDlg::OnNumberChange(const CEdit& edit, int32_t& member) {
  char text[kNumberBufferSize] = {};
  edit.GetText(text, sizeof text);
  member = ReadEditNumber(text);
}

bool CItemParamsDlg::CheckDigits(const CEdit& edit, const char* refusal) {
  char text[kCheckedBufferSize] = {};
  edit.GetText(text, sizeof text);
  if (IsAllDigits(text)) return true;
  ShowAppMessage(hwnd(), refusal);
  return false;
}

void CItemParamsDlg::OnOK() {
  if (!CheckDigits(minEdit, "Min. illegal entry!")) return;
  if (!CheckDigits(maxEdit, "Max. illegal entry!")) return;
  if (!CheckDigits(defEdit, "Def. illegal entry!")) return;
  CDialog::OnOK();
}
