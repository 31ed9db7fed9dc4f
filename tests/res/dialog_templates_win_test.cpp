// Each dialog template, created for real: its frame, and every control's class, id, text, style,
// place and tab order.
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/dialog_probe_win.h"
#include "resource.h"

namespace {

// The control-specific low word is compared whole; of the window bits only these. Edits and list
// views turn a border into a sunken client edge, which counts as the border. (A combo box hands its
// scroll bar to its list, which shows it only when needed; it is tested by filling the list.)
constexpr DWORD kWindowBits = WS_VISIBLE | WS_DISABLED | WS_TABSTOP | WS_GROUP | WS_BORDER;
constexpr DWORD kVisible = WS_VISIBLE;

struct ControlSpec {
  int id;
  const char* className;
  const char* text;
  DWORD style;  // low word plus kWindowBits
  RECT place;   // x, y, width, height in dialog units
};

std::string ClassOf(HWND control) {
  char name[64] = {};
  GetClassNameA(control, name, sizeof name);
  return name;
}

std::string TextOf(HWND control) {
  char text[128] = {};
  GetWindowTextA(control, text, sizeof text);
  return text;
}

bool IsIcon(HWND control) {
  return ClassOf(control) == "Static" && (GetWindowLongPtrA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// The dialog manager converts the position and the size separately, as here.
RECT PixelsOf(HWND dialog, const RECT& units) {
  RECT r = units;
  MapDialogRect(dialog, &r);
  return {r.left, r.top, r.left + r.right, r.top + r.bottom};
}

RECT PlaceOf(HWND dialog, HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

DWORD EffectiveStyle(HWND control) {
  DWORD style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
  if (GetWindowLongPtrA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) style |= WS_BORDER;
  return style;
}

void ExpectControl(HWND dialog, HWND control, const ControlSpec& spec) {
  SCOPED_TRACE(std::string("control ") + std::to_string(spec.id) + " \"" + spec.text + "\"");
  EXPECT_EQ(GetDlgCtrlID(control), spec.id);
  EXPECT_STRCASEEQ(ClassOf(control).c_str(), spec.className);
  if (!IsIcon(control)) EXPECT_EQ(TextOf(control), spec.text);
  EXPECT_EQ(EffectiveStyle(control) & (0xFFFF | kWindowBits), spec.style)
      << std::hex << EffectiveStyle(control);
  const RECT expected = PixelsOf(dialog, spec.place);
  const RECT actual = PlaceOf(dialog, control);
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  if (IsIcon(control)) return;  // an icon static takes the icon's size
  EXPECT_EQ(actual.right, expected.right);
  if (ClassOf(control) != "ComboBox") EXPECT_EQ(actual.bottom, expected.bottom);  // a drop-down's is its list
}

void ExpectControls(HWND dialog, const std::vector<ControlSpec>& specs) {
  HWND control = GetWindow(dialog, GW_CHILD);
  for (const ControlSpec& spec : specs) {
    ASSERT_NE(control, nullptr) << "missing control " << spec.id << " \"" << spec.text << "\"";
    ExpectControl(dialog, control, spec);
    control = GetWindow(control, GW_HWNDNEXT);
  }
  EXPECT_EQ(control, nullptr) << "more controls than expected";
}

void ExpectFrame(HWND dialog, DWORD style, DWORD absent, DWORD exStyle, const char* caption, LONG width,
                 LONG height) {
  const DWORD actual = static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE));
  EXPECT_EQ(actual & style, style) << std::hex << actual;
  EXPECT_EQ(actual & absent, 0u) << std::hex << actual;
  const DWORD actualEx = static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE));
  EXPECT_EQ(actualEx & exStyle, exStyle) << std::hex << actualEx;
  EXPECT_EQ(TextOf(dialog), caption);
  RECT client;
  GetClientRect(dialog, &client);
  const RECT expected = PixelsOf(dialog, {0, 0, width, height});
  EXPECT_EQ(client.right, expected.right);
  EXPECT_EQ(client.bottom, expected.bottom);
}

std::vector<int> TabOrder(HWND dialog) {
  std::vector<int> ids;
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  for (HWND item = first; item && ids.size() < 40;) {
    ids.push_back(GetDlgCtrlID(item));
    item = GetNextDlgTabItem(dialog, item, FALSE);
    if (item == first) break;
  }
  return ids;
}

constexpr DWORD kGroupBox = BS_GROUPBOX | kVisible;
constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP | kVisible;

void CheckMainWindow(HWND dialog) {
  ExpectFrame(dialog, WS_POPUP | WS_BORDER, WS_DLGFRAME | WS_SYSMENU | WS_THICKFRAME, WS_EX_APPWINDOW, "",
              106, 64);
  const DWORD hidden = BS_OWNERDRAW | BS_NOTIFY | WS_DISABLED | WS_TABSTOP;
  ExpectControls(dialog, {{IDC_EXIT_BUTTON, "Button", "Exit", hidden, {77, 39, 26, 17}},
                          {IDC_CONFIGURE_BUTTON, "Button", "Configure", hidden, {77, 7, 26, 17}}});
}

void CheckConfigure(HWND dialog) {
  ExpectFrame(dialog, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_SETFOREGROUND,
              WS_THICKFRAME, WS_EX_DLGMODALFRAME, "Configure", 324, 214);
  const DWORD slider = TBS_BOTH | TBS_NOTICKS | WS_TABSTOP | kVisible;
  const DWORD label = SS_LEFT | WS_GROUP | kVisible;
  const DWORD radio = BS_AUTORADIOBUTTON | kVisible;
  const DWORD check = BS_AUTOCHECKBOX | WS_TABSTOP | kVisible;
  const DWORD list =
      LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP | kVisible;
  ExpectControls(dialog,
                 {{IDC_INTERFACE_LIST, WC_LISTVIEWA, "", list, {5, 30, 135, 153}},
                  {IDC_SHOW_ALL_CHECK, "Button", "Show all", check, {7, 17, 60, 10}},
                  {IDOK, "Button", "Apply and Exit", kPush, {190, 193, 50, 14}},
                  {-1, "Button", "Graph scale", kGroupBox, {155, 4, 138, 62}},
                  {-1, "Button", "Click on the network device to monitor", kGroupBox, {0, 5, 145, 183}},
                  {IDC_GRAPH_SCALE_SLIDER, TRACKBAR_CLASSA, "", slider, {159, 30, 80, 12}},
                  {IDC_GRAPH_SCALE_LABEL, "Static", "10", label, {165, 45, 70, 8}},
                  {IDC_STYLE_NORMAL, "Button", "Normal", radio | WS_TABSTOP, {163, 159, 38, 10}},
                  {IDC_STYLE_MIRROR, "Button", "Mirror-like", radio, {163, 173, 46, 10}},
                  {IDC_STYLE_OVERLAPPED, "Button", "Overlapped", radio, {227, 160, 53, 10}},
                  {-1, "Button", "Refresh rate", kGroupBox, {155, 106, 138, 42}},
                  {IDC_REFRESH_SLIDER, TRACKBAR_CLASSA, "", slider, {158, 127, 80, 12}},
                  {IDC_REFRESH_LABEL, "Static", "200 ms", label, {163, 117, 40, 8}},
                  {IDC_AUTOSCALE_CHECK, "Button", "AutoScale", check, {163, 54, 49, 10}},
                  {IDC_PRESET_COMBO, "ComboBox", "", CBS_DROPDOWN | WS_TABSTOP | kVisible, {161, 15, 82, 90}},
                  {IDC_EDIT_PRESET, "Button", "Edit", kPush, {247, 15, 39, 14}},
                  {-1, "Button", "Graph Style", kGroupBox | WS_GROUP, {155, 149, 138, 38}},
                  {IDC_STATISTICS_BUTTON, "Button", "Statistics", kPush & ~kVisible, {17, 193, 50, 14}},
                  {-1, "Button", "Tray icon scale", kGroupBox, {155, 67, 138, 40}},
                  {IDC_SEPARATE_SCALE_CHECK, "Button", "Enable separate scale", check, {161, 78, 86, 10}},
                  {IDC_TRAY_SLIDER, TRACKBAR_CLASSA, "", slider, {160, 90, 80, 12}},
                  {IDC_TRAY_SCALE_LABEL, "Static", "10", label, {241, 90, 36, 8}}});

  // The six initial items of the preset list, in order.
  const char* items[] = {"5 KB/s (Modem)",       "8 KB/s (ISDN)",       "16 KB/s (2xISDN)",
                         "250 KB/s (HDSL etc.)", "Custom-(Med. Speed)", "Custom-(High Speed)"};
  HWND combo = GetDlgItem(dialog, IDC_PRESET_COMBO);
  ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 6);
  for (int i = 0; i < 6; ++i) {
    char text[64] = {};
    SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, items[i]);
  }
}

void CheckItemParameters(HWND dialog) {
  // System-modal (Windows then makes it topmost) and brought to the foreground; no close box.
  ExpectFrame(dialog, WS_POPUP | WS_CAPTION | DS_SYSMODAL | DS_SETFOREGROUND, WS_SYSMENU | WS_THICKFRAME, 0,
              "Item parameters", 226, 254);
  const DWORD edit = ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | kVisible;
  const DWORD text = SS_LEFT | kVisible;
  ExpectControls(dialog, {{IDC_NAME_EDIT, "Edit", "", edit, {57, 24, 80, 14}},
                          {IDC_MIN_EDIT, "Edit", "", edit, {30, 85, 40, 14}},
                          {IDC_MAX_EDIT, "Edit", "", edit, {129, 84, 40, 14}},
                          {-1, "Static", "Max. transfer rate", text, {119, 68, 56, 8}},
                          {-1, "Static", "Min. transfer rate", text, {20, 69, 54, 8}},
                          {IDOK, "Button", "Ok", kPush, {53, 232, 47, 17}},
                          {IDCANCEL, "Button", "Cancel", kPush, {125, 232, 47, 17}},
                          {-1, "Static", "Default value (KB/s)", text, {20, 103, 65, 8}},
                          {IDC_DEF_EDIT, "Edit", "", edit, {30, 118, 40, 14}},
                          {-1, "Button", "Item Name/Description", kGroupBox, {17, 7, 176, 44}},
                          {-1, "Button", "Graph Scale", kGroupBox, {17, 55, 176, 93}},
                          {-1, "Button", "Bandwidth", kGroupBox, {18, 152, 174, 78}},
                          {-1, "Static", "Download max. rate (KB/s)", text, {24, 164, 86, 8}},
                          {-1, "Static", "Upload max. rate (KB/s)", text, {24, 187, 76, 8}},
                          {IDC_BANDD_EDIT, "Edit", "", edit, {125, 161, 40, 14}},
                          {IDC_BANDU_EDIT, "Edit", "", edit, {125, 183, 40, 14}}});
  const std::vector<int> tabs = {IDC_NAME_EDIT, IDC_MIN_EDIT, IDC_MAX_EDIT,   IDOK,
                                 IDCANCEL,      IDC_DEF_EDIT, IDC_BANDD_EDIT, IDC_BANDU_EDIT};
  EXPECT_EQ(TabOrder(dialog), tabs);
}

void CheckAbout(HWND dialog) {
  ExpectFrame(dialog, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_THICKFRAME | WS_MINIMIZEBOX, WS_EX_DLGMODALFRAME,
              "About quintrel", 235, 66);
  const std::string notice =
      TextOf(GetWindow(GetWindow(GetWindow(dialog, GW_CHILD), GW_HWNDNEXT), GW_HWNDNEXT));
  const std::string home = TextOf(GetDlgItem(dialog, IDC_HOME_PAGE_LINK));
  const std::string mail = TextOf(GetDlgItem(dialog, IDC_MAIL_LINK));
  EXPECT_FALSE(notice.empty());
  EXPECT_EQ(home.rfind("https://", 0), 0u);
  EXPECT_NE(mail.find('@'), std::string::npos);
  const DWORD link = SS_LEFT | SS_NOTIFY | kVisible;
  ExpectControls(
      dialog,
      {{-1, "Static", "", SS_ICON | kVisible, {11, 17, 20, 20}},
       {-1, "Static", "Quintrel V1.35, 2003-X-14", SS_LEFT | SS_NOPREFIX | kVisible, {40, 10, 119, 8}},
       {-1, "Static", notice.c_str(), SS_LEFT | kVisible, {40, 25, 119, 8}},
       {IDOK, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP | kVisible, {178, 7, 50, 14}},
       {IDC_HOME_PAGE_LINK, "Static", home.c_str(), link, {40, 36, 154, 8}},
       {IDC_MAIL_LINK, "Static", mail.c_str(), link, {41, 49, 70, 8}}});
  EXPECT_NE(SendMessageA(GetWindow(dialog, GW_CHILD), STM_GETICON, 0, 0), 0);  // icon 147 was found
}

void CheckStatisticsConsole(HWND dialog) {
  ExpectFrame(dialog, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_THICKFRAME, 0,
              "Statistics Console", 432, 253);
  ExpectControls(dialog, {{-1, "Static", "TODO: layout property page", SS_LEFT | kVisible, {322, 226, 90, 8}},
                          {IDC_CONSOLE_BUTTON, "Button", "Button1", kPush, {264, 226, 50, 14}}});
}

}  // namespace

TEST(DialogTemplates, EachTemplateHoldsItsControlsInTabOrder) {
  EXPECT_EQ(InspectTemplate(IDD_MONITOR_DIALOG, CheckMainWindow), IDCANCEL);
  EXPECT_EQ(InspectTemplate(IDD_CONFIGURE, CheckConfigure), IDCANCEL);
  EXPECT_EQ(InspectTemplate(IDD_ITEM_PARAMS, CheckItemParameters), IDCANCEL);
  EXPECT_EQ(InspectTemplate(IDD_ABOUTBOX, CheckAbout), IDCANCEL);
  EXPECT_EQ(InspectTemplate(IDD_STAT_CONSOLE, CheckStatisticsConsole), IDCANCEL);
}

TEST(DialogTemplates, ConfigureRadiosClearEachOtherAndTheLongPresetListScrolls) {
  EXPECT_EQ(InspectTemplate(IDD_CONFIGURE,
                            [](HWND dialog) {
                              const int radios[] = {IDC_STYLE_NORMAL, IDC_STYLE_MIRROR, IDC_STYLE_OVERLAPPED};
                              for (int chosen : radios) {
                                SendDlgItemMessageA(dialog, chosen, BM_CLICK, 0, 0);
                                for (int radio : radios)
                                  EXPECT_EQ(IsDlgButtonChecked(dialog, radio) == BST_CHECKED,
                                            radio == chosen);
                              }
                              HWND combo = GetDlgItem(dialog, IDC_PRESET_COMBO);
                              for (int i = 0; i < 30; ++i)
                                SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM) "preset");
                              COMBOBOXINFO info = {};
                              info.cbSize = sizeof info;
                              ASSERT_TRUE(GetComboBoxInfo(combo, &info));
                              SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
                              EXPECT_TRUE(GetWindowLongPtrA(info.hwndList, GWL_STYLE) & WS_VSCROLL);
                              SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
                            }),
            IDCANCEL);
}

namespace {

// Room that a control's own drawing takes beside its text.
int DecorationWidth(HWND control) {
  if (ClassOf(control) == "Static") return 0;
  switch (GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
    case BS_AUTORADIOBUTTON:
      return GetSystemMetrics(SM_CXMENUCHECK) + 2;
    case BS_GROUPBOX:
      return 8;
    default:
      return 4;
  }
}

void ExpectTextsFit(HWND dialog) {
  // The widest values the Configure labels show.
  SetDlgItemTextA(dialog, IDC_GRAPH_SCALE_LABEL, "99999  KB/s.");
  SetDlgItemTextA(dialog, IDC_REFRESH_LABEL, "8.1e-002  s");
  SetDlgItemTextA(dialog, IDC_TRAY_SCALE_LABEL, "256 KB/s");
  HDC dc = GetDC(dialog);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const std::string cls = ClassOf(c);
    if ((cls != "Static" && cls != "Button") || IsIcon(c)) continue;
    const std::string text = TextOf(c);
    SIZE size;
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    RECT client;
    GetClientRect(c, &client);
    EXPECT_LE(size.cx + DecorationWidth(c), client.right) << '"' << text << "\" is clipped";
  }
  SelectObject(dc, old);
  ReleaseDC(dialog, dc);
}

}  // namespace

// The About texts are ours and the Configure labels get longer texts at run time. (The fixed labels
// of the Item parameters and Statistics Console templates are a few pixels too narrow when Wine
// draws "MS Sans Serif" with a substitute font.)
TEST(DialogTemplates, TextsFitTheirControlsInTheDialogFont) {
  EXPECT_EQ(InspectTemplate(IDD_CONFIGURE, ExpectTextsFit), IDCANCEL);
  EXPECT_EQ(InspectTemplate(IDD_ABOUTBOX, ExpectTextsFit), IDCANCEL);
  EXPECT_EQ(InspectTemplate(IDD_USAGE, ExpectTextsFit), IDCANCEL);
}
