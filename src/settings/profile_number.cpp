// Parsing the decimal text of a profile integer.
#include "settings/profile_number.h"

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

bool ParseProfileInt(const char* text, int32_t& value) {
  const char* p = text;
  while (IsBlank(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (*p < '0' || *p > '9') return false;
  const int64_t limit = negative ? -int64_t(INT32_MIN) : int64_t(INT32_MAX);
  int64_t magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > limit) magnitude = limit;
  }
  while (IsBlank(*p)) ++p;
  if (*p != '\0') return false;
  value = int32_t(negative ? -magnitude : magnitude);
  return true;
}
