// The Configure dialog's refresh period label and slider arithmetic, and its two scale labels.
#include "dialogs/configure_labels.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string RefreshLabel(int32_t periodMs) {
  char text[32];
  FormatRefreshLabel(periodMs, text, sizeof text);
  return text;
}

TEST(RefreshLabel, SliderPositionsShowTheirPeriodInSeconds) {
  const struct {
    int32_t position;
    const char* label;
  } cases[] = {{1, "1.e-003  s"}, {9, "8.1e-002  s"}, {10, "0.1  s"}, {14, "0.2  s"}, {15, "0.23  s"},
               {25, "0.63  s"},   {32, "1.  s"},      {33, "1.1  s"}, {99, "9.8  s"}, {100, "10  s"}};
  for (const auto& c : cases)
    EXPECT_EQ(RefreshLabel(RefreshPeriodFromPosition(c.position)), c.label) << "position " << c.position;
}

TEST(RefreshLabel, RoundingCarriesIntoTheNextDecadeAndLongPeriodsStayReadable) {
  EXPECT_EQ(RefreshLabel(200), "0.2  s");
  EXPECT_EQ(RefreshLabel(995), "1.  s");
  EXPECT_EQ(RefreshLabel(994), "0.99  s");
  EXPECT_EQ(RefreshLabel(9950), "10  s");
  EXPECT_EQ(RefreshLabel(99), "9.9e-002  s");
  EXPECT_EQ(RefreshLabel(50000), "50  s");
  EXPECT_EQ(RefreshLabel(150000), "1.5e+002  s");
  EXPECT_EQ(RefreshLabel(INT32_MAX), "2.1e+006  s");
  EXPECT_EQ(RefreshLabel(0), "0  s");
  EXPECT_EQ(RefreshLabel(-40), "0  s");
}

// Splits "d.de-XXX", "0.dd" or "dd" into two significant digits m and the exponent E of the
// leading digit, so that the value shown is m * 10^(E - 1) seconds.
bool ParseShownSeconds(const std::string& label, int& mantissa, int& exponent) {
  const std::string suffix = "  s";
  if (label.size() <= suffix.size() || label.compare(label.size() - 3, 3, suffix) != 0) return false;
  const std::string number = label.substr(0, label.size() - 3);
  std::string digits;
  int pointAt = -1, exponentPart = 0;
  for (size_t i = 0; i < number.size(); ++i) {
    const char c = number[i];
    if (isdigit(static_cast<unsigned char>(c))) {
      digits += c;
    } else if (c == '.') {
      pointAt = int(digits.size());
    } else if (c == 'e') {
      if (number.size() - i != 5 || (number[i + 1] != '-' && number[i + 1] != '+')) return false;
      exponentPart = atoi(number.c_str() + i + 1);
      break;
    } else {
      return false;
    }
  }
  if (pointAt < 0) pointAt = int(digits.size());
  if (digits.size() > 1 && digits.back() == '0' && pointAt < int(digits.size())) return false;
  size_t lead = 0;
  while (lead < digits.size() && digits[lead] == '0') ++lead;
  if (lead == digits.size()) return false;
  const std::string significant = digits.substr(lead);
  if (significant.size() > 2) return false;
  mantissa = (significant[0] - '0') * 10 + (significant.size() == 2 ? significant[1] - '0' : 0);
  exponent = pointAt - int(lead) - 1 + exponentPart;
  return true;
}

TEST(RefreshLabel, EveryPositionShowsTwoSignificantDigitsRoundedHalfUp) {
  for (int32_t position = 1; position <= 100; ++position) {
    const int32_t periodMs = RefreshPeriodFromPosition(position);
    const std::string label = RefreshLabel(periodMs);
    int m = 0, e = 0;
    ASSERT_TRUE(ParseShownSeconds(label, m, e)) << label;
    ASSERT_GE(m, 10) << label;
    ASSERT_LE(m, 99) << label;
    // In thousandths of a millisecond: shown = m * 10^(e + 5), a step of 10^(e + 5).
    int64_t step = 1;
    for (int i = 0; i < e + 5; ++i) step *= 10;
    const int64_t exact = int64_t(periodMs) * 1000, shown = m * step;
    EXPECT_LE(shown - exact, step / 2) << label << " for " << periodMs << " ms";
    EXPECT_GT(shown - exact, -step / 2) << label << " for " << periodMs << " ms";  // a half goes up
    const bool exponential = label.find('e') != std::string::npos;
    EXPECT_EQ(exponential, periodMs < 100) << label;
    if (!exponential && periodMs < 9950) {
      EXPECT_NE(label.find('.'), std::string::npos) << label;
    }
  }
}

TEST(RefreshSlider, PositionIsTheTruncatedRootOfThePeriod) {
  EXPECT_EQ(RefreshPositionFromPeriod(200), 14);
  EXPECT_EQ(RefreshPositionFromPeriod(196), 14);
  EXPECT_EQ(RefreshPositionFromPeriod(195), 13);
  EXPECT_EQ(RefreshPositionFromPeriod(1), 1);
  EXPECT_EQ(RefreshPositionFromPeriod(10000), 100);
  EXPECT_EQ(RefreshPositionFromPeriod(0), 0);
  EXPECT_EQ(RefreshPositionFromPeriod(-1), 0);
  EXPECT_EQ(RefreshPositionFromPeriod(INT32_MAX), 46340);
  for (int32_t p = 1; p <= 100; ++p) EXPECT_EQ(RefreshPositionFromPeriod(RefreshPeriodFromPosition(p)), p);
}

TEST(ScaleLabels, GraphScaleHasTwoBlanksAndAFullStopTrayScaleOneBlank) {
  char text[32];
  FormatGraphScaleLabel(4, text, sizeof text);
  EXPECT_STREQ(text, "4  KB/s.");
  FormatGraphScaleLabel(-2500, text, sizeof text);
  EXPECT_STREQ(text, "-2500  KB/s.");
  FormatTrayScaleLabel(16, text, sizeof text);
  EXPECT_STREQ(text, "16 KB/s");
  FormatTrayScaleLabel(256, text, sizeof text);
  EXPECT_STREQ(text, "256 KB/s");
}

}  // namespace

namespace {

TEST(InterfaceEntry, TheMissingChoiceIsNamedAndANameThatRepeatsTheDescriptionIsLeftOut) {
  const struct {
    const char* description;
    const char* alias;
    bool missing;
    const char* text;
    const char* beside;
  } cases[] = {
      {"Intel(R) Wi-Fi 6 AX201 160MHz", "Wi-Fi", false, "Intel(R) Wi-Fi 6 AX201 160MHz", "Wi-Fi"},
      {"eth0", "eth0", false, "eth0", ""},
      {"All links", "", false, "All links", ""},
      {"Wireless Adapter", "Wi-Fi", true, "Missing: Wireless Adapter", "Wi-Fi"},
      {"", "", true, "Missing interface", ""},
  };
  for (const auto& c : cases) {
    char text[64];
    FormatInterfaceEntry(c.description, c.missing, text, sizeof text);
    EXPECT_STREQ(text, c.text);
    EXPECT_STREQ(InterfaceNameBeside(c.description, c.alias), c.beside) << c.description;
  }
}

}  // namespace
