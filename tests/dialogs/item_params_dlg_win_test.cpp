// The preset editor opened from the Configure dialog's "Edit" button, typed into and answered.
#include "dialogs/item_params_dlg_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/configure_dlg_win.h"
#include "support/modal_driver_win.h"
#include "support/test_meter.h"
#include "fw/app_win.h"
#include "resource.h"

namespace {

constexpr const char* kEditorCaption = "Item parameters";

class PresetEditor : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitControlClasses(); }

  // Opens Configure, then the editor on the shown preset, runs the editor steps, closes Configure.
  void EditFromConfigure(StartedMeter& meter, ModalDriver& driver,
                         const std::function<void(ModalDriver&)>& editorSteps) {
    driver.On("Configure", [](HWND d) { PostClick(d, IDC_EDIT_PRESET); });
    editorSteps(driver);
    driver.On("Configure", [&](HWND d) {
      configureCombo.clear();
      for (int i = 0; i < 6; ++i) {
        char text[64] = {};
        SendDlgItemMessageA(d, IDC_PRESET_COMBO, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
        configureCombo.push_back(text);
      }
      configureSelection = int(SendDlgItemMessageA(d, IDC_PRESET_COMBO, CB_GETCURSEL, 0, 0));
      PostClick(d, IDOK);
    });
    driver.Run([&] { RunConfigure(meter.configure, nullptr); });
    EXPECT_EQ(driver.failure, "");
  }

  std::vector<std::string> configureCombo;
  int configureSelection = -1;
};

TEST_F(PresetEditor, ShowsThePresetWithTheNameFocusedAndCancelChangesNothing) {
  StartedMeter meter(1);
  ModalDriver driver;
  EditFromConfigure(meter, driver, [](ModalDriver& d) {
    d.On(kEditorCaption, [](HWND e) {
      EXPECT_EQ(ControlText(e, IDC_NAME_EDIT), "Modem 5KB/s");
      EXPECT_EQ(ControlText(e, IDC_MIN_EDIT), "1");
      EXPECT_EQ(ControlText(e, IDC_MAX_EDIT), "6");
      EXPECT_EQ(ControlText(e, IDC_DEF_EDIT), "4");
      EXPECT_EQ(ControlText(e, IDC_BANDD_EDIT), "5");
      EXPECT_EQ(ControlText(e, IDC_BANDU_EDIT), "5");
      EXPECT_EQ(GetFocus(), GetDlgItem(e, IDC_NAME_EDIT));
      TypeText(e, IDC_NAME_EDIT, "Changed");
      TypeText(e, IDC_MAX_EDIT, "77");
      PostClick(e, IDCANCEL);
    });
    d.On("Configure", [](HWND c) { PostClick(c, IDC_EDIT_PRESET); });
    d.On(kEditorCaption, [](HWND e) {
      TypeText(e, IDC_BANDU_EDIT, "9");
      PostEscape(e);
    });
  });
  EXPECT_EQ(std::string(meter.settings.presets[0].name), "Modem 5KB/s");
  EXPECT_EQ(meter.settings.presets[0].max, 6);
  EXPECT_EQ(meter.settings.presets[0].bandu, 5);
  ASSERT_EQ(configureCombo.size(), 6u);
  EXPECT_EQ(configureCombo[0], "Modem 5KB/s");
}

TEST_F(PresetEditor, RefusesTheFirstScaleFieldThatIsNotAllDigitsThenAcceptsAndCopiesBack) {
  StartedMeter meter(2);
  meter.StorePresetIndex(0, 3);
  ModalDriver driver;
  EditFromConfigure(meter, driver, [](ModalDriver& d) {
    d.On(kEditorCaption, [](HWND e) {
      TypeText(e, IDC_MIN_EDIT, "12a");
      TypeText(e, IDC_MAX_EDIT, "x");
      PostClick(e, IDOK);
    });
    d.AnswerMessageBox();
    d.On(kEditorCaption, [](HWND e) {
      EXPECT_EQ(ControlText(e, IDC_MIN_EDIT), "12a");  // the text stays as typed
      TypeText(e, IDC_MIN_EDIT, "20");
      PostClick(e, IDOK);
    });
    d.AnswerMessageBox();
    d.On(kEditorCaption, [](HWND e) {
      TypeText(e, IDC_MAX_EDIT, "900");
      TypeText(e, IDC_DEF_EDIT, " 50");
      PostClick(e, IDOK);
    });
    d.AnswerMessageBox();
    d.On(kEditorCaption, [](HWND e) {
      TypeText(e, IDC_DEF_EDIT, "123456789012");
      TypeText(e, IDC_BANDD_EDIT, "-5");
      TypeText(e, IDC_BANDU_EDIT, "64kb");
      TypeText(e, IDC_NAME_EDIT, std::string(60, 'N').c_str());
      PostClick(e, IDOK);
    });
  });
  EXPECT_EQ(driver.messages,
            (std::vector<std::string>{"Min. illegal entry!", "Max. illegal entry!", "Def. illegal entry!"}));
  const SpeedPreset& edited = meter.settings.presets[3];
  EXPECT_EQ(std::string(edited.name), std::string(49, 'N'));
  EXPECT_EQ(edited.min, 20);
  EXPECT_EQ(edited.max, 900);
  EXPECT_EQ(edited.def, 123456789);
  EXPECT_EQ(edited.bandd, -5);
  EXPECT_EQ(edited.bandu, 64);
  EXPECT_EQ(std::string(meter.settings.presets[2].name), kDefaultPresets[2].name);
  // The combo shows the new name at once, with the same preset selected.
  ASSERT_EQ(configureCombo.size(), 6u);
  EXPECT_EQ(configureCombo[3], std::string(49, 'N'));
  EXPECT_EQ(configureSelection, 3);
  EXPECT_EQ(meter.profile.ints["it4max"], 900);
}

TEST_F(PresetEditor, EmptyScaleFieldsPassAsZero) {
  StartedMeter meter(1);
  ModalDriver driver;
  EditFromConfigure(meter, driver, [](ModalDriver& d) {
    d.On(kEditorCaption, [](HWND e) {
      TypeText(e, IDC_MIN_EDIT, "");
      TypeText(e, IDC_DEF_EDIT, "");
      PostClick(e, IDOK);
    });
  });
  EXPECT_TRUE(driver.messages.empty());
  EXPECT_EQ(meter.settings.presets[0].min, 0);
  EXPECT_EQ(meter.settings.presets[0].def, 0);
  EXPECT_EQ(meter.settings.presets[0].max, 6);
}

// A stored number longer than nine characters shows in full, while its member, read by the change
// handler that setting the text fires, holds what the first nine characters say; OK copies that.
TEST_F(PresetEditor, StoredNumbersLongerThanNineCharactersKeepOnlyWhatTheirFirstNineSay) {
  struct Field {
    int edit;
    int32_t SpeedPreset::*value;
    int32_t stored;
    const char* shown;
    int32_t kept;
  };
  const Field fields[] = {
      {IDC_MIN_EDIT, &SpeedPreset::min, 1000000001, "1000000001", 100000000},
      {IDC_MAX_EDIT, &SpeedPreset::max, 2147483647, "2147483647", 214748364},
      {IDC_DEF_EDIT, &SpeedPreset::def, 1234567890, "1234567890", 123456789},
      {IDC_BANDD_EDIT, &SpeedPreset::bandd, -1234567890, "-1234567890", -12345678},
      {IDC_BANDU_EDIT, &SpeedPreset::bandu, 123456789, "123456789", 123456789},
  };
  StartedMeter meter(1);
  for (const Field& f : fields) meter.settings.presets[0].*f.value = f.stored;
  ModalDriver driver;
  EditFromConfigure(meter, driver, [&](ModalDriver& d) {
    d.On(kEditorCaption, [&](HWND e) {
      for (const Field& f : fields) EXPECT_EQ(ControlText(e, f.edit), f.shown);
      PostClick(e, IDOK);
    });
  });
  EXPECT_TRUE(driver.messages.empty());
  for (const Field& f : fields) EXPECT_EQ(meter.settings.presets[0].*f.value, f.kept) << f.shown;
}

}  // namespace
