// Moves the settings between MonitorSettings and the profile: every key, its default and its order.
#include "settings/settings_store.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace {

// One integer of the application profile, read with the member's default value as its default.
// A stored value outside lo..hi reads as the default; the flag member stores any non-zero value
// as true and is written as 0 or 1.
struct ScalarSetting {
  const char* key;
  int32_t MonitorSettings::*number;
  bool MonitorSettings::*flag;
  int32_t lo;
  int32_t hi;
};

constexpr int32_t kLowest = INT32_MIN;
constexpr int32_t kHighest = INT32_MAX;

// In the order the load sequence reads them.
constexpr ScalarSetting kScalarSettings[] = {
    {"kb", &MonitorSettings::kbValue, nullptr, kLowest, kHighest},
    {"refr", &MonitorSettings::refreshPeriodMs, nullptr, 1, 10000},
    {"eth", &MonitorSettings::selectedInterface, nullptr, kLowest, kHighest},
    {"mir", &MonitorSettings::mirValue, nullptr, kLowest, kHighest},
    {"grst", &MonitorSettings::graphStyle, nullptr, kGraphStyleMirror, kGraphStyleOverlapped},
    {"x_pos", &MonitorSettings::startX, nullptr, kLowest, kHighest},
    {"y_pos", &MonitorSettings::startY, nullptr, kLowest, kHighest},
    {"s_sel", &MonitorSettings::sendStatSelection, nullptr, kLowest, kHighest},
    {"r_sel", &MonitorSettings::receiveStatSelection, nullptr, kLowest, kHighest},
    {"ontop", &MonitorSettings::alwaysOnTop, nullptr, kLowest, kHighest},
    {"minm", &MonitorSettings::trayOnly, nullptr, kLowest, kHighest},
    {"comb_sel", &MonitorSettings::presetIndex, nullptr, kLowest, kHighest},
    {"autoscale", &MonitorSettings::autoScale, nullptr, kLowest, kHighest},
    {"traySeparateScaleEnabled", nullptr, &MonitorSettings::traySeparateScaleEnabled, kLowest, kHighest},
    {"trayScaleValue", &MonitorSettings::trayScaleValue, nullptr, kLowest, kHighest},
    {"allow", &MonitorSettings::allowanceAmount, nullptr, 0, 999999},
    {"allowgb", &MonitorSettings::allowanceInGigabytes, nullptr, 0, 1},
    {"allowday", &MonitorSettings::allowanceStartDay, nullptr, 1, 28},
    {"allowseen", &MonitorSettings::allowanceNoticePeriod, nullptr, 0, 99991231},
    {"allowpct", &MonitorSettings::allowanceNoticePercent, nullptr, 0, 100},
    {"pxpos", &MonitorSettings::placeInPixels, nullptr, 0, 1},
    {"tbar", &MonitorSettings::taskbarReadout, nullptr, 0, 1},
    {"tbarall", &MonitorSettings::everyTaskbar, nullptr, 0, 1},
};
constexpr int kScalarCount = int(sizeof kScalarSettings / sizeof kScalarSettings[0]);

constexpr bool SameKey(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) ++a, ++b;
  return *a == *b;
}

constexpr int SettingIndex(const char* key) {
  for (int i = 0; i < kScalarCount; ++i)
    if (SameKey(kScalarSettings[i].key, key)) return i;
  return -1;
}

constexpr int kConfigureGroup[] = {
    SettingIndex("autoscale"),
    SettingIndex("kb"),
    SettingIndex("refr"),
    SettingIndex("eth"),
    SettingIndex("mir"),
    SettingIndex("grst"),
    SettingIndex("s_sel"),
    SettingIndex("r_sel"),
    SettingIndex("comb_sel"),
    SettingIndex("traySeparateScaleEnabled"),
    SettingIndex("trayScaleValue"),
};
// The exit group writes the window's origin first, in the screen's pixels ("pxpos"), then these.
constexpr int kExitGroupAfterOrigin[] = {
    SettingIndex("s_sel"),
    SettingIndex("r_sel"),
    SettingIndex("ontop"),
    SettingIndex("minm"),
};
// The usage dialog writes the allowance; a notice in the tray writes what it announced.
constexpr int kAllowanceGroup[] = {
    SettingIndex("allow"),     SettingIndex("allowgb"),  SettingIndex("allowday"),
    SettingIndex("allowseen"), SettingIndex("allowpct"),
};

constexpr bool AllKnown(const int* indexes, int count) {
  for (int i = 0; i < count; ++i)
    if (indexes[i] < 0) return false;
  return true;
}
// The popup menu's taskbar commands write their flags at once.
constexpr int kTaskbarGroup[] = {SettingIndex("tbar"), SettingIndex("tbarall")};

static_assert(AllKnown(kTaskbarGroup, int(sizeof kTaskbarGroup / sizeof(int))), "unknown taskbar key");
static_assert(AllKnown(kConfigureGroup, int(sizeof kConfigureGroup / sizeof(int))), "unknown Configure key");
static_assert(AllKnown(kExitGroupAfterOrigin, int(sizeof kExitGroupAfterOrigin / sizeof(int))),
              "unknown exit key");
static_assert(AllKnown(kAllowanceGroup, int(sizeof kAllowanceGroup / sizeof(int))), "unknown allowance key");

// The preset numbers follow "it" and the preset's number 1..6, in this order.
struct PresetNumber {
  const char* suffix;
  int32_t SpeedPreset::*field;
};
constexpr PresetNumber kPresetNumbers[] = {
    {"min", &SpeedPreset::min},     {"max", &SpeedPreset::max},     {"def", &SpeedPreset::def},
    {"bandd", &SpeedPreset::bandd}, {"bandu", &SpeedPreset::bandu},
};

using PresetKey = char[16];

// The chosen interface's identity, beside "eth" (still the row, for older versions): the LUID as 16
// hexadecimal digits, or "all" for all links together.
constexpr const char* kInterfaceIdKey = "ethid";
constexpr const char* kAllLinksText = "all";
constexpr size_t kLuidDigits = 16;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Anything but "all" or the 16 hexadecimal digits of a LUID is damage, and names none.
uint64_t ParseInterfaceId(const char* text) {
  if (strcmp(text, kAllLinksText) == 0) return kAllLinksInterfaceId;
  if (strlen(text) != kLuidDigits) return 0;
  uint64_t luid = 0;
  for (size_t i = 0; i < kLuidDigits; ++i) {
    const int digit = HexDigit(text[i]);
    if (digit < 0) return 0;
    luid = luid << 4 | uint64_t(digit);
  }
  return luid != kAllLinksInterfaceId ? luid : 0;
}

void ReadInterfaceId(MonitorSettings& settings, IProfile& profile) {
  char text[32] = {};
  settings.interfaceId = profile.ReadText(kInterfaceIdKey, text, sizeof text) ? ParseInterfaceId(text) : 0;
}

// A profile that never held an identity gets none, so that it stays as older versions wrote it; one
// that did is emptied, so that it never names another interface than "eth".
void WriteInterfaceId(const MonitorSettings& settings, IProfile& profile) {
  if (settings.interfaceId == 0 && !profile.Holds(kInterfaceIdKey)) return;
  char text[kLuidDigits + 1] = {};
  if (settings.interfaceId == kAllLinksInterfaceId)
    snprintf(text, sizeof text, "%s", kAllLinksText);
  else if (settings.interfaceId != 0)
    snprintf(text, sizeof text, "%016llX", static_cast<unsigned long long>(settings.interfaceId));
  profile.WriteText(kInterfaceIdKey, text);
}

void FormatPresetKey(int presetIndex, const char* suffix, PresetKey& key) {
  snprintf(key, sizeof key, "it%d%s", presetIndex + 1, suffix);
}

void ReadScalar(const ScalarSetting& setting, MonitorSettings& settings, IProfile& profile) {
  const int32_t defaultValue =
      setting.flag != nullptr ? (settings.*setting.flag ? 1 : 0) : settings.*setting.number;
  int32_t value = profile.ReadInt(setting.key, defaultValue);
  if (value < setting.lo || value > setting.hi) value = defaultValue;
  if (setting.flag != nullptr)
    settings.*setting.flag = value != 0;
  else
    settings.*setting.number = value;
}

void WriteScalar(const ScalarSetting& setting, const MonitorSettings& settings, IProfile& profile) {
  const int32_t value = setting.flag != nullptr ? (settings.*setting.flag ? 1 : 0) : settings.*setting.number;
  profile.WriteInt(setting.key, value);
}

void WritePresetNumbers(const SpeedPreset (&presets)[kPresetCount], IProfile& profile) {
  PresetKey key;
  for (int i = 0; i < kPresetCount; ++i) {
    for (const PresetNumber& number : kPresetNumbers) {
      FormatPresetKey(i, number.suffix, key);
      profile.WriteInt(key, presets[i].*number.field);
    }
  }
}

}  // namespace

void LoadSettings(MonitorSettings& settings, IProfile& profile) {
  settings.ResetToDefaults();
  for (const ScalarSetting& setting : kScalarSettings) ReadScalar(setting, settings, profile);
  ReadInterfaceId(settings, profile);
  settings.interfaceStored = profile.Holds("eth") || settings.interfaceId != 0;
  LoadPresets(settings.presets, profile);
  settings.columnRange = ColumnRangeForStyle(settings.graphStyle, settings.graphHeight);
}

void LoadPresets(SpeedPreset (&presets)[kPresetCount], IProfile& profile) {
  PresetKey key;
  for (int i = 0; i < kPresetCount; ++i) {
    const SpeedPreset& defaults = kDefaultPresets[i];
    SpeedPreset& preset = presets[i];
    FormatPresetKey(i, "n", key);
    char name[sizeof preset.name] = {};
    profile.ReadSystemString(key, defaults.name, name, sizeof name);
    name[sizeof name - 1] = '\0';
    SetPresetName(preset, name);
    for (const PresetNumber& number : kPresetNumbers) {
      FormatPresetKey(i, number.suffix, key);
      preset.*number.field = profile.ReadInt(key, defaults.*number.field);
    }
  }
}

void WriteConfigureGroup(const MonitorSettings& settings, IProfile& profile) {
  for (int index : kConfigureGroup) WriteScalar(kScalarSettings[index], settings, profile);
  WriteInterfaceId(settings, profile);
  WritePresetNumbers(settings.presets, profile);
}

void WriteExitGroup(const MonitorSettings& settings, WindowOrigin origin, IProfile& profile) {
  if (origin.known) {
    profile.WriteInt("x_pos", origin.left);
    profile.WriteInt("y_pos", origin.top);
    profile.WriteInt("pxpos", 1);
  }
  for (int index : kExitGroupAfterOrigin) WriteScalar(kScalarSettings[index], settings, profile);
}

void FormatDeviceSpeedIndexKey(int32_t interfaceIndex, char (&key)[32]) {
  snprintf(key, sizeof key, "%s%d", "DeviceSpeedIndex", int(interfaceIndex));
}

void WriteTaskbarGroup(const MonitorSettings& settings, IProfile& profile) {
  for (int index : kTaskbarGroup) WriteScalar(kScalarSettings[index], settings, profile);
}

void WriteAllowanceGroup(const MonitorSettings& settings, IProfile& profile) {
  for (int index : kAllowanceGroup) WriteScalar(kScalarSettings[index], settings, profile);
}
