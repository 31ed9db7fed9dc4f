// The Configure dialog run for real under Wine, driven through its controls' own messages.
#include "dialogs/configure_dlg_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/modal_driver_win.h"
#include "support/test_meter.h"
#include "fw/app_win.h"
#include "resource.h"

namespace {

LRESULT Item(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendDlgItemMessageA(dialog, id, message, wParam, lParam);
}

bool IsChecked(HWND dialog, int id) {
  return Item(dialog, id, BM_GETCHECK) == BST_CHECKED;
}
bool IsEnabled(HWND dialog, int id) {
  return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}
int SliderPos(HWND dialog, int id) {
  return int(Item(dialog, id, TBM_GETPOS));
}

// A key on a trackbar: the control moves itself and tells the dialog with WM_HSCROLL.
void PressSliderKey(HWND dialog, int id, UINT key) {
  HWND slider = GetDlgItem(dialog, id);
  SendMessageA(slider, WM_KEYDOWN, key, 0);
  SendMessageA(slider, WM_KEYUP, key, 0);
}

// The thumb put at a position, then the trackbar's end-of-move notification.
void MoveSlider(HWND dialog, int id, int position) {
  HWND slider = GetDlgItem(dialog, id);
  SendMessageA(slider, TBM_SETPOS, TRUE, position);
  SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), LPARAM(slider));
  SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), LPARAM(slider));
}

void PickPreset(HWND dialog, int index) {
  Item(dialog, IDC_PRESET_COMBO, CB_SETCURSEL, WPARAM(index));
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PRESET_COMBO, CBN_SELCHANGE),
               LPARAM(GetDlgItem(dialog, IDC_PRESET_COMBO)));
}

std::string ComboItem(HWND dialog, int index) {
  char text[64] = {};
  Item(dialog, IDC_PRESET_COMBO, CB_GETLBTEXT, WPARAM(index), LPARAM(text));
  return text;
}

// A mouse click on a list item, or below the last item; posted, so the list handles it in its loop.
void PostListClick(HWND dialog, int index) {
  HWND list = GetDlgItem(dialog, IDC_INTERFACE_LIST);
  RECT r = {};
  if (index >= 0) {
    r.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETITEMRECT, WPARAM(index), LPARAM(&r));
  } else {
    GetClientRect(list, &r);
    r.top = r.bottom - 6;
  }
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
}

UINT ListState(HWND dialog, int index) {
  return UINT(
      Item(dialog, IDC_INTERFACE_LIST, LVM_GETITEMSTATE, WPARAM(index), LVIS_SELECTED | LVIS_FOCUSED));
}

// Stands in for the main window: counts the focus moves it is asked for.
int focusMoves = 0;
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NEXTDLGCTL) ++focusMoves;
  return DefWindowProcA(window, message, wParam, lParam);
}

class ConfigureDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitControlClasses(); }
  void SetUp() override {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuintrelTestMain";
    RegisterClassA(&windowClass);
    mainWindow = CreateWindowA("QuintrelTestMain", "main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    focusMoves = 0;
  }
  void TearDown() override { DestroyWindow(mainWindow); }

  void RunWith(StartedMeter& meter, ModalDriver& driver) {
    driver.Run([&] { RunConfigure(meter.configure, mainWindow); });
    EXPECT_EQ(driver.failure, "");
  }

  HWND mainWindow = nullptr;
};

TEST_F(ConfigureDialog, OpensOnTheLiveSettingsAndChangesNothingUntilAControlActs) {
  StartedMeter meter(3);
  meter.StorePresetIndex(1, 3);
  meter.settings.selectedInterface = 1;
  meter.settings.graphStyle = kGraphStyleOverlapped;
  meter.settings.autoScale = 1;
  meter.settings.trayScaleValue = 300;
  ModalDriver driver;
  driver.On("Configure", [&](HWND d) {
    RECT r = {};
    GetWindowRect(d, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 100);
    EXPECT_TRUE(IsChecked(d, IDC_STYLE_OVERLAPPED));
    EXPECT_FALSE(IsChecked(d, IDC_STYLE_NORMAL));
    EXPECT_FALSE(IsChecked(d, IDC_STYLE_MIRROR));
    EXPECT_TRUE(IsChecked(d, IDC_AUTOSCALE_CHECK));

    ASSERT_EQ(Item(d, IDC_PRESET_COMBO, CB_GETCOUNT), 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(ComboItem(d, i), kDefaultPresets[i].name);
    EXPECT_EQ(Item(d, IDC_PRESET_COMBO, CB_GETCURSEL), 3);
    EXPECT_EQ(meter.settings.presetIndex, 3);
    EXPECT_EQ(Item(d, IDC_GRAPH_SCALE_SLIDER, TBM_GETRANGEMIN), 10);
    EXPECT_EQ(Item(d, IDC_GRAPH_SCALE_SLIDER, TBM_GETRANGEMAX), 150);
    EXPECT_EQ(SliderPos(d, IDC_GRAPH_SCALE_SLIDER), 100);
    EXPECT_EQ(ControlText(d, IDC_GRAPH_SCALE_LABEL), "100  KB/s.");

    EXPECT_EQ(SliderPos(d, IDC_REFRESH_SLIDER), 14);
    EXPECT_EQ(ControlText(d, IDC_REFRESH_LABEL), "0.2  s");
    EXPECT_EQ(meter.settings.refreshPeriodMs, 200);
    EXPECT_TRUE(meter.view.restartPeriods.empty());

    // The stored tray scale is brought into the slider's range; the slider is off with its check box.
    EXPECT_FALSE(IsChecked(d, IDC_SEPARATE_SCALE_CHECK));
    EXPECT_FALSE(IsEnabled(d, IDC_TRAY_SLIDER));
    EXPECT_FALSE(IsEnabled(d, IDC_TRAY_SCALE_LABEL));
    EXPECT_EQ(SliderPos(d, IDC_TRAY_SLIDER), 256);
    EXPECT_EQ(meter.settings.trayScaleValue, 256);
    EXPECT_EQ(ControlText(d, IDC_TRAY_SCALE_LABEL), "256 KB/s");

    HWND list = GetDlgItem(d, IDC_INTERFACE_LIST);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);
    char text[64] = {};
    LVITEMA item = {};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, 2, LPARAM(&item));
    EXPECT_STREQ(text, "Wireless adapter");
    EXPECT_EQ(ListState(d, 1), UINT(LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(ListState(d, 0), 0u);
    HIMAGELIST images = HIMAGELIST(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 1);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, IDC_STATISTICS_BUTTON)));
    EXPECT_EQ(meter.StoredDeviceSpeedIndex(1), -1);  // nothing written while opening
    PostClick(d, IDOK);
  });
  RunWith(meter, driver);
  EXPECT_EQ(meter.profile.ints["comb_sel"], 3);
  EXPECT_EQ(meter.profile.ints["refr"], 200);
}

TEST_F(ConfigureDialog, EachTrackbarNotificationChangesItsSettingAtOnce) {
  StartedMeter meter(2);
  ModalDriver driver;
  driver.On("Configure", [&](HWND d) {
    // A key release alone still notifies: the period becomes the square of the unchanged position.
    SendMessageA(GetDlgItem(d, IDC_REFRESH_SLIDER), WM_KEYUP, VK_RIGHT, 0);
    EXPECT_EQ(meter.settings.refreshPeriodMs, 196);
    EXPECT_EQ(meter.view.restartPeriods, std::vector<int32_t>{196});
    EXPECT_EQ(ControlText(d, IDC_REFRESH_LABEL), "0.2  s");
    PressSliderKey(d, IDC_REFRESH_SLIDER, VK_HOME);
    EXPECT_EQ(meter.settings.refreshPeriodMs, 1);
    EXPECT_EQ(ControlText(d, IDC_REFRESH_LABEL), "1.e-003  s");
    EXPECT_EQ(meter.view.restartPeriods.back(), 1);
    MoveSlider(d, IDC_REFRESH_SLIDER, 100);
    EXPECT_EQ(meter.settings.refreshPeriodMs, 10000);
    EXPECT_EQ(ControlText(d, IDC_REFRESH_LABEL), "10  s");
    EXPECT_EQ(meter.view.restartPeriods.back(), 10000);

    // Preset 0, "Modem 5KB/s": range 1 to 6, at 4.
    EXPECT_EQ(ControlText(d, IDC_GRAPH_SCALE_LABEL), "4  KB/s.");
    PressSliderKey(d, IDC_GRAPH_SCALE_SLIDER, VK_END);
    EXPECT_EQ(meter.settings.presets[0].def, 6);
    EXPECT_EQ(ControlText(d, IDC_GRAPH_SCALE_LABEL), "6  KB/s.");
    EXPECT_EQ(SliderPos(d, IDC_GRAPH_SCALE_SLIDER), 6);
    EXPECT_EQ(meter.settings.presets[1].def, kDefaultPresets[1].def);

    SendDlgItemMessageA(d, IDC_SEPARATE_SCALE_CHECK, BM_CLICK, 0, 0);
    EXPECT_TRUE(meter.settings.traySeparateScaleEnabled);
    EXPECT_TRUE(IsEnabled(d, IDC_TRAY_SLIDER));
    EXPECT_TRUE(IsEnabled(d, IDC_TRAY_SCALE_LABEL));
    MoveSlider(d, IDC_TRAY_SLIDER, 100);
    EXPECT_EQ(meter.settings.trayScaleValue, 100);
    EXPECT_EQ(ControlText(d, IDC_TRAY_SCALE_LABEL), "100 KB/s");
    PressSliderKey(d, IDC_TRAY_SLIDER, VK_RIGHT);
    EXPECT_EQ(meter.settings.trayScaleValue, 101);
    SendDlgItemMessageA(d, IDC_SEPARATE_SCALE_CHECK, BM_CLICK, 0, 0);
    EXPECT_FALSE(meter.settings.traySeparateScaleEnabled);
    EXPECT_FALSE(IsEnabled(d, IDC_TRAY_SLIDER));
    EXPECT_FALSE(IsEnabled(d, IDC_TRAY_SCALE_LABEL));
    EXPECT_EQ(meter.view.restartPeriods.size(), 5u);  // every refresh notification, and only those
    PostClick(d, IDOK);
  });
  RunWith(meter, driver);
  EXPECT_EQ(meter.profile.ints["refr"], 10000);
  EXPECT_EQ(meter.profile.ints["it1def"], 6);
  EXPECT_EQ(meter.profile.ints["trayScaleValue"], 101);
  EXPECT_EQ(meter.profile.ints["traySeparateScaleEnabled"], 0);
}

TEST_F(ConfigureDialog, StyleRadiosAndAutoScaleActOnTheModelAndTheSelectedInterface) {
  StartedMeter meter(2);
  meter.settings.selectedInterface = 1;
  ModalDriver driver;
  driver.On("Configure", [&](HWND d) {
    EXPECT_TRUE(IsChecked(d, IDC_STYLE_NORMAL));
    // Each style from the one before it, "Normal" both after "Overlapped" and after "Mirror-like".
    struct Click {
      int radio;
      int32_t style, range;
    };
    const Click clicks[] = {
        {IDC_STYLE_OVERLAPPED, kGraphStyleOverlapped, 100}, {IDC_STYLE_NORMAL, kGraphStyleNormal, 50},
        {IDC_STYLE_OVERLAPPED, kGraphStyleOverlapped, 100}, {IDC_STYLE_MIRROR, kGraphStyleMirror, 50},
        {IDC_STYLE_NORMAL, kGraphStyleNormal, 50},          {IDC_STYLE_MIRROR, kGraphStyleMirror, 50}};
    for (const Click& click : clicks) {
      SendDlgItemMessageA(d, click.radio, BM_CLICK, 0, 0);
      EXPECT_EQ(meter.settings.graphStyle, click.style) << click.radio;
      EXPECT_EQ(meter.settings.columnRange, click.range) << click.radio;
      for (int radio : {IDC_STYLE_NORMAL, IDC_STYLE_MIRROR, IDC_STYLE_OVERLAPPED})
        EXPECT_EQ(IsChecked(d, radio), radio == click.radio) << click.radio << " shows " << radio;
    }

    SendDlgItemMessageA(d, IDC_AUTOSCALE_CHECK, BM_CLICK, 0, 0);
    EXPECT_EQ(meter.settings.autoScale, 1);
    EXPECT_TRUE(meter.model.StatsOf(1)->Figures().autoScale);
    EXPECT_FALSE(meter.model.StatsOf(0)->Figures().autoScale);
    PostClick(d, IDOK);
  });
  RunWith(meter, driver);
  EXPECT_EQ(meter.profile.ints["grst"], 0);
  EXPECT_EQ(meter.profile.ints["autoscale"], 1);
}

TEST_F(ConfigureDialog, PickingAPresetWritesTheInterfacesIndexAndRestartsItsGraph) {
  StartedMeter meter(3);
  meter.settings.selectedInterface = 2;
  meter.model.OnGraphTick();
  ModalDriver driver;
  driver.On("Configure", [&](HWND d) {
    PickPreset(d, 4);
    EXPECT_EQ(meter.settings.presetIndex, 4);
    EXPECT_EQ(meter.model.GetDeviceSpeedIndex(2), 4);
    EXPECT_TRUE(meter.GraphStartsAgain());
    EXPECT_EQ(meter.StoredDeviceSpeedIndex(2), 4);
    EXPECT_EQ(meter.StoredDeviceSpeedIndex(0), -1);
    EXPECT_EQ(Item(d, IDC_GRAPH_SCALE_SLIDER, TBM_GETRANGEMIN), 100);
    EXPECT_EQ(Item(d, IDC_GRAPH_SCALE_SLIDER, TBM_GETRANGEMAX), 600);
    EXPECT_EQ(ControlText(d, IDC_GRAPH_SCALE_LABEL), "300  KB/s.");
    // The graph-scale slider now moves preset 4's full scale.
    PressSliderKey(d, IDC_GRAPH_SCALE_SLIDER, VK_HOME);
    EXPECT_EQ(meter.settings.presets[4].def, 100);
    EXPECT_EQ(meter.settings.presets[0].def, 4);

    // No selection in the list names no preset: the one last chosen stays, and the list shows it.
    Item(d, IDC_PRESET_COMBO, CB_SETCURSEL, WPARAM(-1));
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_PRESET_COMBO, CBN_SELCHANGE),
                 LPARAM(GetDlgItem(d, IDC_PRESET_COMBO)));
    EXPECT_EQ(meter.settings.presetIndex, 4);
    EXPECT_EQ(Item(d, IDC_PRESET_COMBO, CB_GETCURSEL), 4);
    EXPECT_EQ(meter.StoredDeviceSpeedIndex(2), 4);
    PostClick(d, IDOK);
  });
  RunWith(meter, driver);
}

// The combo's edit field takes any text; only a choice in its list picks a preset.
TEST_F(ConfigureDialog, TextTypedIntoThePresetFieldNeverPicksOrEditsAnotherPreset) {
  StartedMeter meter(1);
  meter.StorePresetIndex(0, 3);
  ModalDriver driver;
  driver.On("Configure", [&](HWND d) {
    HWND edit = FindWindowExA(GetDlgItem(d, IDC_PRESET_COMBO), nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (const char* typed : {"Modem 5KB/s", "xyz"}) {
      for (const char* c = typed; *c; ++c) SendMessageA(edit, WM_CHAR, WPARAM(*c), 1);
      PressSliderKey(d, IDC_GRAPH_SCALE_SLIDER, VK_END);
      EXPECT_EQ(meter.settings.presetIndex, 3) << typed;
      EXPECT_EQ(Item(d, IDC_PRESET_COMBO, CB_GETCURSEL), 3) << typed;
      EXPECT_EQ(ControlText(d, IDC_PRESET_COMBO), "ADSL 100KB/s") << typed;
      SendMessageA(edit, EM_SETSEL, 0, -1);
    }
    EXPECT_EQ(meter.settings.presets[3].def, 150);
    EXPECT_EQ(meter.settings.presets[0].def, kDefaultPresets[0].def);
    EXPECT_EQ(meter.StoredDeviceSpeedIndex(0), -1) << "no preset was applied";
    PostClick(d, IDOK);
  });
  RunWith(meter, driver);
  EXPECT_EQ(meter.profile.ints["comb_sel"], 3);
}

TEST_F(ConfigureDialog, ClickingAnInterfaceShowsItsStoredPresetAndRestartsItsGraph) {
  StartedMeter meter(3);
  meter.StorePresetIndex(2, 3);
  meter.settings.selectedInterface = 2;
  meter.model.OnGraphTick();
  meter.settings.selectedInterface = 0;
  ModalDriver driver;
  driver.On("Configure", [&](HWND d) {
    SendDlgItemMessageA(d, IDC_AUTOSCALE_CHECK, BM_SETCHECK, BST_CHECKED, 0);
    PostListClick(d, 2);
  });
  driver.On("Configure", [&](HWND d) {
    EXPECT_EQ(meter.settings.selectedInterface, 2);
    EXPECT_EQ(Item(d, IDC_PRESET_COMBO, CB_GETCURSEL), 3);
    EXPECT_EQ(meter.settings.presetIndex, 3);
    EXPECT_EQ(meter.StoredDeviceSpeedIndex(2), 3);
    EXPECT_TRUE(meter.GraphStartsAgain());
    EXPECT_TRUE(meter.model.StatsOf(2)->Figures().autoScale);
    EXPECT_EQ(meter.settings.autoScale, 1);
    EXPECT_EQ(ControlText(d, IDC_GRAPH_SCALE_LABEL), "100  KB/s.");
    meter.profile.ints.clear();
    PostListClick(d, -1);  // empty space below the items
  });
  driver.On("Configure", [&](HWND d) {
    EXPECT_EQ(meter.settings.selectedInterface, 2);
    PostClick(d, IDOK);
  });
  RunWith(meter, driver);
}

TEST_F(ConfigureDialog, WithoutInterfacesTheControlsChangeOnlyTheSettings) {
  StartedMeter meter(0);
  ModalDriver driver;
  driver.On("Configure", [&](HWND d) {
    EXPECT_EQ(Item(d, IDC_INTERFACE_LIST, LVM_GETITEMCOUNT), 0);
    PickPreset(d, 5);
    EXPECT_EQ(meter.settings.presetIndex, 5);
    SendDlgItemMessageA(d, IDC_AUTOSCALE_CHECK, BM_CLICK, 0, 0);
    EXPECT_EQ(meter.settings.autoScale, 1);
    PostListClick(d, -1);
  });
  driver.On("Configure", [&](HWND d) {
    EXPECT_EQ(meter.settings.selectedInterface, 0);
    PostEscape(d);
  });
  RunWith(meter, driver);
  EXPECT_EQ(meter.profile.ints["comb_sel"], 5);
}

TEST_F(ConfigureDialog, AStoredPresetIndexOutsideTheSixSelectsPresetZero) {
  StartedMeter meter(1);
  meter.StorePresetIndex(0, 9);
  meter.settings.presetIndex = -3;
  ModalDriver driver;
  driver.On("Configure", [&](HWND d) {
    EXPECT_EQ(Item(d, IDC_PRESET_COMBO, CB_GETCURSEL), 0);
    EXPECT_EQ(meter.settings.presetIndex, 0);
    EXPECT_EQ(ControlText(d, IDC_GRAPH_SCALE_LABEL), "4  KB/s.");
    PressSliderKey(d, IDC_GRAPH_SCALE_SLIDER, VK_HOME);
    EXPECT_EQ(meter.settings.presets[0].def, 1);
    PostClick(d, IDOK);
  });
  RunWith(meter, driver);
}

TEST_F(ConfigureDialog, EscapeKeepsEveryChangeAndStillWritesTheWholeConfigureGroup) {
  StartedMeter meter(2);
  ModalDriver driver;
  driver.On("Configure", [&](HWND d) {
    SendMessageA(GetDlgItem(d, IDC_REFRESH_SLIDER), WM_KEYUP, VK_LEFT, 0);
    SendDlgItemMessageA(d, IDC_STYLE_OVERLAPPED, BM_CLICK, 0, 0);
    PostEscape(d);
  });
  RunWith(meter, driver);
  EXPECT_EQ(focusMoves, 2);
  const std::vector<std::string> written = meter.profile.Keys(ProfileAccess::WriteInt);
  std::vector<std::string> expected = {
      "autoscale",     "kb",    "refr",  "eth",      "mir",
      "grst",          "s_sel", "r_sel", "comb_sel", "traySeparateScaleEnabled",
      "trayScaleValue"};
  for (int k = 1; k <= 6; ++k)
    for (const char* field : {"min", "max", "def", "bandd", "bandu"})
      expected.push_back("it" + std::to_string(k) + field);
  EXPECT_EQ(written, expected);
  EXPECT_EQ(meter.profile.ints["refr"], 196);
  EXPECT_EQ(meter.profile.ints["grst"], 2);
}

}  // namespace
