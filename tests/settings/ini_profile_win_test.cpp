// The settings profile as a real INI file on disk: round trips, damaged values, folders, system names.
#include "settings/ini_profile_win.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_directory_win.h"

namespace {

// A fresh folder under the temporary directory, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    path = std::string(temp) + "quintrel-profile-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++serial);
    CreateDirectoryA(path.c_str(), nullptr);
  }
  ~TempFolder() { RemoveTree(path); }
  std::string operator/(const std::string& name) const { return path + "\\" + name; }

  static bool Exists(const std::string& p) {
    return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

 private:
  std::string path;
};

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteWholeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

TEST(IniProfile, LivesInAQuintrelFolderOfTheRoamingApplicationData) {
  char appData[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)));
  IniProfile profile;
  EXPECT_EQ(std::string(profile.Path()), std::string(appData) + "\\Quintrel\\Quintrel.ini");
}

TEST(IniProfile, ReadingCreatesNothingAndTheFirstWriteMakesTheFolder) {
  TempFolder temp;
  const std::string folder = temp / "Quintrel";
  const std::string file = folder + "\\Quintrel.ini";
  IniProfile profile(file.c_str());

  EXPECT_EQ(profile.ReadInt("refr", 200), 200);
  EXPECT_EQ(profile.ReadInt("x_pos", -3), -3);
  EXPECT_FALSE(TempFolder::Exists(folder)) << "a read must not create the folder";

  profile.WriteInt("refr", 350);
  EXPECT_TRUE(TempFolder::Exists(file));
  EXPECT_EQ(IniProfile(file.c_str()).ReadInt("refr", 200), 350);
}

TEST(IniProfile, WritesPlainDecimalLinesThatAnotherProfileReadsBack) {
  TempFolder temp;
  const std::string file = temp / "Quintrel.ini";
  {
    IniProfile writer(file.c_str());
    writer.WriteInt("kb", 10);
    writer.WriteInt("x_pos", -1280);
    writer.WriteInt("it6max", INT32_MAX);
    writer.WriteInt("y_pos", INT32_MIN);
    writer.WriteInt("kb", 11);  // rewritten in place
  }
  const std::string text = ReadWholeFile(file);
  EXPECT_NE(text.find("[Last Settings]"), std::string::npos) << text;
  EXPECT_NE(text.find("kb=11"), std::string::npos) << text;
  EXPECT_EQ(text.find("kb=10"), std::string::npos) << text;
  EXPECT_NE(text.find("x_pos=-1280"), std::string::npos) << text;

  IniProfile reader(file.c_str());
  EXPECT_EQ(reader.ReadInt("kb", 0), 11);
  EXPECT_EQ(reader.ReadInt("x_pos", 0), -1280);
  EXPECT_EQ(reader.ReadInt("it6max", 0), INT32_MAX);
  EXPECT_EQ(reader.ReadInt("y_pos", 0), INT32_MIN);
}

TEST(IniProfile, DamagedValuesReadAsTheDefaultOrClampedToThe32BitRange) {
  TempFolder temp;
  const std::string file = temp / "Quintrel.ini";
  WriteWholeFile(file,
                 "[Last Settings]\r\n"
                 "text=abc\r\n"
                 "trailing=12abc\r\n"
                 "hex=0x10\r\n"
                 "empty=\r\n"
                 "sign=-\r\n"
                 "twosigns=--5\r\n"
                 "blanks=   42   \r\n"
                 "plus=+7\r\n"
                 "negative=-7\r\n"
                 "huge=99999999999\r\n"
                 "wrapsToMinusOne=4294967295\r\n"
                 "hugeNegative=-99999999999\r\n"
                 "justAbove=2147483648\r\n"
                 "long=" +
                     std::string(300, '9') +
                     "\r\n"
                     "leadingZeros=0000000000000000000000000000000000012\r\n");
  IniProfile profile(file.c_str());
  for (const char* key : {"text", "trailing", "hex", "empty", "sign", "twosigns", "long", "absent"})
    EXPECT_EQ(profile.ReadInt(key, 16), 16) << key;
  EXPECT_EQ(profile.ReadInt("blanks", 0), 42);
  EXPECT_EQ(profile.ReadInt("plus", 0), 7);
  EXPECT_EQ(profile.ReadInt("negative", 0), -7);
  EXPECT_EQ(profile.ReadInt("huge", 0), INT32_MAX);
  EXPECT_EQ(profile.ReadInt("wrapsToMinusOne", 0), INT32_MAX);
  EXPECT_EQ(profile.ReadInt("hugeNegative", 0), INT32_MIN);
  EXPECT_EQ(profile.ReadInt("justAbove", 0), INT32_MAX);
  EXPECT_EQ(profile.ReadInt("leadingZeros", 0), 12);
}

TEST(IniProfile, GarbageFileReadsDefaults) {
  TempFolder temp;
  const std::string file = temp / "Quintrel.ini";
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += char((i * 131 + 7) & 0xFF);
  WriteWholeFile(file, junk);
  IniProfile profile(file.c_str());
  EXPECT_EQ(profile.ReadInt("refr", 200), 200);
  EXPECT_EQ(profile.ReadInt("grst", 1), 1);
}

TEST(IniProfile, UnwritableProfileIgnoresWrites) {
  TempFolder temp;
  // The profile's folder is taken by a plain file, so neither folder nor profile can be made.
  const std::string blocker = temp / "Quintrel";
  WriteWholeFile(blocker, "not a folder");
  const std::string file = blocker + "\\Quintrel.ini";
  IniProfile profile(file.c_str());
  profile.WriteInt("refr", 500);
  profile.WriteInt("refr", 600);
  EXPECT_EQ(profile.ReadInt("refr", 200), 200);
  EXPECT_EQ(ReadWholeFile(blocker), "not a folder");

  // A drive that does not exist.
  IniProfile nowhere("Q:\\quintrel-none\\Quintrel.ini");
  nowhere.WriteInt("refr", 500);
  EXPECT_EQ(nowhere.ReadInt("refr", 200), 200);
}

// A key of its own, so that tests reading the real preset names meanwhile are not disturbed.
constexpr const char* kTestKey = "quintrelTestName";

class SystemProfileName : public ::testing::Test {
 protected:
  void TearDown() override { WriteProfileStringA(kProfileSection, kTestKey, nullptr); }
};

TEST_F(SystemProfileName, ComesFromTheSystemProfileOrTheDefaultAndFitsTheBuffer) {
  TempFolder temp;
  IniProfile profile((temp / "Quintrel.ini").c_str());
  char name[50];
  profile.ReadSystemString(kTestKey, "Modem 5KB/s", name, sizeof name);
  EXPECT_STREQ(name, "Modem 5KB/s");

  ASSERT_TRUE(WriteProfileStringA(kProfileSection, kTestKey, "Fibre 100MB/s"));
  profile.ReadSystemString(kTestKey, "Modem 5KB/s", name, sizeof name);
  EXPECT_STREQ(name, "Fibre 100MB/s");

  const std::string longName(80, 'n');
  ASSERT_TRUE(WriteProfileStringA(kProfileSection, kTestKey, longName.c_str()));
  profile.ReadSystemString(kTestKey, "Modem 5KB/s", name, sizeof name);
  EXPECT_EQ(std::string(name), longName.substr(0, 49));

  WriteProfileStringA(kProfileSection, kTestKey, nullptr);
  profile.ReadSystemString(kTestKey, longName.c_str(), name, sizeof name);
  EXPECT_EQ(std::string(name), longName.substr(0, 49)) << "a long default is cut too";

  char untouched[4] = {'a', 'b', 'c', 'd'};
  profile.ReadSystemString(kTestKey, "x", untouched, 0);
  EXPECT_EQ(untouched[0], 'a');
  EXPECT_FALSE(TempFolder::Exists(temp / "Quintrel.ini")) << "names are never written";
}

}  // namespace
