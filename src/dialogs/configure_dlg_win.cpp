// The Configure dialog: interface, preset, scales, graph style and refresh period, applied at once.
#include "dialogs/configure_dlg_win.h"

#include <algorithm>
#include <vector>

#include "console/stat_console_dlg_win.h"
#include "dialogs/configure_labels.h"
#include "dialogs/item_params_dlg_win.h"
#include "fw/app_win.h"
#include "fw/dpi_win.h"
#include "fw/message_box_win.h"
#include "fw/owned_handle_win.h"
#include "sampling/counter_source.h"
#include "sampling/interface_rows.h"

namespace {

constexpr int kDialogLeft = 100;
constexpr int kDialogTop = 100;
constexpr int kImageListInitial = 10;
constexpr int kImageListGrow = 10;
constexpr UINT kAllItemStates =
    LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT | LVIS_DROPHILITED | LVIS_OVERLAYMASK | LVIS_STATEIMAGEMASK;
// The adapters' names take no more than this share of the list's width, beside the descriptions.
constexpr int kNameColumnShare = 3;
// Room around a column's text.
constexpr int kColumnMargin = 12;
constexpr size_t kEntryTextSize = 300;

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
  showAllCheck.Bind(hwnd(), IDC_SHOW_ALL_CHECK);
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
  refreshSlider.SetRange(kRefreshSliderMin, kRefreshSliderMax);
  refreshSlider.SetPos(RefreshPositionFromPeriod(owner->Settings().refreshPeriodMs));
  ShowRefreshPeriod();
  ChoosePreset(owner->PresetIndexOf(owner->Settings().selectedInterface));
  FillPresetCombo();
  FillInterfaceList();
  return TRUE;
}

void CConfigureDlg::CheckStyleRadio() {
  styleNormalRadio.SetChecked(owner->Settings().graphStyle == kGraphStyleNormal);
  styleOverlappedRadio.SetChecked(owner->Settings().graphStyle == kGraphStyleOverlapped);
  styleMirrorRadio.SetChecked(owner->Settings().graphStyle == kGraphStyleMirror);
}

// The list's icons take the small icon's size at the dialog's DPI, as its text takes the font's. Each
// entry shows its description, and the adapter's name beside it.
void CConfigureDlg::FillInterfaceList() {
  interfaceList.InsertColumn(0, 0);
  interfaceList.InsertColumn(1, 0);
  interfaceList.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
  const int imageSize = SmallIconSizeForDpi(WindowDpi(hwnd()));
  interfaceImages.Create(imageSize, imageSize, ILC_COLOR, kImageListInitial, kImageListGrow);
  COwnedIcon icon(static_cast<HICON>(
      LoadImageA(AppInstance(), MAKEINTRESOURCEA(IDI_INTERFACE), IMAGE_ICON, imageSize, imageSize, 0)));
  if (!icon)
    ShowAppMessage(hwnd(), "icon error");
  else
    interfaceImages.AddIcon(icon.get());
  // Without LVS_SHAREIMAGELISTS the list view destroys the list with itself.
  if (interfaceImages.handle() != nullptr) interfaceList.SetImageList(interfaceImages.Detach(), LVSIL_SMALL);

  ListEntries();
}

// Each item holds its entry: a row, kAllLinksRow or kMissingRow.
void CConfigureDlg::ListEntries() {
  interfaceList.DeleteAllItems();
  std::vector<int32_t> entries(owner->InterfaceCount() + 2);
  const uint32_t count =
      owner->ListInterfaces(showAllCheck.IsChecked(), entries.data(), uint32_t(entries.size()));
  const int32_t chosen = owner->ChosenEntry();
  int namesWidth = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const int32_t entry = entries[i];
    const char* description = owner->InterfaceDescription(entry);
    char text[kEntryTextSize];
    FormatInterfaceEntry(description, entry == kMissingRow, text, sizeof text);
    const int item = interfaceList.InsertItem(int(i), text, 0, LPARAM(entry));
    const char* name = InterfaceNameBeside(description, owner->InterfaceAlias(entry));
    interfaceList.SetItemText(item, 1, name);
    if (name[0] != '\0')
      namesWidth = std::max(namesWidth, interfaceList.GetStringWidth(name) + kColumnMargin);
    if (entry != chosen) continue;
    interfaceList.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, kAllItemStates);
    interfaceList.EnsureVisible(item);
  }
  FitColumns(namesWidth);
}

// The names as wide as the widest, up to their share; the descriptions take the rest, beside room
// for a scroll bar.
void CConfigureDlg::FitColumns(int namesWidth) {
  RECT client = {};
  GetClientRect(interfaceList.hwnd(), &client);
  const int width = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
  namesWidth = std::min(namesWidth, width / kNameColumnShare);
  interfaceList.SetColumnWidth(0, width - namesWidth);
  interfaceList.SetColumnWidth(1, namesWidth);
}

void CConfigureDlg::ShowRefreshPeriod() {
  char text[32];
  FormatRefreshLabel(owner->Settings().refreshPeriodMs, text, sizeof text);
  refreshLabel.SetText(text);
}

void CConfigureDlg::ShowTrayScale() {
  char text[32];
  FormatTrayScaleLabel(owner->Settings().trayScaleValue, text, sizeof text);
  trayScaleLabel.SetText(text);
}

void CConfigureDlg::ChoosePreset(int32_t preset) {
  selectedPreset = uint8_t(ValidPresetIndex(preset));
  RefreshPresetDisplay();
}

// Shows the preset last chosen. Text typed into the combo's edit field may have moved or cleared
// the list's selection; that picks nothing, and the list shows the chosen preset again.
void CConfigureDlg::RefreshPresetDisplay() {
  const int32_t preset = ValidPresetIndex(selectedPreset);
  if (presetCombo.GetCurSel() != preset) presetCombo.SetCurSel(preset);
  owner->Settings().presetIndex = preset;

  const SpeedPreset& shown = owner->Settings().presets[preset];
  graphScaleSlider.SetRange(shown.min, shown.max);
  currentDef = shown.def;
  graphScaleSlider.SetPos(currentDef);
  char text[32];
  FormatGraphScaleLabel(currentDef, text, sizeof text);
  graphScaleLabel.SetText(text);

  separateScaleCheck.SetChecked(owner->Settings().traySeparateScaleEnabled);
  traySlider.Enable(owner->Settings().traySeparateScaleEnabled);
  traySlider.SetRange(kTraySliderMin, kTraySliderMax);
  traySlider.SetPos(owner->Settings().trayScaleValue);
  // The label shows the scale after the slider has brought it into its range.
  OnSeparateScale();
  ShowTrayScale();
}

void CConfigureDlg::FillPresetCombo() {
  presetCombo.ResetContent();
  for (const SpeedPreset& preset : owner->Settings().presets) presetCombo.AddString(preset.name);
  presetCombo.SetCurSel(ValidPresetIndex(owner->Settings().presetIndex));
}

BOOL CConfigureDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (owner == nullptr || id != IDC_PRESET_COMBO) return CDialog::OnCommand(id, code, control);
  if (code == CBN_SELCHANGE) OnPresetChange();
  return TRUE;
}

BOOL CConfigureDlg::OnClicked(UINT id) {
  if (owner == nullptr) return FALSE;
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
    case IDC_SHOW_ALL_CHECK:
      ListEntries();
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL CConfigureDlg::OnNotify(int controlId, NMHDR* header, LRESULT* result) {
  if (owner == nullptr || header->idFrom != IDC_INTERFACE_LIST || header->code != UINT(NM_CLICK))
    return FALSE;
  OnInterfaceClick();
  *result = 0;
  return TRUE;
}

// With no interface the list is empty and a click in it has nothing to pick; a click beside the
// items keeps the entry chosen.
void CConfigureDlg::OnInterfaceClick() {
  if (owner->InterfaceCount() == 0) return;
  const int item = interfaceList.GetNextSelected();
  if (item >= 0) owner->SelectInterface(int32_t(interfaceList.GetItemData(item)));
  ChoosePreset(owner->PresetIndexOf(owner->Settings().selectedInterface));
  owner->ApplyPreset();
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
  owner->SetAutoScale(autoScaleCopy != 0);
  owner->Settings().autoScale = autoScaleCopy;
}

void CConfigureDlg::OnHScroll(UINT code, UINT position, HWND control) {
  if (owner == nullptr || control == nullptr) return;
  if (control == graphScaleSlider.hwnd()) {
    currentDef = graphScaleSlider.GetPos();
    owner->Settings().presets[selectedPreset].def = currentDef;
    RefreshPresetDisplay();
  } else if (control == refreshSlider.hwnd()) {
    owner->SetRefreshPeriod(RefreshPeriodFromPosition(refreshSlider.GetPos()));
    ShowRefreshPeriod();
  } else if (control == traySlider.hwnd()) {
    owner->Settings().trayScaleValue = traySlider.GetPos();
    ShowTrayScale();
  }
}

// A choice in the list; a selection that names no preset keeps the one last chosen.
void CConfigureDlg::OnPresetChange() {
  const int selection = presetCombo.GetCurSel();
  ChoosePreset(selection >= 0 && selection < kPresetCount ? selection : selectedPreset);
  owner->ApplyPreset();
}

void CConfigureDlg::OnEditPreset() {
  CItemParamsDlg editor(hwnd());
  SpeedPreset& preset = owner->Settings().presets[selectedPreset];
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
  owner->Settings().traySeparateScaleEnabled = separateScaleCheck.IsChecked();
  traySlider.Enable(owner->Settings().traySeparateScaleEnabled);
  trayScaleLabel.Enable(owner->Settings().traySeparateScaleEnabled);
  owner->Settings().trayScaleValue = traySlider.GetPos();
}

void RunConfigure(IConfigurePort& owner, HWND mainWindow) {
  CConfigureDlg dialog(nullptr);
  dialog.owner = &owner;
  dialog.autoScaleCopy = owner.Settings().autoScale;
  dialog.DoModal();
  if (mainWindow != nullptr) {
    SendMessageA(mainWindow, WM_NEXTDLGCTL, 0, FALSE);
    SendMessageA(mainWindow, WM_NEXTDLGCTL, 0, FALSE);
  }
  owner.SaveSettings();
}
