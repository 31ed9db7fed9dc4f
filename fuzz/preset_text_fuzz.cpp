// Feeds arbitrary edit texts to the preset editor's digit test and number reader.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dialogs/preset_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const char* s = text.c_str();  // up to the first zero, as an edit control's text
  const int32_t number = ReadEditNumber(s);
  if (number > 999999999 || number < -999999999) abort();
  if (IsAllDigits(s)) {
    for (const char* p = s; *p != '\0'; ++p)
      if (*p < '0' || *p > '9') abort();
    // Digits only: the number is that of the first nine of them.
    const std::string first(s, strnlen(s, 9));
    if (number != (first.empty() ? 0 : int32_t(strtol(first.c_str(), nullptr, 10)))) abort();
  }
  return 0;
}
