// The preset editor: one preset's name, scale range and default, and its two bandwidths.
#pragma once

#include <windows.h>

#include <cstdint>

#include "fw/dialog_win.h"
#include "fw/edit_win.h"
#include "resource.h"
#include "settings/speed_preset.h"

class CItemParamsDlg : public CDialog {
 public:
  explicit CItemParamsDlg(HWND parent = nullptr) : CDialog(IDD_ITEM_PARAMS, parent) {}

  // Copies a preset in before the run, and back out after an OK.
  void CopyFrom(const SpeedPreset& preset);
  void CopyTo(SpeedPreset& preset) const;

  // Always the values read from the edits' current texts.
  int32_t def = 0;
  int32_t min = 0;
  int32_t max = 0;
  int32_t bandd = 0;
  int32_t bandu = 0;
  char name[50] = {};

 protected:
  void DoDataExchange() override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(UINT id, UINT code, HWND control) override;
  void OnOK() override;

  void OnNameChange();
  void OnNumberChange(const CEdit& edit, int32_t& member);
  // The digits-only test of one scale edit; shows refusal and returns false when it fails.
  bool CheckDigits(const CEdit& edit, const char* refusal);

  CEdit nameEdit;
  CEdit minEdit;
  CEdit maxEdit;
  CEdit defEdit;
  CEdit banddEdit;
  CEdit banduEdit;
};
