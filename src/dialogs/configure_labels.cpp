// Slider arithmetic and label texts of the Configure dialog, in integer decimal arithmetic so that
// halves round up exactly and every C library writes the same exponent.
#include "dialogs/configure_labels.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// A positive value written as mantissa digits 10..99 times 10^(exponent - 1): 0.23 is {23, -1}.
struct TwoDigitDecimal {
  int32_t mantissa;
  int32_t exponent;  // decimal exponent of the leading digit
};

// periodMs > 0; the value is periodMs / 1000 seconds, rounded half up to two significant digits.
TwoDigitDecimal SecondsToTwoDigits(int32_t periodMs) {
  uint32_t value = uint32_t(periodMs);
  int32_t digits = 1;
  uint32_t power = 1;  // 10^(digits - 1)
  while (value / power >= 10) {
    power *= 10;
    ++digits;
  }
  int32_t mantissa;
  if (digits == 1) {
    mantissa = int32_t(value * 10);
  } else {
    const uint32_t divisor = power / 10;
    mantissa = int32_t((value + divisor / 2) / divisor);
  }
  if (mantissa == 100) {
    mantissa = 10;
    ++digits;
  }
  return {mantissa, digits - 1 - 3};
}

void FormatSeconds(int32_t periodMs, char* out, size_t size) {
  if (periodMs <= 0) {
    snprintf(out, size, "0");
    return;
  }
  const TwoDigitDecimal d = SecondsToTwoDigits(periodMs);
  const int32_t lead = d.mantissa / 10, second = d.mantissa % 10;
  if (d.exponent == -1) {
    if (second == 0)
      snprintf(out, size, "0.%d", int(lead));
    else
      snprintf(out, size, "0.%d%d", int(lead), int(second));
    return;
  }
  if (d.exponent == 1) {
    snprintf(out, size, "%d", int(d.mantissa));  // 10 to 99 seconds
    return;
  }
  // d.d, or d.de-XXX: a trailing zero is dropped, the point is kept.
  char mantissaText[16];
  if (second == 0)
    snprintf(mantissaText, sizeof mantissaText, "%d.", int(lead));
  else
    snprintf(mantissaText, sizeof mantissaText, "%d.%d", int(lead), int(second));
  if (d.exponent == 0)
    snprintf(out, size, "%s", mantissaText);
  else
    snprintf(out, size, "%se%c%03d", mantissaText, d.exponent < 0 ? '-' : '+',
             int(d.exponent < 0 ? -d.exponent : d.exponent));
}

}  // namespace

int32_t RefreshPeriodFromPosition(int32_t position) {
  return position * position;
}

int32_t RefreshPositionFromPeriod(int32_t periodMs) {
  if (periodMs <= 0) return 0;
  int64_t root = int64_t(std::sqrt(double(periodMs)));
  while (root * root > periodMs) --root;
  while ((root + 1) * (root + 1) <= periodMs) ++root;
  return int32_t(root);
}

void FormatRefreshLabel(int32_t periodMs, char* out, size_t size) {
  char seconds[24];
  FormatSeconds(periodMs, seconds, sizeof seconds);
  snprintf(out, size, "%s %s", seconds, " s");
}

void FormatGraphScaleLabel(int32_t def, char* out, size_t size) {
  char number[16];
  snprintf(number, sizeof number, "%d", int(def));
  snprintf(out, size, "%s %s", number, " KB/s.");
}

void FormatTrayScaleLabel(int32_t trayScale, char* out, size_t size) {
  snprintf(out, size, "%d %s", int(trayScale), "KB/s");
}

void FormatInterfaceEntry(const char* description, bool missing, char* out, size_t size) {
  if (out == nullptr || size == 0) return;
  if (description == nullptr) description = "";
  if (!missing)
    snprintf(out, size, "%s", description);
  else if (description[0] == '\0')
    snprintf(out, size, "Missing interface");
  else
    snprintf(out, size, "Missing: %s", description);
}

const char* InterfaceNameBeside(const char* description, const char* alias) {
  if (alias == nullptr || description == nullptr || strcmp(alias, description) == 0) return "";
  return alias;
}
