// The profile's integer text: plain decimal with blanks around it, clamped to 32 bits, else refused.
#include "settings/profile_number.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(ProfileNumber, ReadsDecimalTextAndClampsItToTheInt32Range) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"200", 200},
      {" \t-17 ", -17},
      {"+5", 5},
      {"2147483647", INT32_MAX},
      {"2147483648", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"-99999999999999999999999", INT32_MIN},
      {"0007", 7},
  };
  for (const auto& c : cases) {
    int32_t value = 0;
    EXPECT_TRUE(ParseProfileInt(c.text, value)) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(ProfileNumber, RefusesAnythingElseAndLeavesTheValueAlone) {
  for (const char* text : {"", " ", "-", "+", "0x10", "12abc", "1 2", "\n5", "--1", "1e3"}) {
    int32_t value = 42;
    EXPECT_FALSE(ParseProfileInt(text, value)) << '"' << text << '"';
    EXPECT_EQ(value, 42) << '"' << text << '"';
  }
}

}  // namespace
