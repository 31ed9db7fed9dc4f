// Digits-only test and number reading for the preset editor's edits.
#include "dialogs/preset_text.h"

namespace {

constexpr int kNumberCharacters = 9;

bool IsBlank(unsigned char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

bool IsAllDigits(const char* text) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p)
    if (!IsDigit(*p)) return false;
  return true;
}

int32_t ReadEditNumber(const char* text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  int i = 0;
  while (i < kNumberCharacters && IsBlank(p[i])) ++i;
  bool negative = false;
  if (i < kNumberCharacters && (p[i] == '+' || p[i] == '-')) negative = p[i++] == '-';
  int32_t value = 0;
  for (; i < kNumberCharacters && IsDigit(p[i]); ++i) value = value * 10 + (p[i] - '0');
  return negative ? -value : value;
}
