// The settings load sequence, the two save groups, their key order, defaults and damaged values.
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/memory_profile.h"

namespace {

using Keys = std::vector<std::string>;

const Keys kScalarLoadOrder = {"kb",
                               "refr",
                               "eth",
                               "mir",
                               "grst",
                               "x_pos",
                               "y_pos",
                               "s_sel",
                               "r_sel",
                               "ontop",
                               "minm",
                               "comb_sel",
                               "autoscale",
                               "traySeparateScaleEnabled",
                               "trayScaleValue",
                               "allow",
                               "allowgb",
                               "allowday",
                               "allowseen",
                               "allowpct",
                               "pxpos",
                               "tbar",
                               "tbarall"};

Keys PresetNumberKeys() {
  Keys keys;
  for (int k = 1; k <= 6; ++k)
    for (const char* suffix : {"min", "max", "def", "bandd", "bandu"})
      keys.push_back("it" + std::to_string(k) + suffix);
  return keys;
}

MonitorSettings Loaded(MemoryProfile& profile) {
  MonitorSettings settings;
  settings.refreshPeriodMs = 7;  // stale values must not survive a load
  settings.presets[2].def = 7;
  LoadSettings(settings, profile);
  return settings;
}

void ExpectPresetsEqual(const SpeedPreset (&a)[kPresetCount], const SpeedPreset (&b)[kPresetCount]) {
  for (int i = 0; i < kPresetCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_STREQ(a[i].name, b[i].name);
    EXPECT_EQ(a[i].min, b[i].min);
    EXPECT_EQ(a[i].max, b[i].max);
    EXPECT_EQ(a[i].def, b[i].def);
    EXPECT_EQ(a[i].bandd, b[i].bandd);
    EXPECT_EQ(a[i].bandu, b[i].bandu);
  }
}

TEST(SettingsLoad, EmptyProfileGivesTheFirstStartDefaults) {
  MemoryProfile profile;
  const MonitorSettings s = Loaded(profile);
  EXPECT_EQ(s.kbValue, 10);
  EXPECT_EQ(s.refreshPeriodMs, 200);
  EXPECT_EQ(s.selectedInterface, 0);
  EXPECT_EQ(s.mirValue, 0);
  EXPECT_EQ(s.graphStyle, kGraphStyleNormal);
  EXPECT_EQ(s.startX, 0);
  EXPECT_EQ(s.startY, 0);
  EXPECT_EQ(s.sendStatSelection, 0);
  EXPECT_EQ(s.receiveStatSelection, 0);
  EXPECT_EQ(s.alwaysOnTop, 1);
  EXPECT_EQ(s.trayOnly, 0);
  EXPECT_EQ(s.presetIndex, 0);
  EXPECT_EQ(s.autoScale, 0);
  EXPECT_FALSE(s.traySeparateScaleEnabled);
  EXPECT_EQ(s.trayScaleValue, 16);
  EXPECT_EQ(s.graphColumns, 160);
  EXPECT_EQ(s.graphHeight, 100);
  EXPECT_EQ(s.columnRange, 50);
  ExpectPresetsEqual(s.presets, kDefaultPresets);
  EXPECT_STREQ(s.presets[0].name, "Modem 5KB/s");
  EXPECT_EQ(s.presets[5].def, 2500);
}

TEST(SettingsLoad, ReadsEveryKeyInOrderWithItsDefault) {
  MemoryProfile profile;
  Loaded(profile);

  std::vector<ProfileAccess> expected;
  const int32_t scalarDefaults[] = {10, 200, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 16, 0, 1, 1, 0, 0, 0, 0, 0};
  for (size_t i = 0; i < kScalarLoadOrder.size(); ++i)
    expected.push_back({ProfileAccess::ReadInt, kScalarLoadOrder[i], scalarDefaults[i]});
  expected.push_back({ProfileAccess::ReadText, "ethid", 0});
  for (int k = 1; k <= 6; ++k) {
    const SpeedPreset& p = kDefaultPresets[k - 1];
    const std::string prefix = "it" + std::to_string(k);
    expected.push_back({ProfileAccess::ReadSystemString, prefix + "n", 0});
    expected.push_back({ProfileAccess::ReadInt, prefix + "min", p.min});
    expected.push_back({ProfileAccess::ReadInt, prefix + "max", p.max});
    expected.push_back({ProfileAccess::ReadInt, prefix + "def", p.def});
    expected.push_back({ProfileAccess::ReadInt, prefix + "bandd", p.bandd});
    expected.push_back({ProfileAccess::ReadInt, prefix + "bandu", p.bandu});
  }

  ASSERT_EQ(profile.accesses.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].key);
    EXPECT_EQ(profile.accesses[i].kind, expected[i].kind);
    EXPECT_EQ(profile.accesses[i].key, expected[i].key);
    if (expected[i].kind == ProfileAccess::ReadInt) {
      EXPECT_EQ(profile.accesses[i].value, expected[i].value);
    }
  }
}

TEST(SettingsLoad, StoredValuesReachTheirMembers) {
  MemoryProfile profile;
  const Keys keys = kScalarLoadOrder;
  for (size_t i = 0; i < keys.size(); ++i) profile.ints[keys[i]] = int32_t(i) + 1;
  profile.ints["grst"] = 2;
  profile.ints["refr"] = 5000;
  profile.ints["it4def"] = 123;
  profile.ints["it6bandu"] = 77;
  profile.systemStrings["it2n"] = "My line";
  profile.systemStrings["it3n"] = std::string(80, 'x');

  const MonitorSettings s = Loaded(profile);
  EXPECT_EQ(s.kbValue, 1);
  EXPECT_EQ(s.refreshPeriodMs, 5000);
  EXPECT_EQ(s.selectedInterface, 3);
  EXPECT_EQ(s.mirValue, 4);
  EXPECT_EQ(s.graphStyle, 2);
  EXPECT_EQ(s.startX, 6);
  EXPECT_EQ(s.startY, 7);
  EXPECT_EQ(s.sendStatSelection, 8);
  EXPECT_EQ(s.receiveStatSelection, 9);
  EXPECT_EQ(s.alwaysOnTop, 10);
  EXPECT_EQ(s.trayOnly, 11);
  EXPECT_EQ(s.presetIndex, 12);
  EXPECT_EQ(s.autoScale, 13);
  EXPECT_TRUE(s.traySeparateScaleEnabled);
  EXPECT_EQ(s.trayScaleValue, 15);
  EXPECT_EQ(s.presets[3].def, 123);
  EXPECT_EQ(s.presets[5].bandu, 77);
  EXPECT_EQ(s.presets[3].min, 10);
  EXPECT_STREQ(s.presets[1].name, "My line");
  EXPECT_EQ(strlen(s.presets[2].name), 49u);
  EXPECT_STREQ(s.presets[0].name, "Modem 5KB/s");
}

TEST(SettingsLoad, OverlappedStyleUsesTheWholeGraphHeight) {
  for (auto [style, range] : {std::pair{0, 50}, {1, 50}, {2, 100}}) {
    MemoryProfile profile;
    profile.ints["grst"] = style;
    EXPECT_EQ(Loaded(profile).columnRange, range) << style;
  }
}

TEST(SettingsLoad, DamagedValuesBecomeSafeDefaults) {
  for (int32_t refresh : {0, -5, 10001, INT32_MIN, INT32_MAX}) {
    MemoryProfile profile;
    profile.ints["refr"] = refresh;
    EXPECT_EQ(Loaded(profile).refreshPeriodMs, 200) << refresh;
  }
  for (int32_t refresh : {1, 10000}) {
    MemoryProfile profile;
    profile.ints["refr"] = refresh;
    EXPECT_EQ(Loaded(profile).refreshPeriodMs, refresh);
  }
  for (int32_t style : {-1, 3, 1000}) {
    MemoryProfile profile;
    profile.ints["grst"] = style;
    const MonitorSettings s = Loaded(profile);
    EXPECT_EQ(s.graphStyle, 1) << style;
    EXPECT_EQ(s.columnRange, 50);
  }
  // Selections and the preset index are kept; their users check the range.
  MemoryProfile profile;
  profile.ints["r_sel"] = 9;
  profile.ints["s_sel"] = -3;
  profile.ints["comb_sel"] = 17;
  const MonitorSettings s = Loaded(profile);
  EXPECT_EQ(s.receiveStatSelection, 9);
  EXPECT_EQ(s.sendStatSelection, -3);
  EXPECT_EQ(s.presetIndex, 17);
  EXPECT_EQ(ValidPresetIndex(s.presetIndex), 0);
}

TEST(SettingsSave, ConfigureGroupWritesItsKeysInOrderAndNoNames) {
  MemoryProfile profile;
  MonitorSettings s;
  s.autoScale = 1;
  s.kbValue = 11;
  s.refreshPeriodMs = 300;
  s.selectedInterface = 2;
  s.mirValue = 5;
  s.graphStyle = 0;
  s.sendStatSelection = 4;
  s.receiveStatSelection = 6;
  s.presetIndex = 3;
  s.traySeparateScaleEnabled = true;
  s.trayScaleValue = 200;
  s.presets[5].bandu = 9999;
  WriteConfigureGroup(s, profile);

  Keys expected = {"autoscale",     "kb",    "refr",  "eth",      "mir",
                   "grst",          "s_sel", "r_sel", "comb_sel", "traySeparateScaleEnabled",
                   "trayScaleValue"};
  for (const std::string& key : PresetNumberKeys()) expected.push_back(key);
  EXPECT_EQ(profile.Keys(ProfileAccess::WriteInt), expected);
  EXPECT_EQ(profile.accesses.size(), expected.size());  // nothing read, no name written, no identity

  const std::vector<int32_t> scalarValues = {1, 11, 300, 2, 5, 0, 4, 6, 3, 1, 200};
  for (size_t i = 0; i < scalarValues.size(); ++i) EXPECT_EQ(profile.accesses[i].value, scalarValues[i]) << i;
  EXPECT_EQ(profile.ints["it1min"], 1);
  EXPECT_EQ(profile.ints["it6bandu"], 9999);
}

TEST(SettingsSave, NonZeroTrayFlagReadsTrueAndIsWrittenAsOne) {
  MemoryProfile profile;
  profile.ints["traySeparateScaleEnabled"] = 7;
  const MonitorSettings s = Loaded(profile);
  EXPECT_TRUE(s.traySeparateScaleEnabled);
  WriteConfigureGroup(s, profile);
  EXPECT_EQ(profile.ints["traySeparateScaleEnabled"], 1);

  MonitorSettings off;
  WriteConfigureGroup(off, profile);
  EXPECT_EQ(profile.ints["traySeparateScaleEnabled"], 0);
}

TEST(SettingsSave, ExitGroupWritesTheOriginOnlyWhenKnown) {
  MonitorSettings s;
  s.startX = 1;  // the stored start position is not what the exit group saves
  s.sendStatSelection = 2;
  s.receiveStatSelection = 3;
  s.alwaysOnTop = 0;
  s.trayOnly = 1;

  MemoryProfile known;
  WriteExitGroup(s, WindowOrigin{true, -40, 700}, known);
  EXPECT_EQ(known.Keys(ProfileAccess::WriteInt),
            (Keys{"x_pos", "y_pos", "pxpos", "s_sel", "r_sel", "ontop", "minm"}));
  std::vector<int32_t> values;
  for (const ProfileAccess& a : known.accesses) values.push_back(a.value);
  EXPECT_EQ(values, (std::vector<int32_t>{-40, 700, 1, 2, 3, 0, 1}));

  MemoryProfile unknown;
  unknown.ints["x_pos"] = 55;
  WriteExitGroup(s, WindowOrigin{false, 0, 0}, unknown);
  EXPECT_EQ(unknown.Keys(ProfileAccess::WriteInt), (Keys{"s_sel", "r_sel", "ontop", "minm"}));
  EXPECT_EQ(unknown.ints["x_pos"], 55);
}

TEST(SettingsSave, EditedPresetNumbersSurviveARestartButNamesDoNot) {
  MemoryProfile profile;
  MonitorSettings before = Loaded(profile);
  for (int i = 0; i < kPresetCount; ++i) {
    before.presets[i].min = 100 + i;
    before.presets[i].max = 200 + i;
    before.presets[i].def = 300 + i;
    before.presets[i].bandd = 400 + i;
    before.presets[i].bandu = 500 + i;
  }
  SetPresetName(before.presets[4], "Renamed");
  WriteConfigureGroup(before, profile);

  const MonitorSettings after = Loaded(profile);
  for (int i = 0; i < kPresetCount; ++i) {
    EXPECT_EQ(after.presets[i].min, 100 + i);
    EXPECT_EQ(after.presets[i].max, 200 + i);
    EXPECT_EQ(after.presets[i].def, 300 + i);
    EXPECT_EQ(after.presets[i].bandd, 400 + i);
    EXPECT_EQ(after.presets[i].bandu, 500 + i);
  }
  EXPECT_STREQ(after.presets[4].name, "Other Med. Speed");
}

TEST(SettingsSave, AllowanceGroupWritesItsKeysAndReadsThemBackWithinRange) {
  MonitorSettings settings;
  settings.allowanceAmount = 30;
  settings.allowanceInGigabytes = 0;
  settings.allowanceStartDay = 28;
  settings.allowanceNoticePeriod = 20261128;
  settings.allowanceNoticePercent = 80;
  MemoryProfile profile;
  WriteAllowanceGroup(settings, profile);
  Keys written;
  for (const ProfileAccess& access : profile.accesses) written.push_back(access.key);
  EXPECT_EQ(written, (Keys{"allow", "allowgb", "allowday", "allowseen", "allowpct"}));
  const MonitorSettings back = Loaded(profile);
  EXPECT_EQ(back.allowanceAmount, 30);
  EXPECT_EQ(back.allowanceInGigabytes, 0);
  EXPECT_EQ(back.allowanceStartDay, 28);
  EXPECT_EQ(back.allowanceNoticePeriod, 20261128);
  EXPECT_EQ(back.allowanceNoticePercent, 80);

  MemoryProfile damaged;
  damaged.ints["allow"] = -5;
  damaged.ints["allowday"] = 29;
  damaged.ints["allowgb"] = 2;
  const MonitorSettings safe = Loaded(damaged);
  EXPECT_EQ(safe.allowanceAmount, 0);
  EXPECT_EQ(safe.allowanceStartDay, 1);
  EXPECT_EQ(safe.allowanceInGigabytes, 1);
}

// "ethid" names the interface by identity beside its row in "eth"; damage names none and leaves
// the row as an older version wrote it.
TEST(SettingsLoad, TheInterfaceIdentityIsALuidInHexOrAllAndAnythingElseNamesNone) {
  const std::pair<const char*, uint64_t> cases[] = {
      {"00470000ab000000", 0x00470000AB000000u}, {"all", kAllLinksInterfaceId}, {"", 0}, {"ALL", 0},
      {"6000001000000", 0}, {"0006000001000x00", 0}, {"FFFFFFFFFFFFFFFF", 0},
  };
  for (const auto& c : cases) {
    MemoryProfile profile;
    profile.ints["eth"] = 4;
    profile.texts["ethid"] = c.first;
    const MonitorSettings s = Loaded(profile);
    EXPECT_EQ(s.interfaceId, c.second) << '"' << c.first << '"';
    EXPECT_EQ(s.selectedInterface, 4) << '"' << c.first << '"';
  }
  MemoryProfile identityOnly, damagedOnly;
  identityOnly.texts["ethid"] = "all";
  damagedOnly.texts["ethid"] = "rubbish";
  EXPECT_TRUE(Loaded(identityOnly).interfaceStored) << "an identity alone names an interface";
  EXPECT_FALSE(Loaded(damagedOnly).interfaceStored);
}

TEST(SettingsKeys, DeviceSpeedIndexKeyEndsInTheDecimalIndex) {
  char key[32];
  FormatDeviceSpeedIndexKey(0, key);
  EXPECT_STREQ(key, "DeviceSpeedIndex0");
  FormatDeviceSpeedIndexKey(9, key);
  EXPECT_STREQ(key, "DeviceSpeedIndex9");
  FormatDeviceSpeedIndexKey(INT32_MIN, key);
  EXPECT_STREQ(key, "DeviceSpeedIndex-2147483648");
}

}  // namespace
