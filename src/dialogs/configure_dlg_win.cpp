// The Configure dialog: interface, preset, scales, graph style and refresh period, applied at once.
#include "dialogs/configure_dlg_win.h"

#include "console/stat_console_dlg_win.h"
#include "dialogs/app_message_win.h"
#include "dialogs/configure_labels.h"
#include "dialogs/item_params_dlg_win.h"
#include "fw/app_win.h"
#include "fw/gdi_win.h"

namespace {

constexpr int kDialogLeft = 100;
constexpr int kDialogTop = 100;
constexpr int kImageSize = 16;
constexpr int kImageListInitial = 10;
constexpr int kImageListGrow = 10;
constexpr UINT kAllItemStates =
    LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT | LVIS_DROPHILITED | LVIS_OVERLAYMASK | LVIS_STATEIMAGEMASK;

}  // namespace

void CConfigureDlg::DoDataExchange() {
  interfaceList.Bind(hwnd(), IDC_INTERFACE_LIST);
  presetCombo.Bind(hwnd(), IDC_PRESET_COMBO);
  graphScaleSlider.Bind(hwnd(), IDC_GRAPH_SCALE_SLIDER);
  graphScaleLabel.Bind(hwnd(), IDC_GRAPH_SCALE_LABEL);
  refreshSlider.Bind(hwnd(), IDC_REFRESH_SLIDER);
  refreshLabel.Bind(hwnd(), IDC_REFRESH_LABEL);
  traySlider.Bind(hwnd(), IDC_TRAY_SLIDER);
  trayScaleLabel.Bind(hwnd(), IDC_TRAY_SCALE_LABEL);
  autoScaleCheck.Bind(hwnd(), IDC_AUTOSCALE_CHECK);
  separateScaleCheck.Bind(hwnd(), IDC_SEPARATE_SCALE_CHECK);
  styleNormalRadio.Bind(hwnd(), IDC_STYLE_NORMAL);
  styleMirrorRadio.Bind(hwnd(), IDC_STYLE_MIRROR);
  styleOverlappedRadio.Bind(hwnd(), IDC_STYLE_OVERLAPPED);
}

BOOL CConfigureDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (owner == nullptr) return TRUE;
  CheckStyleRadio();
  SetWindowPos(hwnd(), nullptr, kDialogLeft, kDialogTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  autoScaleCheck.SetChecked(autoScaleCopy != 0);
  presetCombo.SetCurSel(ValidPresetIndex(owner->GetDeviceSpeedIndex(owner->selectedInterface)));
  refreshSlider.SetRange(kRefreshSliderMin, kRefreshSliderMax);
  refreshSlider.SetPos(RefreshPositionFromPeriod(owner->refreshPeriodMs));
  ShowRefreshPeriod();
  RefreshPresetDisplay();
  FillPresetCombo();
  FillInterfaceList();
  return TRUE;
}

void CConfigureDlg::CheckStyleRadio() {
  styleNormalRadio.SetChecked(owner->graphStyle == kGraphStyleNormal);
  styleOverlappedRadio.SetChecked(owner->graphStyle == kGraphStyleOverlapped);
  styleMirrorRadio.SetChecked(owner->graphStyle == kGraphStyleMirror);
}

void CConfigureDlg::FillInterfaceList() {
  interfaceImages.Create(kImageSize, kImageSize, ILC_COLOR, kImageListInitial, kImageListGrow);
  COwnedIcon icon(static_cast<HICON>(
      LoadImageA(AppInstance(), MAKEINTRESOURCEA(IDI_INTERFACE), IMAGE_ICON, kImageSize, kImageSize, 0)));
  if (!icon)
    ShowAppMessage(hwnd(), "icon error");
  else
    interfaceImages.AddIcon(icon.get());
  // Without LVS_SHAREIMAGELISTS the list view destroys the list with itself.
  if (interfaceImages.handle() != nullptr) interfaceList.SetImageList(interfaceImages.Detach(), LVSIL_SMALL);

  for (uint32_t i = 0; i < owner->interfaceCount; ++i) {
    const char* description = owner->platform.InterfaceDescription(int32_t(i));
    interfaceList.InsertItem(int(i), description != nullptr ? description : "", 0);
  }
  interfaceList.SetItemState(owner->selectedInterface, LVIS_SELECTED | LVIS_FOCUSED, kAllItemStates);
}

void CConfigureDlg::ShowRefreshPeriod() {
  char text[32];
  FormatRefreshLabel(owner->refreshPeriodMs, text, sizeof text);
  refreshLabel.SetText(text);
}

void CConfigureDlg::ShowTrayScale() {
  char text[32];
  FormatTrayScaleLabel(owner->trayScaleValue, text, sizeof text);
  trayScaleLabel.SetText(text);
}

// A selection that names no preset (nothing chosen, or text typed into the edit field) shows preset 0.
void CConfigureDlg::RefreshPresetDisplay() {
  const int selection = presetCombo.GetCurSel();
  const int32_t preset = ValidPresetIndex(selection);
  if (preset != selection) presetCombo.SetCurSel(preset);
  selectedPreset = uint8_t(preset);
  owner->presetIndex = preset;

  const SpeedPreset& shown = owner->presets[preset];
  graphScaleSlider.SetRange(shown.min, shown.max);
  currentDef = shown.def;
  graphScaleSlider.SetPos(currentDef);
  char text[32];
  FormatGraphScaleLabel(currentDef, text, sizeof text);
  graphScaleLabel.SetText(text);

  separateScaleCheck.SetChecked(owner->traySeparateScaleEnabled);
  traySlider.Enable(owner->traySeparateScaleEnabled);
  traySlider.SetRange(kTraySliderMin, kTraySliderMax);
  traySlider.SetPos(owner->trayScaleValue);
  // The label shows the scale after the slider has brought it into its range.
  OnSeparateScale();
  ShowTrayScale();
}

void CConfigureDlg::FillPresetCombo() {
  presetCombo.ResetContent();
  for (const SpeedPreset& preset : owner->presets) presetCombo.AddString(preset.name);
  presetCombo.SetCurSel(ValidPresetIndex(owner->presetIndex));
}

BOOL CConfigureDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (owner == nullptr) return CDialog::OnCommand(wParam, lParam);
  const int id = LOWORD(wParam), code = HIWORD(wParam);
  if (id == IDC_PRESET_COMBO) {
    if (code == CBN_SELCHANGE) OnPresetChange();
    return TRUE;
  }
  if (code != BN_CLICKED) return CDialog::OnCommand(wParam, lParam);
  switch (id) {
    case IDC_STYLE_NORMAL:
      OnStyleNormal();
      return TRUE;
    case IDC_STYLE_MIRROR:
      OnStyleMirror();
      return TRUE;
    case IDC_STYLE_OVERLAPPED:
      OnStyleOverlapped();
      return TRUE;
    case IDC_AUTOSCALE_CHECK:
      OnAutoScale();
      return TRUE;
    case IDC_EDIT_PRESET:
      OnEditPreset();
      return TRUE;
    case IDC_STATISTICS_BUTTON:
      OnStatistics();
      return TRUE;
    case IDC_SEPARATE_SCALE_CHECK:
      OnSeparateScale();
      return TRUE;
    default:
      return CDialog::OnCommand(wParam, lParam);
  }
}

BOOL CConfigureDlg::OnNotify(int controlId, NMHDR* header, LRESULT* result) {
  if (owner == nullptr || header->idFrom != IDC_INTERFACE_LIST || header->code != UINT(NM_CLICK))
    return FALSE;
  OnInterfaceClick();
  *result = 0;
  return TRUE;
}

// With no interface the list is empty and a click in it has nothing to pick.
void CConfigureDlg::OnInterfaceClick() {
  if (owner->interfaceCount == 0) return;
  const int count = interfaceList.GetItemCount();
  for (int i = 0; i < count; ++i)
    if (interfaceList.GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED) owner->selectedInterface = i;
  presetCombo.SetCurSel(ValidPresetIndex(owner->GetDeviceSpeedIndex(owner->selectedInterface)));
  RefreshPresetDisplay();
  owner->WriteDeviceSpeedIndex();
  OnAutoScale();
}

void CConfigureDlg::OnStyleNormal() {
  owner->SetGraphStyle(kGraphStyleNormal);
}
void CConfigureDlg::OnStyleMirror() {
  owner->SetGraphStyle(kGraphStyleMirror);
}
void CConfigureDlg::OnStyleOverlapped() {
  owner->SetGraphStyle(kGraphStyleOverlapped);
}

void CConfigureDlg::OnAutoScale() {
  autoScaleCopy = autoScaleCheck.IsChecked() ? 1 : 0;
  owner->SetInterfaceAutoScale(autoScaleCopy);
  owner->autoScale = autoScaleCopy;
}

void CConfigureDlg::OnHScroll(UINT code, UINT position, HWND control) {
  if (owner == nullptr || control == nullptr) return;
  if (control == graphScaleSlider.hwnd()) {
    currentDef = graphScaleSlider.GetPos();
    owner->presets[selectedPreset].def = currentDef;
    RefreshPresetDisplay();
  } else if (control == refreshSlider.hwnd()) {
    owner->refreshPeriodMs = RefreshPeriodFromPosition(refreshSlider.GetPos());
    owner->RestartGraphTimer();
    ShowRefreshPeriod();
  } else if (control == traySlider.hwnd()) {
    owner->trayScaleValue = traySlider.GetPos();
    ShowTrayScale();
  }
}

void CConfigureDlg::OnPresetChange() {
  RefreshPresetDisplay();
  owner->WriteDeviceSpeedIndex();
}

void CConfigureDlg::OnEditPreset() {
  CItemParamsDlg editor(hwnd());
  SpeedPreset& preset = owner->presets[selectedPreset];
  editor.CopyFrom(preset);
  if (editor.DoModal() != IDOK) return;
  editor.CopyTo(preset);
  FillPresetCombo();
}

void CConfigureDlg::OnStatistics() {
  CStatConsoleDlg console(nullptr);
  console.DoModal();
}

void CConfigureDlg::OnSeparateScale() {
  owner->traySeparateScaleEnabled = separateScaleCheck.IsChecked();
  traySlider.Enable(owner->traySeparateScaleEnabled);
  trayScaleLabel.Enable(owner->traySeparateScaleEnabled);
  owner->trayScaleValue = traySlider.GetPos();
}

void RunConfigure(MonitorModel& owner, HWND mainWindow) {
  CConfigureDlg dialog(nullptr);
  dialog.owner = &owner;
  dialog.autoScaleCopy = owner.autoScale;
  dialog.DoModal();
  if (mainWindow != nullptr) {
    SendMessageA(mainWindow, WM_NEXTDLGCTL, 0, FALSE);
    SendMessageA(mainWindow, WM_NEXTDLGCTL, 0, FALSE);
  }
  owner.WriteConfigureSettings();
}
