// The Configure dialog: every control changes the running monitor at once.
#pragma once

#include <windows.h>

#include <cstdint>

#include "dialogs/configure_port.h"
#include "fw/button_win.h"
#include "fw/combo_box_win.h"
#include "fw/dialog_win.h"
#include "fw/image_list_win.h"
#include "fw/list_view_win.h"
#include "fw/static_win.h"
#include "fw/trackbar_win.h"
#include "resource.h"

class CConfigureDlg : public CDialog {
 public:
  explicit CConfigureDlg(HWND parent = nullptr) : CDialog(IDD_CONFIGURE, parent) {}

  IConfigurePort* owner = nullptr;
  int32_t autoScaleCopy = 0;
  int32_t currentDef = 0;
  uint8_t selectedPreset = 0;

 protected:
  void DoDataExchange() override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(UINT id, UINT code, HWND control) override;
  BOOL OnClicked(UINT id) override;
  BOOL OnNotify(int controlId, NMHDR* header, LRESULT* result) override;
  void OnHScroll(UINT code, UINT position, HWND control) override;

  // Makes this preset the one the controls show and edit.
  void ChoosePreset(int32_t preset);
  void RefreshPresetDisplay();
  void FillPresetCombo();

  void OnInterfaceClick();
  void OnStyleNormal();
  void OnStyleMirror();
  void OnStyleOverlapped();
  void OnAutoScale();
  void OnPresetChange();
  void OnEditPreset();
  void OnStatistics();
  void OnSeparateScale();

  CListView interfaceList;
  CImageList interfaceImages;
  CComboBox presetCombo;
  CTrackbar graphScaleSlider;
  CStatic graphScaleLabel;
  CTrackbar refreshSlider;
  CStatic refreshLabel;
  CTrackbar traySlider;
  CStatic trayScaleLabel;
  CButton autoScaleCheck;
  CButton showAllCheck;
  CButton separateScaleCheck;
  CButton styleNormalRadio;
  CButton styleMirrorRadio;
  CButton styleOverlappedRadio;

 private:
  void CheckStyleRadio();
  void FillInterfaceList();
  void ListEntries();
  void FitColumns(int namesWidth);
  void ShowRefreshPeriod();
  void ShowTrayScale();
};

// The Configure command: runs the dialog, moves the main window's focus on twice and writes the
// Configure group of settings, however the dialog was closed.
void RunConfigure(IConfigurePort& owner, HWND mainWindow);
