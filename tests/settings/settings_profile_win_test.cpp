// The settings groups through the real profile file: what one run writes, the next run reads.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "settings/ini_profile_win.h"
#include "settings/settings_store.h"

namespace {

class ProfileSettings : public ::testing::Test {
 protected:
  ProfileSettings() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    file = std::string(temp) + "quintrel-settings-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++serial) + ".ini";
  }
  ~ProfileSettings() override { DeleteFileA(file.c_str()); }

  std::string FileText() const {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void WriteFileText(const std::string& text) const { std::ofstream(file, std::ios::binary) << text; }
  MonitorSettings LoadFromNewProfile() const {
    IniProfile profile(file.c_str());
    MonitorSettings loaded;
    LoadSettings(loaded, profile);
    return loaded;
  }

  std::string file;
};

void ExpectSamePresets(const SpeedPreset (&a)[kPresetCount], const SpeedPreset (&b)[kPresetCount]) {
  for (int i = 0; i < kPresetCount; ++i) {
    EXPECT_STREQ(a[i].name, b[i].name) << i;
    EXPECT_EQ(a[i].min, b[i].min) << i;
    EXPECT_EQ(a[i].max, b[i].max) << i;
    EXPECT_EQ(a[i].def, b[i].def) << i;
    EXPECT_EQ(a[i].bandd, b[i].bandd) << i;
    EXPECT_EQ(a[i].bandu, b[i].bandu) << i;
  }
}

TEST_F(ProfileSettings, FreshProfileGivesExactlyTheDefaults) {
  const MonitorSettings loaded = LoadFromNewProfile();
  EXPECT_EQ(loaded.refreshPeriodMs, 200);
  EXPECT_EQ(loaded.graphStyle, kGraphStyleNormal);
  EXPECT_EQ(loaded.alwaysOnTop, 1);
  EXPECT_EQ(loaded.trayOnly, 0);
  EXPECT_EQ(loaded.trayScaleValue, 16);
  EXPECT_FALSE(loaded.traySeparateScaleEnabled);
  EXPECT_EQ(loaded.autoScale, 0);
  EXPECT_EQ(loaded.selectedInterface, 0);
  EXPECT_EQ(loaded.presetIndex, 0);
  EXPECT_EQ(loaded.kbValue, 10);
  EXPECT_EQ(loaded.columnRange, 50);
  ExpectSamePresets(loaded.presets, kDefaultPresets);
  EXPECT_STREQ(loaded.presets[0].name, "Modem 5KB/s");
  EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << "loading writes nothing";
}

TEST_F(ProfileSettings, ConfigureGroupWrittenByOneRunIsWhatTheNextRunLoads) {
  MonitorSettings changed;
  changed.autoScale = 1;
  changed.kbValue = 12;
  changed.refreshPeriodMs = 750;
  changed.selectedInterface = 3;
  changed.mirValue = 4;
  changed.graphStyle = kGraphStyleOverlapped;
  changed.sendStatSelection = 5;
  changed.receiveStatSelection = 6;
  changed.presetIndex = 2;
  changed.traySeparateScaleEnabled = true;
  changed.trayScaleValue = 200;
  for (int i = 0; i < kPresetCount; ++i) {
    changed.presets[i].min = 10 * i + 1;
    changed.presets[i].max = 1000 * (i + 1);
    changed.presets[i].def = 500 + i;
    changed.presets[i].bandd = 7000 + i;
    changed.presets[i].bandu = 8000 + i;
  }
  changed.startX = -1280;  // the exit group's, not written here
  {
    IniProfile writer(file.c_str());
    WriteConfigureGroup(changed, writer);
  }
  const MonitorSettings loaded = LoadFromNewProfile();
  EXPECT_EQ(loaded.autoScale, 1);
  EXPECT_EQ(loaded.kbValue, 12);
  EXPECT_EQ(loaded.refreshPeriodMs, 750);
  EXPECT_EQ(loaded.selectedInterface, 3);
  EXPECT_EQ(loaded.mirValue, 4);
  EXPECT_EQ(loaded.graphStyle, kGraphStyleOverlapped);
  EXPECT_EQ(loaded.columnRange, 100);
  EXPECT_EQ(loaded.sendStatSelection, 5);
  EXPECT_EQ(loaded.receiveStatSelection, 6);
  EXPECT_EQ(loaded.presetIndex, 2);
  EXPECT_TRUE(loaded.traySeparateScaleEnabled);
  EXPECT_EQ(loaded.trayScaleValue, 200);
  EXPECT_EQ(loaded.startX, 0);
  for (int i = 0; i < kPresetCount; ++i) {
    EXPECT_EQ(loaded.presets[i].min, 10 * i + 1);
    EXPECT_EQ(loaded.presets[i].bandu, 8000 + i);
    EXPECT_STREQ(loaded.presets[i].name, kDefaultPresets[i].name) << "names are never written";
  }

  // The file keeps the keys in the order they were first written.
  const std::string text = FileText();
  size_t previous = 0;
  for (const char* key :
       {"autoscale=1", "kb=12", "refr=750", "eth=3", "mir=4", "grst=2", "s_sel=5", "r_sel=6", "comb_sel=2",
        "traySeparateScaleEnabled=1", "trayScaleValue=200", "it1min=1", "it1max=1000", "it1def=500",
        "it1bandd=7000", "it1bandu=8000", "it6bandu=8005"}) {
    const size_t at = text.find(std::string("\n") + key);
    ASSERT_NE(at, std::string::npos) << key << "\n" << text;
    EXPECT_GT(at, previous) << key;
    previous = at;
  }
  EXPECT_EQ(text.find("x_pos"), std::string::npos);
  EXPECT_EQ(text.find("it1n"), std::string::npos);
}

// The interface's identity beside its row: what one run stores the next finds, in either build; an
// overlong value names none.
TEST_F(ProfileSettings, TheInterfaceIdentityIsStoredBesideTheRowAndComesBack) {
  MonitorSettings chosen;
  chosen.selectedInterface = 5;
  for (const uint64_t id : {uint64_t(0x0047000001000000u), kAllLinksInterfaceId, uint64_t(0)}) {
    chosen.interfaceId = id;
    IniProfile writer(file.c_str());
    WriteConfigureGroup(chosen, writer);
    EXPECT_EQ(LoadFromNewProfile().interfaceId, id) << FileText();
  }
  chosen.interfaceId = 0x0047000001000000u;
  IniProfile writer(file.c_str());
  WriteConfigureGroup(chosen, writer);
  EXPECT_NE(FileText().find("\r\nethid=0047000001000000\r\n"), std::string::npos) << FileText();
  WriteFileText("[Last Settings]\r\neth=2\r\nethid=" + std::string(300, '7') + "\r\n");
  EXPECT_EQ(LoadFromNewProfile().interfaceId, 0u);
}

TEST_F(ProfileSettings, AnyNonZeroTrayFlagReadsTrueAndIsWrittenBackAsOne) {
  WriteFileText("[Last Settings]\r\ntraySeparateScaleEnabled=7\r\n");
  const MonitorSettings loaded = LoadFromNewProfile();
  EXPECT_TRUE(loaded.traySeparateScaleEnabled);
  IniProfile writer(file.c_str());
  WriteConfigureGroup(loaded, writer);
  EXPECT_NE(FileText().find("traySeparateScaleEnabled=1\r\n"), std::string::npos) << FileText();
}

}  // namespace
