// The preset editor's digits-only test and its atoi-like reading of at most nine characters.
#include "dialogs/preset_text.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/speed_preset.h"

namespace {

TEST(IsAllDigits, AcceptsOnlyAsciiDigitsAndTheEmptyText) {
  EXPECT_TRUE(IsAllDigits(""));
  EXPECT_TRUE(IsAllDigits("0"));
  EXPECT_TRUE(IsAllDigits("123456789012"));
  for (const char* bad : {"12a", "a", " 4", "4 ", "-1", "+1", "1.5", "1,5", "\t1"})
    EXPECT_FALSE(IsAllDigits(bad)) << bad;
  // Bytes above 0x7F must not pass as digits whatever the signedness of char.
  const char high[] = {'1', char(0xB2), 0};
  const char allOnes[] = {char(0xFF), 0};
  EXPECT_FALSE(IsAllDigits(high));
  EXPECT_FALSE(IsAllDigits(allOnes));
}

TEST(ReadEditNumber, ReadsLikeAtoiOverTheFirstNineCharacters) {
  EXPECT_EQ(ReadEditNumber("42"), 42);
  EXPECT_EQ(ReadEditNumber(""), 0);
  EXPECT_EQ(ReadEditNumber("abc"), 0);
  EXPECT_EQ(ReadEditNumber("12x7"), 12);
  EXPECT_EQ(ReadEditNumber("  \t+17"), 17);
  EXPECT_EQ(ReadEditNumber("-5"), -5);
  EXPECT_EQ(ReadEditNumber("- 5"), 0);
  EXPECT_EQ(ReadEditNumber("123456789012"), 123456789);
  EXPECT_EQ(ReadEditNumber("-123456789"), -12345678);
  EXPECT_EQ(ReadEditNumber("     12345"), 1234);  // the blanks count towards the nine
  EXPECT_EQ(ReadEditNumber("999999999"), 999999999);
}

TEST(PresetName, KeepsAtMostFortyNineCharacters) {
  SpeedPreset preset = kDefaultPresets[0];
  const std::string sixty(60, 'n');
  SetPresetName(preset, sixty.c_str());
  EXPECT_EQ(std::string(preset.name), std::string(49, 'n'));
  SetPresetName(preset, "DSL");
  EXPECT_STREQ(preset.name, "DSL");
}

}  // namespace
